#include "OutOfBoundsException.h"
#include "PdfPage.h"
#include "PrintDialog.h"
#include "PrintJobException.h"
#include "UnsupportedOperationException.h"
#include "ExternalTool.h"
#include "FrameworkTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <functional>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

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

// The text of a PDF in reading order: the default layout mode of pdftotext drops the space after "×" and "÷".
std::string pdfText(const QString& pdf)
{
    return runTool("pdftotext", { "-raw", pdf, "-" });
}

// Every leak check of these tests is the fixture's own, made once the test has let go.
class PdfPage : public testsupport::FrameworkTest {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    static std::string str(const QString& s) { return s.toStdString(); }
    static void hookTo(const QString& pdf)
    {
        setPrintDialogHook([pdf](const Ref<Object>&, const Ref<Object>&) { return OpenPdfPage(str(pdf)); });
    }

    QTemporaryDir m_dir;
};

// Guards: the minus, times and divide signs printed as missing glyphs or as other characters,
// a page whose font is not embedded or is not the Arial-compatible Liberation Sans, a page whose
// job never ends (the file left without its end), and NextPage not starting a second page.
TEST_F(PdfPage, SignsComeOutAsThemselvesInAnEmbeddedLiberationSansAndReleaseEndsTheJob)
{
    const QString pdf = path("signs.pdf");
    auto fileEnds = [&] {
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) && file.readAll().trimmed().endsWith("%%EOF");
    };
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
        page->NextPage();
        page->DrawString("two", 10, 20, 0, false);
        EXPECT_FALSE(fileEnds());
    }
    EXPECT_TRUE(fileEnds());
    EXPECT_NE(runTool("pdfinfo", { pdf }).find("Pages:           2"), std::string::npos);

    const std::string text = pdfText(pdf);
    for (const char* expected : { "Multiplying 7", "+ 7", "\xE2\x88\x92 7", "\xC3\x97 7", "\xC3\xB7 7", "two" })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing from:\n" << text;

    const QStringList fonts = QString::fromStdString(runTool("pdffonts", { pdf })).split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_EQ(fonts.size(), 2) << "one regular and one bold font";
    for (const QString& row : fonts) {
        EXPECT_TRUE(row.contains("LiberationSans") || row.contains("Arial")) << str(row);
        EXPECT_EQ(row.split(' ', Qt::SkipEmptyParts).value(4), "yes") << "not embedded: " << str(row);
    }
}

// Guards: device pixels taken for points, (0, 0) at the paper's corner instead of the printable
// area's, the y of DrawString taken as the top of the text instead of its baseline, and sizes
// that Qt would ignore or turn into overflowing pixel sizes, taken silently.
TEST_F(PdfPage, DrawsInPointsFromTheTopLeftOfThePrintableAreaAndRefusesNonsenseSizes)
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
        page->SetBold(false);
        page->SetTextSize(0); // the default size
        EXPECT_EQ(page->TextSize(), 0.0f);
        EXPECT_EQ(page->TextAscent(), ascent12);
        for (float bad : { -1.0f, NAN, INFINITY, 5000.0f })
            EXPECT_THROW(page->SetTextSize(bad), OutOfBoundsException) << bad;
        EXPECT_EQ(page->TextSize(), 0.0f);
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
}

INSTANTIATE_TEST_SUITE_P(Table, PdfPageRefused,
                         ::testing::Values(RefusedCase { "/nonexistent-dir/x.pdf", "No such file or directory" },
                                           RefusedCase { "@", "it is a folder" }, RefusedCase { "", "no file name" },
                                           RefusedCase { std::string("a\0b.pdf", 7), "zero byte" }));

// What a print to a file leaves: the file's bytes and every other name in its folder.
struct Leftovers {
    QByteArray bytes;
    QStringList others;
};

Leftovers leftoversOf(const QString& file)
{
    QFile f(file);
    Leftovers l;
    if (f.open(QIODevice::ReadOnly))
        l.bytes = f.readAll();
    l.others = QDir(QFileInfo(file).absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    l.others.removeAll(QFileInfo(file).fileName());
    return l;
}

void drawSheet(Graphics& page)
{
    page.SetTextSize(20);
    page.SetBold(true);
    page.DrawString("Multiplying 7", 200, 30, 0, false);
    page.SetTextSize(12);
    page.SetBold(false);
    for (int row = 0; row < 10; ++row)
        page.DrawString("0 1 2 3 4 5 6 7 8 9 \xC3\x97 7", 20, 80 + 60 * row, 0, false);
}

const QByteArray earlierSheet = "%PDF-1.4 an earlier sheet that must survive\n";

bool writeEarlierSheet(const QString& file)
{
    QFile earlier(file);
    return earlier.open(QIODevice::WriteOnly) && earlier.write(earlierSheet) == earlierSheet.size();
}

// Guards: a print cut short by a file-size limit (as by a full disk) leaving a broken file in
// place of the earlier one, or its temporary file, or saying nothing; and the next print, once
// there is room, not printing a whole sheet. In a child process, whose limit ends with it.
TEST_F(PdfPage, FileSizeLimitKeepsTheEarlierFileAndIsTold)
{
    // Forked where it stands, so that the child prints into this test's folder.
    GTEST_FLAG_SET(death_test_style, "fast");
    const QString pdf = path("sheet.pdf");
    ASSERT_TRUE(writeEarlierSheet(pdf));
    const auto printUnderLimitThenWithout = [&] {
        rlimit limit {};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t hard = limit.rlim_max;
        limit.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        drawSheet(*OpenPrinterDialog(nullptr, nullptr));
        const Leftovers after = leftoversOf(pdf);
        if (after.bytes != earlierSheet || !after.others.isEmpty()) {
            std::fprintf(stderr, "the earlier file changed or a temporary file was left\n");
            std::_Exit(2);
        }
        limit.rlim_cur = hard;
        setrlimit(RLIMIT_FSIZE, &limit);
        drawSheet(*OpenPrinterDialog(nullptr, nullptr));
        std::_Exit(0);
    };
    hookTo(pdf);
    EXPECT_EXIT(printUnderLimitThenWithout(), testing::ExitedWithCode(0),
                "Sumwise: could not print to \"[^\"]*/sheet\\.pdf\": File too large\\. Nothing was written; any "
                "earlier file there is unchanged\\.");
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("Multiplying 7"), std::string::npos) << text;
    EXPECT_TRUE(leftoversOf(pdf).others.isEmpty()) << str(leftoversOf(pdf).others.join(' '));
}

struct UnwritableCase {
    const char* name;
    // Makes the target unwritable before the job starts (nil) or after it started.
    std::function<bool(const QString& target)> before, after;
    const char* reason;
};

bool setAppendOnly(const QString& file, bool on)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
        && (flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    ::close(fd);
    return done;
}

bool makeAppendOnly(const QString& file)
{
    return setAppendOnly(file, true);
}

bool replaceByFolder(const QString& file)
{
    return QFile::remove(file) && QDir().mkdir(file);
}

class UnwritableTarget : public PdfPage, public testing::WithParamInterface<UnwritableCase> {
protected:
    void releaseHeld() override
    {
        setPrintDialogHook({});
        setAppendOnly(path("out/sheet.pdf"), false);
    }
};

void PrintTo(const UnwritableCase& c, std::ostream* out)
{
    *out << c.name;
}

// Guards: a print whose target cannot be written (before the job starts, or only at its end)
// stopping the program, being reported without the file or the system's reason, changing an
// earlier file, or leaving a temporary file; and the program not going on to print afterwards.
TEST_P(UnwritableTarget, IsToldAndChangesNothing)
{
    const UnwritableCase& c = GetParam();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("out"));
    const QString target = path("out/sheet.pdf");
    ASSERT_TRUE(writeEarlierSheet(target));
    if (c.before && !c.before(target))
        GTEST_SKIP() << "this file system cannot make the target unwritable that way";
    const Leftovers before = leftoversOf(target);

    bool unwritable = !c.after;
    setPrintDialogHook([&](const Ref<Object>&, const Ref<Object>&) {
        Ref<Graphics> page = OpenPdfPage(str(target));
        if (c.after)
            unwritable = c.after(target);
        return page;
    });
    testing::internal::CaptureStderr();
    {
        Ref<Graphics> page = OpenPrinterDialog(nullptr, nullptr);
        if (page)
            drawSheet(*page);
    }
    const std::string told = testing::internal::GetCapturedStderr();
    if (!unwritable)
        GTEST_SKIP() << "this file system cannot make the target unwritable that way";

    EXPECT_NE(told.find("Sumwise: could not print to \"" + str(target) + "\": " + c.reason
                        + ". Nothing was written; any earlier file there is unchanged."),
              std::string::npos)
        << told;
    const Leftovers after = leftoversOf(target);
    if (!c.after) {
        EXPECT_EQ(after.bytes, before.bytes);
    }
    EXPECT_EQ(after.others, before.others) << "a temporary file was left";

    // The program goes on: the next print to a writable file prints a whole sheet.
    hookTo(path("next.pdf"));
    drawSheet(*OpenPrinterDialog(nullptr, nullptr));
    EXPECT_NE(pdfText(path("next.pdf")).find("Multiplying 7"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnwritableTarget,
    testing::Values(UnwritableCase { "AppendOnlyFromTheStart", &makeAppendOnly, nullptr, "Operation not permitted" },
                    UnwritableCase { "AppendOnlyAfterTheStart", nullptr, &makeAppendOnly, "Operation not permitted" },
                    UnwritableCase { "FolderInItsPlaceAfterTheStart", nullptr, &replaceByFolder, "Is a directory" },
                    UnwritableCase { "FolderGoneBeforeTheStart",
                                     [](const QString& f) { return QDir(QFileInfo(f).absolutePath()).removeRecursively(); },
                                     nullptr, "No such file or directory" }),
    [](const testing::TestParamInfo<UnwritableCase>& info) { return std::string(info.param.name); });

// Guards: a device that takes no bytes (a full disk) reported as a printed page.
TEST_F(PdfPage, FullDeviceIsTold)
{
    if (!QFileInfo("/dev/full").isWritable())
        GTEST_SKIP() << "no /dev/full to write to";
    setPrintDialogHook([](const Ref<Object>&, const Ref<Object>&) { return OpenPdfPage("/dev/full"); });
    testing::internal::CaptureStderr();
    drawSheet(*OpenPrinterDialog(nullptr, nullptr));
    const std::string told = testing::internal::GetCapturedStderr();
    setPrintDialogHook({});
    EXPECT_NE(told.find("could not print to \"/dev/full\": No space left on device."), std::string::npos) << told;
}

class PrintDialogTest : public PdfPage {
protected:
    void releaseHeld() override { setPrintDialogHook({}); }

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

    hookTo(path("hooked.pdf"));
    OpenPrinterDialog(nullptr, nullptr)->DrawString("hooked", 10, 20, 0, false);
    EXPECT_NE(pdfText(path("hooked.pdf")).find("hooked"), std::string::npos);
}

// Guards: a printer settings object silently ignored, cancelling the real dialog giving a page
// anyway, and "print to file" offering a folder (or an unwritable place) as the file to print to.
TEST_F(PrintDialogTest, RealDialogRefusesSettingsOffersAWritableFileAndCancelGivesNil)
{
    {
        Ref<Graphics> other = OpenPdfPage(str(path("settings.pdf")));
        EXPECT_THROW(OpenPrinterDialog(other, nullptr), UnsupportedOperationException);
    }
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
    EXPECT_NE(pdfText(pdf).find("chosen"), std::string::npos);
}

}
