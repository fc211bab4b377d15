// Paints the practice sheet for "Multiplying" 7 with bare QPainter calls on a QPrinter into the
// PDF file named by the first argument, as many times as the second says (default 1): the title
// and 100 problems, 201 strings and 100 lines, on the page and in the units that the framework's
// printed page uses. It starts the same kind of application as the program does.
#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>

static int paintPage(const char* path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(path));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Point));
    printer.setResolution(72);

    QPainter painter;
    if (!painter.begin(&printer)) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    QPen pen(Qt::black);
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    QFont font(QStringLiteral("Arial"));
    font.setHintingPreference(QFont::PreferNoHinting);

    const int width = printer.width();
    const int height = printer.height();
    const QString practice = QStringLiteral("7");
    const QString signAndSpace = QString::fromUtf8("\xC3\x97 ");

    font.setPointSizeF(20);
    font.setBold(true);
    painter.setFont(font);
    QFontMetricsF metrics(painter.font(), &printer);
    const int titleAscent = qRound(metrics.ascent());
    const QString title = QStringLiteral("Multiplying ") + practice;
    painter.drawText(QPointF(static_cast<int>(width / 2.0 - metrics.horizontalAdvance(title) / 2.0), titleAscent), title);

    font.setPointSizeF(12);
    font.setBold(false);
    painter.setFont(font);
    metrics = QFontMetricsF(painter.font(), &printer);
    const int bodyAscent = qRound(metrics.ascent());
    const int rowUnit = static_cast<int>(height / 40.0);
    const int columnWidth = static_cast<int>(width / 10.0);
    const QString secondLine = signAndSpace + practice;

    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            const int left = columnWidth * c;
            const int top = 4 * rowUnit * r + 2 * titleAscent;
            const int operandX = static_cast<int>(left + metrics.horizontalAdvance(signAndSpace) + 5.0);
            painter.drawText(QPointF(operandX, top + bodyAscent), QString::number(c));
            painter.drawText(QPointF(left + 5, top + 2 * bodyAscent + 2), secondLine);
            const int ruleY = top + 2 * bodyAscent + 5;
            painter.drawLine(QPointF(left, ruleY), QPointF(static_cast<int>(left + columnWidth - width / 40.0), ruleY));
        }
    }
    return painter.end() ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf [PAGES]\n", argv[0]);
        return 2;
    }
    const int pages = argc > 2 ? std::atoi(argv[2]) : 1;
    if (pages < 0) {
        std::fprintf(stderr, "PAGES must be 0 or more\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    for (int i = 0; i < pages; ++i) {
        if (paintPage(argv[1]) != 0)
            return 1;
    }
    return 0;
}
