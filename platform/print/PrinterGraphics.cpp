#include "PrinterGraphics.h"

#include "OutOfBoundsException.h"
#include "PdfFileOutput.h"
#include "PrintFailureReport.h"
#include "PrintJobException.h"
#include "QtText.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>
#include <optional>
#include <string>

namespace platform {

struct PrinterGraphics::Job {
    std::unique_ptr<QPrinter> printer;
    // Set when the page goes to a file: the document is made there and written at the end.
    std::unique_ptr<PdfFileOutput> file;
    // Declared after what it paints on so that it is destroyed, and the job ended, before them.
    QPainter painter;
    float textSize = DefaultTextSize;
    bool bold = false;

    QPaintDevice* device() const
    {
        if (file)
            return &file->device();
        return printer.get();
    }

    // A page asks for the same metrics hundreds of times between two font changes.
    const QFontMetricsF& metrics()
    {
        if (!cachedMetrics)
            cachedMetrics.emplace(painter.font(), device());
        return *cachedMetrics;
    }

    // The ascent of the current font, rounded to the nearest point; asked for every problem.
    std::int32_t ascent()
    {
        if (!cachedAscent)
            cachedAscent = qRound(metrics().ascent());
        return *cachedAscent;
    }

    void setFont(const QFont& font)
    {
        painter.setFont(font);
        cachedMetrics.reset();
        cachedAscent.reset();
    }

    void applyFont()
    {
        QFont font = painter.font();
        font.setPointSizeF(textSize == 0.0f ? DefaultTextSize : textSize);
        font.setBold(bold);
        setFont(font);
    }

    // Ends the job: the file gets the whole document or keeps what it had.
    void finish();

private:
    std::optional<QFontMetricsF> cachedMetrics;
    std::optional<std::int32_t> cachedAscent;
};

namespace {

bool printsToFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

PrintJobException printerFailure(const QPrinter& printer, const char* reason)
{
    return PrintJobException(PrintJobException::Target::Printer, printer.printerName().toStdString(), reason);
}

QFont initialFont()
{
    // Printed text keeps the font's own widths; hinting would bend them to a pixel grid that
    // paper does not have.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(PrinterGraphics::DefaultTextSize);
    font.setBold(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPen initialPen()
{
    QPen pen(Qt::black);
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

}

Ref<PrinterGraphics> PrinterGraphics::begin(std::unique_ptr<QPrinter> printer)
{
    if (!printer)
        throw PrintJobException("cannot start a print job: no printer was given");
    const bool toFile = printsToFile(*printer);
    if (toFile && printer->outputFileName().isEmpty())
        throw PrintJobException("cannot start a print job to a file: no file name was given");
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw PrintJobException(toFile ? PrintJobException::Target::File : PrintJobException::Target::Printer,
                                (toFile ? QFileInfo(printer->outputFileName()).absoluteFilePath()
                                        : printer->printerName()).toStdString(),
                                "the application's graphical interface is not running");
    if (!toFile && !printer->isValid())
        throw printerFailure(*printer, "the printer is not available");

    printer->setResolution(72);
    printer->setFullPage(false);

    auto job = std::make_unique<Job>();
    job->printer = std::move(printer);
    if (toFile)
        job->file = std::make_unique<PdfFileOutput>(job->printer->outputFileName(), *job->printer);
    if (!job->painter.begin(job->device()))
        throw printerFailure(*job->printer, "the printer refused the job");
    job->painter.setPen(initialPen());
    job->setFont(initialFont());
    return Ref<PrinterGraphics>(new PrinterGraphics(std::move(job)));
}

void PrinterGraphics::Job::finish()
{
    if (!painter.isActive())
        return;
    const bool ended = painter.end();
    if (file) {
        if (!ended)
            file->fail("the document could not be completed");
        file->commit();
    } else if (!ended) {
        throw printerFailure(*printer, "the printer did not take the whole job");
    }
}

PrinterGraphics::PrinterGraphics(std::unique_ptr<Job> job)
    : Graphics(Graphics::Lookup())
    , m_job(std::move(job))
{
}

// Releasing the page is the end of the job, and nothing can be thrown from here: a job that
// cannot be finished is told to the user by the print layer.
PrinterGraphics::~PrinterGraphics()
{
    try {
        m_job->finish();
    } catch (const PrintJobException& failure) {
        reportPrintFailure(failure);
    }
}

float PrinterGraphics::TextSize() const
{
    return m_job->textSize;
}

void PrinterGraphics::SetTextSize(float size)
{
    checkTextSize(size, "Graphics.TextSize");
    m_job->textSize = size;
    m_job->applyFont();
}

bool PrinterGraphics::Bold() const
{
    return m_job->bold;
}

void PrinterGraphics::SetBold(bool bold)
{
    m_job->bold = bold;
    m_job->applyFont();
}

std::int32_t PrinterGraphics::TextAscent()
{
    return m_job->ascent();
}

double PrinterGraphics::StringWidth(const String& text)
{
    return m_job->metrics().horizontalAdvance(toQString(text));
}

std::int32_t PrinterGraphics::Width()
{
    return m_job->device()->width();
}

std::int32_t PrinterGraphics::Height()
{
    return m_job->device()->height();
}

void PrinterGraphics::DrawString(const String& text, std::int32_t x, std::int32_t y, std::int32_t wrapWidth, bool condense)
{
    if (wrapWidth < 0)
        throw OutOfBoundsException("Graphics.DrawString: the wrap width " + std::to_string(wrapWidth)
                                   + " is negative; give 0 for one line or a width in points");
    const QString s = toQString(text);
    if (s.isEmpty())
        return;
    QPainter& painter = m_job->painter;
    const QPointF baseline(x, y);

    if (wrapWidth == 0) {
        painter.drawText(baseline, s);
        return;
    }
    if (condense) {
        const qreal width = m_job->metrics().horizontalAdvance(s);
        if (width <= wrapWidth) {
            painter.drawText(baseline, s);
            return;
        }
        painter.save();
        painter.translate(baseline);
        painter.scale(wrapWidth / width, 1.0);
        painter.drawText(QPointF(0, 0), s);
        painter.restore();
        return;
    }

    QTextLayout layout(s, painter.font(), m_job->device());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal lineSpacing = m_job->metrics().lineSpacing();
    layout.beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wrapWidth);
        line.setPosition(QPointF(0, i * lineSpacing));
    }
    layout.endLayout();
    if (layout.lineCount() > 0)
        layout.draw(&painter, baseline - QPointF(0, layout.lineAt(0).ascent()));
}

void PrinterGraphics::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    m_job->painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PrinterGraphics::NextPage()
{
    const bool started = m_job->file ? m_job->file->device().newPage() : m_job->printer->newPage();
    if (!started)
        throw PrintJobException("cannot start a new page");
}

}
