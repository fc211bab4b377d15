// Paints the practice sheet for "Multiplying" 7 with bare QPainter calls on a QPrinter into the
// PDF file named by the first argument: the title and 100 problems, 201 strings and 100 lines,
// on the page and in the units that the framework's printed page uses.
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(argv[1]));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Point));
    printer.setResolution(72);

    QPainter painter;
    if (!painter.begin(&printer)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
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
