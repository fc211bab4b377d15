#include "OutOfBoundsException.h"
#include "PrintDialog.h"
#include "PrintJobException.h"
#include "UnsupportedOperationException.h"
#include "ExternalTool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <string>
#include <vector>

using namespace platform;
using testsupport::runTool;

namespace {

struct TextLine {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The lines of text on the first page as the PDF reader finds them, in page points.
std::vector<TextLine> textLines(const QString& pdf)
{
    const QString xml = QString::fromStdString(runTool("pdftotext", { "-bbox-layout", "-f", "1", "-l", "1", pdf, "-" }));
    static const QRegularExpression lineRe(R"re(<line xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</line>)re",
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression wordRe(R"(<word [^>]*>([^<]*)</word>)");
    std::vector<TextLine> lines;
    for (auto m = lineRe.globalMatch(xml); m.hasNext();) {
        const auto line = m.next();
        QStringList words;
        for (auto w = wordRe.globalMatch(line.captured(5)); w.hasNext();)
            words << w.next().captured(1);
        lines.push_back({ line.captured(1).toDouble(), line.captured(2).toDouble(), line.captured(3).toDouble(),
                          line.captured(4).toDouble(), words.join(' ').toStdString() });
    }
    return lines;
}

const TextLine* findLine(const std::vector<TextLine>& lines, const std::string& text)
{
    for (const TextLine& line : lines)
        if (line.text == text)
            return &line;
    return nullptr;
}

// The first page rendered at 72 dots to the inch without smoothing: one pixel per point.
struct Raster {
    int width = 0, height = 0;
    QByteArray pixels;
    bool dark(int x, int y) const { return static_cast<unsigned char>(pixels[y * width + x]) < 128; }
};

Raster render(const QString& pdf, const QString& prefix)
{
    runTool("pdftoppm", { "-r", "72", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile", "-f", "1", "-l", "1", pdf, prefix });
    QFile file(prefix + ".pgm");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    static const QRegularExpression header(R"(^P5\s+(\d+)\s+(\d+)\s+255\s)");
    const auto m = header.match(QString::fromLatin1(data.left(64)));
    if (!m.hasMatch())
        return {};
    Raster r { m.captured(1).toInt(), m.captured(2).toInt(), {} };
    r.pixels = data.mid(m.capturedLength(0));
    return r;
}

class PdfPage : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    static std::string str(const QString& s) { return s.toStdString(); }

    QTemporaryDir m_dir;
    const long m_liveAtStart = Object::liveInstances();
};

// Guards: the minus, times and divide signs printed as missing glyphs or as other characters,
// and a page whose font is not embedded or is not the Arial-compatible Liberation Sans.
TEST_F(PdfPage, SignsComeOutAsThemselvesInAnEmbeddedLiberationSans)
{
    const QString pdf = path("signs.pdf");
    {
        Ref<Graphics> page = OpenPdfPage(str(pdf));
        page->SetTextSize(20);
        page->SetBold(true);
        page->DrawString("Multiplying 7", 100, 40, 0, false);
        page->SetTextSize(12);
        page->SetBold(false);
        const char* lines[] = { "+ 7", "\xE2\x88\x92 7", "\xC3\x97 7", "\xC3\xB7 7" };
        for (int i = 0; i < 4; ++i) {
            page->DrawString(lines[i], 100, 100 + 40 * i, 0, false);
            page->DrawLine(100, 103 + 40 * i, 150, 103 + 40 * i);
        }
    }
    EXPECT_EQ(Object::liveInstances(), m_liveAtStart);

    // In reading order: the default layout mode of pdftotext drops the space after "×" and "÷".
    const std::string text = runTool("pdftotext", { "-raw", pdf, "-" });
    for (const char* expected : { "Multiplying 7", "+ 7", "\xE2\x88\x92 7", "\xC3\x97 7", "\xC3\xB7 7" })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing from:\n" << text;

    const QStringList fonts = QString::fromStdString(runTool("pdffonts", { pdf })).split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_EQ(fonts.size(), 2) << "one regular and one bold font";
    for (const QString& row : fonts) {
        EXPECT_TRUE(row.contains("LiberationSans") || row.contains("Arial")) << str(row);
        EXPECT_EQ(row.split(' ', Qt::SkipEmptyParts).value(4), "yes") << "not embedded: " << str(row);
    }
}

// Guards: device pixels taken for points, (0, 0) at the paper's corner instead of the printable
// area's, and the y of DrawString taken as the top of the text instead of its baseline.
TEST_F(PdfPage, DrawsInPointsFromTheTopLeftOfThePrintableArea)
{
    const QString pdf = path("units.pdf");
    std::int32_t ascent12 = 0, ascent20Bold = 0;
    {
        Ref<Graphics> page = OpenPdfPage(str(pdf));
        EXPECT_EQ(page->Width(), 595 - 20);
        EXPECT_EQ(page->Height(), 842 - 20);
        EXPECT_EQ(page->TextSize(), 12.0f);
        EXPECT_FALSE(page->Bold());
        ascent12 = page->TextAscent();
        page->DrawString("Baseline", 100, 200, 0, false);
        page->DrawLine(0, 400, 200, 400);
        page->SetTextSize(20);
        page->SetBold(true);
        ascent20Bold = page->TextAscent();
    }
    EXPECT_GE(ascent12, 9);
    EXPECT_LE(ascent12, 12);
    EXPECT_GE(ascent20Bold, 15);
    EXPECT_LE(ascent20Bold, 20);

    const auto lines = textLines(pdf);
    const TextLine* line = findLine(lines, "Baseline");
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->xMin, 110, 0.5);
    EXPECT_NEAR(line->yMin, 210 - ascent12, 1.0);

    const Raster raster = render(pdf, path("units"));
    ASSERT_EQ(raster.width, 595);
    ASSERT_EQ(raster.height, 842);
    auto darkInRows = [&](int x) { return raster.dark(x, 409) || raster.dark(x, 410); };
    for (int x : { 11, 110, 208 })
        EXPECT_TRUE(darkInRows(x)) << "no line at x " << x;
    for (int x : { 8, 212 })
        EXPECT_FALSE(darkInRows(x)) << "line runs past its end at x " << x;
    EXPECT_FALSE(raster.dark(110, 400) || raster.dark(110, 420)) << "line thicker than a point";
}

struct WidthCase {
    const char* text;
    float size;
    bool bold;
};

void PrintTo(const WidthCase& c, std::ostream* out)
{
    *out << '"' << c.text << "\" at " << c.size << (c.bold ? " bold" : "");
}

class PdfPageWidth : public PdfPage, public ::testing::WithParamInterface<WidthCase> {};

// Guards: StringWidth measured in another font, size or resolution than DrawString draws in,
// which would misplace every centred title and aligned operand.
TEST_P(PdfPageWidth, StringWidthIsTheDrawnWidth)
{
    const QString pdf = path("width.pdf");
    double width = 0;
    {
        Ref<Graphics> page = OpenPdfPage(str(pdf));
        page->SetTextSize(GetParam().size);
        page->SetBold(GetParam().bold);
        width = page->StringWidth(GetParam().text);
        page->DrawString(GetParam().text, 50, 100, 0, false);
    }
    const auto lines = textLines(pdf);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].xMax - lines[0].xMin, width, 0.05) << lines[0].text;
}

INSTANTIATE_TEST_SUITE_P(Table, PdfPageWidth,
                         ::testing::Values(WidthCase { "Multiplying 7", 20, true }, WidthCase { "\xC3\x97 7", 12, false },
                                           WidthCase { "\xE2\x88\x92 123", 12, false }, WidthCase { "0123456789", 9.5f, false },
                                           WidthCase { "Dividing -2147483648", 31, true }));

// Guards: a page whose job never ends (the file left without its end), and NextPage not
// starting a second page.
TEST_F(PdfPage, ReleasingThePageEndsTheJob)
{
    const QString pdf = path("end.pdf");
    auto fileEnds = [&] {
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) && file.readAll().trimmed().endsWith("%%EOF");
    };
    {
        Ref<Graphics> page = OpenPdfPage(str(pdf));
        page->DrawString("one", 10, 20, 0, false);
        page->NextPage();
        page->DrawString("two", 10, 20, 0, false);
        EXPECT_FALSE(fileEnds());
    }
    EXPECT_TRUE(fileEnds());
    EXPECT_NE(runTool("pdfinfo", { pdf }).find("Pages:           2"), std::string::npos);
    EXPECT_EQ(Object::liveInstances(), m_liveAtStart);
}

// Guards: the wrap width ignored (text running on past it), and condensed text left wider than
// the width it was given.
TEST_F(PdfPage, WrapsAndCondensesToTheWidthGiven)
{
    const QString pdf = path("wrap.pdf");
    double twoWords = 0;
    {
        Ref<Graphics> page = OpenPdfPage(str(pdf));
        twoWords = page->StringWidth("alpha beta");
        page->DrawString("alpha beta gamma", 50, 100, static_cast<std::int32_t>(twoWords) + 2, false);
        page->DrawString("condensed to fit", 50, 300, 40, true);
        EXPECT_THROW(page->DrawString("x", 0, 0, -1, false), OutOfBoundsException);
    }
    const auto lines = textLines(pdf);
    const TextLine* first = findLine(lines, "alpha beta");
    const TextLine* second = findLine(lines, "gamma");
    ASSERT_TRUE(first && second);
    EXPECT_GT(second->yMin, first->yMax - 1);
    EXPECT_NEAR(second->xMin, first->xMin, 0.5);
    const TextLine* condensed = findLine(lines, "condensed to fit");
    ASSERT_NE(condensed, nullptr);
    EXPECT_LE(condensed->xMax - condensed->xMin, 40.5);
}

// Guards: sizes that Qt would ignore or turn into overflowing pixel sizes, taken silently.
TEST_F(PdfPage, TextSizeZeroIsTheDefaultAndNonsenseIsRefused)
{
    Ref<Graphics> page = OpenPdfPage(str(path("sizes.pdf")));
    const std::int32_t defaultAscent = page->TextAscent();
    page->SetTextSize(30);
    page->SetTextSize(0);
    EXPECT_EQ(page->TextSize(), 0.0f);
    EXPECT_EQ(page->TextAscent(), defaultAscent);
    for (float bad : { -1.0f, NAN, INFINITY, 5000.0f })
        EXPECT_THROW(page->SetTextSize(bad), OutOfBoundsException) << bad;
    EXPECT_EQ(page->TextSize(), 0.0f);
}

struct RefusedCase {
    std::string path; // "@" stands for the test's temporary folder
    const char* said;
};

void PrintTo(const RefusedCase& c, std::ostream* out)
{
    *out << '"' << QString::fromStdString(c.path).replace(QChar(0), "\\0").toStdString() << '"';
}

class PdfPageRefused : public PdfPage, public ::testing::WithParamInterface<RefusedCase> {};

// Guards: a job that cannot start handed out as a page that prints nothing, an error that does
// not say which file, and the half-made page leaking.
TEST_P(PdfPageRefused, ThrowsAClearErrorAndLeaksNothing)
{
    std::string target = GetParam().path;
    if (target == "@")
        target = str(m_dir.path());
    try {
        Ref<Graphics> page = OpenPdfPage(target);
        ADD_FAILURE() << "a page was handed out for " << target;
    } catch (const PrintJobException& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().said), std::string::npos) << e.what();
        if (target.find('\0') == std::string::npos) {
            EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(Object::liveInstances(), m_liveAtStart);
}

INSTANTIATE_TEST_SUITE_P(Table, PdfPageRefused,
                         ::testing::Values(RefusedCase { "/nonexistent-dir/x.pdf", "No such file or directory" },
                                           RefusedCase { "@", "it is a folder" }, RefusedCase { "", "no file name" },
                                           RefusedCase { std::string("a\0b.pdf", 7), "zero byte" }));

class PrintDialogTest : public PdfPage {
protected:
    void TearDown() override { setPrintDialogHook({}); }

    // Runs what with the print dialog that OpenPrinterDialog shows, once it is up.
    static void whenDialogShows(std::function<void(QPrintDialog&)> what)
    {
        QTimer::singleShot(0, qApp, [what] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            what(*dialog);
        });
    }
};

// Guards: a test hook that does not replace the dialog, or whose nil is not passed on as "cancelled".
TEST_F(PrintDialogTest, HookReplacesTheDialog)
{
    setPrintDialogHook([](const Ref<Object>&, const Ref<Object>&) { return Ref<Graphics>(); });
    EXPECT_TRUE(OpenPrinterDialog(nullptr, nullptr).isNil());

    const QString pdf = path("hooked.pdf");
    setPrintDialogHook([&](const Ref<Object>&, const Ref<Object>&) { return OpenPdfPage(str(pdf)); });
    OpenPrinterDialog(nullptr, nullptr)->DrawString("hooked", 10, 20, 0, false);
    EXPECT_NE(runTool("pdftotext", { pdf, "-" }).find("hooked"), std::string::npos);
    EXPECT_EQ(Object::liveInstances(), m_liveAtStart);
}

// Guards: cancelling the real dialog giving a page anyway, and "print to file" offering a
// folder (or an unwritable place) as the file to print to.
TEST_F(PrintDialogTest, RealDialogOffersAWritableFileAndCancelGivesNil)
{
    QString offered;
    whenDialogShows([&](QPrintDialog& dialog) {
        if (auto* field = dialog.findChild<QLineEdit*>("filename"))
            offered = field->text();
        dialog.reject();
    });
    EXPECT_TRUE(OpenPrinterDialog(nullptr, nullptr).isNil());
    const QFileInfo file(offered);
    EXPECT_TRUE(offered.endsWith(".pdf")) << str(offered);
    EXPECT_FALSE(file.isDir()) << str(offered);
    EXPECT_TRUE(QFileInfo(file.absolutePath()).isWritable()) << str(offered);
    EXPECT_EQ(Object::liveInstances(), m_liveAtStart);
}

// Guards: the page of an accepted dialog not printing where the dialog said.
TEST_F(PrintDialogTest, RealDialogPrintsToTheFileChosen)
{
    const QString pdf = path("chosen.pdf");
    whenDialogShows([&](QPrintDialog& dialog) {
        auto* printers = dialog.findChild<QComboBox*>("printers");
        auto* field = dialog.findChild<QLineEdit*>("filename");
        ASSERT_TRUE(printers && field);
        printers->setCurrentIndex(printers->count() - 1);
        field->setText(pdf);
        dialog.accept();
    });
    {
        Ref<Graphics> page = OpenPrinterDialog(nullptr, nullptr);
        ASSERT_FALSE(page.isNil());
        page->DrawString("chosen", 10, 20, 0, false);
    }
    EXPECT_NE(runTool("pdftotext", { pdf, "-" }).find("chosen"), std::string::npos);
}

// Guards: a printer settings object silently ignored.
TEST_F(PrintDialogTest, PrinterSettingsObjectIsRefused)
{
    Ref<Graphics> other = OpenPdfPage(str(path("settings.pdf")));
    EXPECT_THROW(OpenPrinterDialog(other, nullptr), UnsupportedOperationException);
}

}
