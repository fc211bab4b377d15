#pragma once

#include <QBuffer>
#include <QString>

#include <memory>

class QFileDevice;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace platform {

// A PDF document on its way to a file. The document is made in memory and reaches the file only
// once it is complete, through a temporary file beside it that then takes the file's place, so a
// print that cannot be written to the end (a full disk, a file-size limit) leaves an earlier file
// as it was. A target that is not a plain file (a device, a pipe) is written in place.
class PdfFileOutput {
public:
    // Opens the way to the file, with the page settings of printer; throws PrintJobException,
    // with the system's reason, when the file cannot be written.
    PdfFileOutput(const QString& path, const QPrinter& printer);
    // A document never committed leaves no temporary file behind.
    ~PdfFileOutput();
    PdfFileOutput(const PdfFileOutput&) = delete;
    PdfFileOutput& operator=(const PdfFileOutput&) = delete;

    QPagedPaintDevice& device();
    // Writes the finished document (its painter ended) and puts it in the file's place; throws
    // PrintJobException, with the system's reason, when it cannot, and then changes nothing.
    void commit();
    // Throws PrintJobException naming the file, as every failure of this output does.
    [[noreturn]] void fail(const std::string& reason) const;

private:

    QString m_path;
    QBuffer m_document;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QFileDevice> m_file;
};

}
