#include "PdfFileOutput.h"

#include "PrintJobException.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

std::string systemError(int error)
{
    return std::strerror(error);
}

// Qt calls a short final write "Unknown error", and the C library's errno is gone by then; what
// the file system says about room and limits is the reason the user can act on.
std::string whyNotWritten(const QString& path, qint64 bytes, const QFileDevice& file)
{
    struct statvfs fs {};
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (statvfs(folder.constData(), &fs) == 0 && static_cast<qint64>(fs.f_bavail * fs.f_frsize) < bytes)
        return systemError(ENOSPC);
    struct rlimit limit {};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && static_cast<qint64>(limit.rlim_cur) < bytes)
        return systemError(EFBIG);
    return file.errorString().toStdString();
}

// Every byte or the system's reason for the first that could not be written. Writes straight to
// the descriptor, so that errno is still the failing call's when it is read.
std::string writeAll(int fd, const QByteArray& data)
{
    const char* at = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return systemError(errno);
        }
        if (written == 0)
            return systemError(EIO);
        at += written;
        left -= written;
    }
    return {};
}

bool isPlainFileOrAbsent(const QFileInfo& info)
{
    return !info.exists() || info.isFile();
}

}

PdfFileOutput::PdfFileOutput(const QString& path, const QPrinter& printer)
    : m_path(path)
{
    const QFileInfo info(path);
    if (info.isDir())
        fail("it is a folder");
    if (isPlainFileOrAbsent(info))
        m_file = std::make_unique<QSaveFile>(path);
    else
        m_file = std::make_unique<QFile>(path);
    errno = 0;
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        fail(error != 0 ? systemError(error) : m_file->errorString().toStdString());
    }

    m_document.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_document);
    m_writer->setResolution(printer.resolution());
    m_writer->setPageLayout(printer.pageLayout());
    m_writer->setTitle(printer.docName());
    m_writer->setCreator(printer.creator());
    m_writer->setPdfVersion(printer.pdfVersion());
}

PdfFileOutput::~PdfFileOutput() = default;

QPagedPaintDevice& PdfFileOutput::device()
{
    return *m_writer;
}

void PdfFileOutput::commit()
{
    m_writer.reset();
    const QByteArray& bytes = m_document.data();
    const std::string failed = writeAll(m_file->handle(), bytes);
    if (!failed.empty())
        fail(failed);
    if (auto* save = dynamic_cast<QSaveFile*>(m_file.get())) {
        errno = 0;
        if (!save->commit()) {
            const int error = errno;
            fail(error != 0 ? systemError(error) : whyNotWritten(m_path, bytes.size(), *save));
        }
        return;
    }
    m_file->close();
    if (m_file->error() != QFileDevice::NoError)
        fail(whyNotWritten(m_path, bytes.size(), *m_file));
}

void PdfFileOutput::fail(const std::string& reason) const
{
    throw PrintJobException(PrintJobException::Target::File, QFileInfo(m_path).absoluteFilePath().toStdString(), reason);
}

}
