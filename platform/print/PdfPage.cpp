#include "PdfPage.h"

#include "PrintJobException.h"
#include "PrinterGraphics.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace platform {

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
