#include "PrintLibrary.h"

#include "EventLoop.h"
#include "PrinterGraphics.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform::printlibrary {

namespace {

// Left to itself the dialog offers a folder as the file to print to on some platforms; a file in
// the first writable of these places is a better start.
QString defaultOutputFile()
{
    for (const QString& folder : { QDir::homePath(), QDir::currentPath(), QDir::tempPath() }) {
        const QFileInfo info(folder);
        if (info.isDir() && info.isWritable())
            return QDir(folder).absoluteFilePath(QStringLiteral("sumwise.pdf"));
    }
    return QDir(QDir::tempPath()).absoluteFilePath(QStringLiteral("sumwise.pdf"));
}

}

Ref<Graphics> sumwisePrintDialog()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QStringLiteral("sumwise"));
    printer->setOutputFileName(defaultOutputFile());
    // A file name ending in .pdf selects printing to the file; a real printer, when there is one,
    // should stay the dialog's first offer.
    if (!QPrinterInfo::defaultPrinter().isNull())
        printer->setOutputFormat(QPrinter::NativeFormat);

    // The page belongs to whatever window is in front; the dialog goes with it if it closes.
    QPointer<QPrintDialog> dialog = new QPrintDialog(printer.get(), QApplication::activeWindow());
    dialog->setMinMax(1, 1);
    const int result = dialog->exec();
    delete dialog.data();
    // A handler that failed while the dialog was open has stopped the program: its exception
    // goes on from here, and no job is started.
    EventLoop::rethrowPendingException();
    if (result != QDialog::Accepted)
        return nullptr;
    return PrinterGraphics::begin(std::move(printer));
}

}
