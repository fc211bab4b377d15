#include "PrintDialog.h"

#include "EventLoop.h"
#include "PrintFailureReport.h"
#include "PrintJobException.h"
#include "PrinterGraphics.h"
#include "UnsupportedOperationException.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

namespace {

PrintDialogHook& dialogHook()
{
    static PrintDialogHook hook;
    return hook;
}

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

Ref<Graphics> showPrintDialog(const Ref<Object>& printerSetup)
{
    if (printerSetup)
        throw UnsupportedOperationException("OpenPrinterDialog: printer settings objects are not supported; pass nil to use the printer's own");
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw PrintJobException("OpenPrinterDialog: the print dialog needs the application's windows to be running");

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

Ref<Graphics> OpenPrinterDialog(const Ref<Object>& printerSetup, const Ref<Object>& parentWindow)
{
    // A job that cannot start is the print layer's to tell; for the program it ends the press as
    // a cancelled dialog would.
    try {
        // A copy, so that a hook may replace itself while it runs.
        if (const PrintDialogHook hook = dialogHook())
            return hook(printerSetup, parentWindow);
        return showPrintDialog(printerSetup);
    } catch (const PrintJobException& failure) {
        reportPrintFailure(failure);
        return nullptr;
    }
}

void setPrintDialogHook(PrintDialogHook hook)
{
    dialogHook() = std::move(hook);
}

// A4 portrait with margins of 10 points on every side: the page that the dialog's "print to file"
// gives where A4 is the local paper, so a page drawn here has the 575 x 822 points of one printed
// there, whatever the locale of the machine that runs the tests.
Ref<Graphics> OpenPdfPage(const std::string& path)
{
    if (path.empty())
        throw PrintJobException("cannot print to a PDF file: no file name was given");
    if (path.find('\0') != std::string::npos)
        throw PrintJobException("cannot print to the PDF file \"" + path.substr(0, path.find('\0'))
                                + "...\": the file name contains a zero byte");

    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size()))));
    printer->setDocName(QStringLiteral("sumwise"));
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                       QPageLayout::Point));
    return PrinterGraphics::begin(std::move(printer));
}

}
