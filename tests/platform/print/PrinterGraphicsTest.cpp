#include "OutOfBoundsException.h"
#include "PdfPage.h"
#include "PrintDialog.h"
#include "PrintJobException.h"
#include "UnsupportedOperationException.h"
#include "ExternalTool.h"
#include "FrameworkTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>

using namespace platform;
using testsupport::runTool;

namespace {

struct Box { double xMin, yMin, xMax, yMax; };

// The lines of text on the first page as the PDF reader finds them, by their text (the first of
// equal ones), in page points.
std::map<std::string, Box> textLines(const QString& pdf)
{
    const QString xml = QString::fromStdString(runTool("pdftotext", { "-bbox-layout", "-f", "1", "-l", "1", pdf, "-" }));
    static const QRegularExpression lineRe(R"re(<line xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([\s\S]*?)</line>)re");
    static const QRegularExpression tag("<[^>]*>");
    std::map<std::string, Box> lines;
    for (const QRegularExpressionMatch& line : lineRe.globalMatch(xml)) {
        const auto at = [&](int i) { return line.captured(i).toDouble(); };
        lines.emplace(line.captured(5).remove(tag).simplified().toStdString(), Box { at(1), at(2), at(3), at(4) });
    }
    return lines;
}

// The text of a PDF in reading order: the default layout mode of pdftotext drops the space after "×" and "÷".
std::string pdfText(const QString& pdf) { return runTool("pdftotext", { "-raw", pdf, "-" }); }

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

bool setAppendOnly(const QString& file, bool on)
{
    QFile f(file);
    int flags = 0;
    return f.open(QIODevice::ReadOnly) && ioctl(f.handle(), FS_IOC_GETFLAGS, &flags) == 0
        && (flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL, ioctl(f.handle(), FS_IOC_SETFLAGS, &flags) == 0);
}

// Every leak check of these tests is the fixture's own, made once the test has let go.
class PdfPage : public testsupport::FrameworkTest {
protected:
    // An append-only target would outlive the test's folder.
    void releaseHeld() override { setPrintDialogHook({}); setAppendOnly(path("out/sheet.pdf"), false); }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    static std::string str(const QString& s) { return s.toStdString(); }
    static void hookTo(const QString& pdf) { setPrintDialogHook([pdf](auto&, auto&) { return OpenPdfPage(str(pdf)); }); }
    // A sheet printed through the dialog (or its hook) is told on standard error as not printed to
    // target for reason, and the program goes on: the next print, to a writable file, prints a whole sheet.
    void expectToldThenNextPrintWhole(const std::string& target, const std::string& reason) const
    {
        testing::internal::CaptureStderr();
        if (Ref<Graphics> page = OpenPrinterDialog(nullptr, nullptr))
            drawSheet(*page);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find("Sumwise: could not print to \"" + target + "\": " + reason
                            + ". Nothing was written; any earlier file there is unchanged."), std::string::npos) << told;
        hookTo(path("next.pdf"));
        drawSheet(*OpenPrinterDialog(nullptr, nullptr));
        EXPECT_NE(pdfText(path("next.pdf")).find("Multiplying 7"), std::string::npos);
    }

    QTemporaryDir m_dir;
};

// Guards: the minus, times and divide signs printed as missing glyphs or as other characters; a
// page whose font is not embedded or is not the Arial-compatible Liberation Sans; a page whose job
// never ends (the file left without its end); NextPage not starting a second page; device pixels
// taken for points; (0, 0) at the paper's corner instead of the printable area's; the y of
// DrawString taken as the top of the text instead of its baseline; sizes that Qt would ignore or
// turn into overflowing pixel sizes, taken silently; StringWidth measured in another font, size or
// resolution than DrawString draws in (misplacing every centred title and aligned operand); the
// wrap width ignored (text running on past it); condensed text left wider than the width given.
TEST_F(PdfPage, DrawsWhatItIsToldWhereItIsToldInAnEmbeddedLiberationSans)
{
    const QString pdf = path("page.pdf");
    const auto fileEnds = [&] { QFile f(pdf); return f.open(QIODevice::ReadOnly) && f.readAll().trimmed().endsWith("%%EOF"); };
    // Each drawn in its size and style, one under another and underlined, its width measured first.
    const struct { const char* text; float size; bool bold; } cases[] = {
        { "Multiplying 7", 20, true }, { "\xC3\x97 7", 12, false }, { "\xE2\x88\x92 123", 12, false }, { "0123456789", 9.5f, false },
        { "Dividing -2147483648", 31, true }, { "+ 7", 12, false }, { "\xE2\x88\x92 7", 12, false }, { "\xC3\xB7 7", 12, false } };
    double widths[std::size(cases)] {};
    std::int32_t ascent12 = 0, ascent20Bold = 0;
    {
        Ref<Graphics> page = OpenPdfPage(str(pdf));
        EXPECT_EQ(std::tuple(page->Width(), page->Height(), page->TextSize(), page->Bold()), std::tuple(595 - 20, 842 - 20, 12.0f, false));
        ascent12 = page->TextAscent();
        page->DrawString("Baseline", 100, 200, 0, false);
        page->DrawLine(0, 400, 200, 400);
        page->DrawString("alpha beta gamma", 50, 100, static_cast<std::int32_t>(page->StringWidth("alpha beta")) + 2, false);
        page->DrawString("condensed to fit", 50, 300, 40, true);
        EXPECT_THROW(page->DrawString("x", 0, 0, -1, false), OutOfBoundsException);
        page->SetTextSize(0); // the default size
        EXPECT_EQ(std::pair(page->TextSize(), page->TextAscent()), std::pair(0.0f, ascent12));
        for (float bad : { -1.0f, NAN, INFINITY, 5000.0f })
            EXPECT_THROW(page->SetTextSize(bad), OutOfBoundsException) << bad;
        EXPECT_EQ(page->TextSize(), 0.0f);
        for (std::int32_t i = 0, y = 460; i < std::ssize(cases); ++i, y += 45) {
            page->SetTextSize(cases[i].size);
            page->SetBold(cases[i].bold);
            widths[i] = page->StringWidth(cases[i].text);
            ascent20Bold = i == 0 ? page->TextAscent() : ascent20Bold; // the first is in the title's 20 points bold
            page->DrawString(cases[i].text, 50, y, 0, false);
            page->DrawLine(50, y + 3, 100, y + 3);
        }
        page->NextPage();
        page->DrawString("two", 10, 20, 0, false);
        EXPECT_FALSE(fileEnds());
    }
    EXPECT_TRUE(fileEnds());
    EXPECT_NE(runTool("pdfinfo", { pdf }).find("Pages:           2"), std::string::npos);
    EXPECT_TRUE(ascent12 >= 9 && ascent12 <= 12) << ascent12;
    EXPECT_TRUE(ascent20Bold >= 15 && ascent20Bold <= 20) << ascent20Bold;

    EXPECT_NE(pdfText(pdf).find("two"), std::string::npos);
    const QStringList fonts = QString::fromStdString(runTool("pdffonts", { pdf })).split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_EQ(fonts.size(), 2) << "one regular and one bold font";
    for (const QString& row : fonts)
        EXPECT_TRUE((row.contains("LiberationSans") || row.contains("Arial")) && row.split(' ', Qt::SkipEmptyParts).value(4) == "yes")
            << "not an embedded Liberation Sans: " << str(row);

    const auto lines = textLines(pdf);
    for (const char* drawn : { "Baseline", "alpha beta", "gamma", "condensed to fit" })
        ASSERT_TRUE(lines.contains(drawn)) << drawn;
    EXPECT_NEAR(lines.at("Baseline").xMin, 110, 0.5);
    EXPECT_NEAR(lines.at("Baseline").yMin, 210 - ascent12, 1.0);
    const Box &first = lines.at("alpha beta"), &second = lines.at("gamma"), &condensed = lines.at("condensed to fit");
    EXPECT_GT(second.yMin, first.yMax - 1);
    EXPECT_NEAR(second.xMin, first.xMin, 0.5);
    EXPECT_LE(condensed.xMax - condensed.xMin, 40.5);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto line = lines.find(cases[i].text);
        ASSERT_NE(line, lines.end()) << cases[i].text << " missing or drawn as other characters";
        EXPECT_NEAR(line->second.xMax - line->second.xMin, widths[i], 0.05) << cases[i].text;
    }

    // Rendered at 72 dots to the inch without smoothing: one pixel per point.
    runTool("pdftoppm", { "-r", "72", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile", "-f", "1", "-l", "1", pdf, path("page") });
    const QImage raster(path("page.pgm"));
    ASSERT_EQ(raster.size(), QSize(595, 842));
    const auto dark = [&](int x, int y) { return qGray(raster.pixel(x, y)) < 128; };
    for (const auto& [x, inked] : { std::pair { 8, false }, { 11, true }, { 110, true }, { 208, true }, { 212, false } })
        EXPECT_EQ(dark(x, 409) || dark(x, 410), inked) << (inked ? "no line at x " : "line runs past its end at x ") << x;
    EXPECT_FALSE(dark(110, 400) || dark(110, 420)) << "line thicker than a point";
}

// Guards: a job that cannot start handed out as a page that prints nothing, an error that does
// not say which file, and the half-made page leaking.
TEST_F(PdfPage, RefusedTargetThrowsAClearErrorAndLeaksNothing)
{
    const std::pair<std::string, const char*> cases[] = { { "/nonexistent-dir/x.pdf", "No such file or directory" },
        { str(m_dir.path()), "it is a folder" }, { "", "no file name" }, { std::string("a\0b.pdf", 7), "zero byte" } };
    for (const auto& [target, said] : cases) {
        SCOPED_TRACE(QString::fromStdString(target).replace(QChar(0), "\\0").toStdString());
        std::string what = "a page was handed out"; // which names none of the reasons
        try { OpenPdfPage(target); } catch (const PrintJobException& e) { what = e.what(); }
        EXPECT_NE(what.find(said), std::string::npos) << what;
        EXPECT_TRUE(target.find('\0') != std::string::npos || what.find(target) != std::string::npos) << what;
    }
}

// What a print to a file leaves: the file's bytes and every name in its folder.
struct Leftovers { QByteArray bytes; QStringList names; bool operator==(const Leftovers&) const = default; };

Leftovers leftoversOf(const QString& file)
{
    QFile f(file);
    return { f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(),
             QDir(QFileInfo(file).absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) };
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
        const rlimit small { 4096, limit.rlim_max };
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_IGN);
        drawSheet(*OpenPrinterDialog(nullptr, nullptr));
        const bool unchanged = leftoversOf(pdf) == Leftovers { earlierSheet, { "sheet.pdf" } };
        setrlimit(RLIMIT_FSIZE, &limit);
        drawSheet(*OpenPrinterDialog(nullptr, nullptr));
        std::_Exit(unchanged ? 0 : 2); // 2: the earlier file changed or a temporary file was left
    };
    hookTo(pdf);
    EXPECT_EXIT(printUnderLimitThenWithout(), testing::ExitedWithCode(0),
                "Sumwise: could not print to \"[^\"]*/sheet\\.pdf\": File too large\\. Nothing was written; any "
                "earlier file there is unchanged\\.");
    EXPECT_NE(pdfText(pdf).find("Multiplying 7"), std::string::npos);
    EXPECT_EQ(leftoversOf(pdf).names, QStringList { "sheet.pdf" }) << "a temporary file was left";
}

// before makes the target unwritable before the job starts (or only finds out whether after can),
// after once it started; either may be nil.
struct UnwritableCase { const char* name; std::function<bool(const QString& target)> before, after; const char* reason; };

void PrintTo(const UnwritableCase& c, std::ostream* out) { *out << c.name; }

class UnwritableTarget : public PdfPage, public testing::WithParamInterface<UnwritableCase> {};

// Guards: a print whose target cannot be written (before the job starts, or only at its end)
// stopping the program, being reported without the file or the system's reason, changing an
// earlier file, or leaving a temporary file; and the program not going on to print afterwards.
TEST_P(UnwritableTarget, IsToldAndChangesNothing)
{
    const UnwritableCase& c = GetParam();
    const QString target = path("out/sheet.pdf");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("out") && writeEarlierSheet(target));
    if (c.before && !c.before(target))
        GTEST_SKIP() << "this file system cannot make the target unwritable that way";
    const Leftovers before = leftoversOf(target);
    setPrintDialogHook([&](auto&, auto&) {
        Ref<Graphics> page = OpenPdfPage(str(target));
        EXPECT_TRUE(!c.after || c.after(target)) << "the target could not be made unwritable";
        return page;
    });
    expectToldThenNextPrintWhole(str(target), c.reason);
    const Leftovers after = leftoversOf(target);
    EXPECT_EQ(after.bytes, c.after ? after.bytes : before.bytes) << "the earlier file changed";
    EXPECT_EQ(after.names, before.names) << "a temporary file was left";
}

const auto appendOnly = [](const QString& f) { return setAppendOnly(f, true); };
const auto canBeAppendOnly = [](const QString& f) { return setAppendOnly(f, true) && setAppendOnly(f, false); };

INSTANTIATE_TEST_SUITE_P(Table, UnwritableTarget,
    testing::Values(UnwritableCase { "AppendOnlyFromTheStart", appendOnly, nullptr, "Operation not permitted" },
                    UnwritableCase { "AppendOnlyAfterTheStart", canBeAppendOnly, appendOnly, "Operation not permitted" },
                    UnwritableCase { "FolderInItsPlaceAfterTheStart", nullptr,
                                     [](const QString& f) { return QFile::remove(f) && QDir().mkdir(f); }, "Is a directory" },
                    UnwritableCase { "FolderGoneBeforeTheStart",
                                     [](const QString& f) { return QDir(QFileInfo(f).absolutePath()).removeRecursively(); },
                                     nullptr, "No such file or directory" }),
    [](const testing::TestParamInfo<UnwritableCase>& info) { return std::string(info.param.name); });

// Guards: a device that takes no bytes (a full disk) reported as a printed page.
TEST_F(PdfPage, FullDeviceIsTold)
{
    if (!QFileInfo("/dev/full").isWritable())
        GTEST_SKIP() << "no /dev/full to write to";
    hookTo("/dev/full");
    expectToldThenNextPrintWhole("/dev/full", "No space left on device");
}

// Guards: a test hook whose nil is not passed on as "cancelled"; a printer settings object silently
// ignored, cancelling the real dialog giving a page anyway, "print to file" offering a folder (or an
// unwritable place) as the file to print to, and the page of an accepted dialog not printing where
// the dialog said.
TEST_F(PdfPage, HookOrRealDialogGivesNilOnCancelAndPrintsToTheFileChosen)
{
    setPrintDialogHook([](auto&, auto&) { return Ref<Graphics>(); });
    EXPECT_TRUE(OpenPrinterDialog(nullptr, nullptr).isNil());
    setPrintDialogHook({});
    EXPECT_THROW(OpenPrinterDialog(OpenPdfPage(str(path("settings.pdf"))), nullptr), UnsupportedOperationException);

    // The real dialog, once it is up, cancelled after reading the file it offers, or sent to pdf as a file.
    const QString pdf = path("chosen.pdf");
    QString offered;
    const auto answerDialog = [&](bool print) {
        QTimer::singleShot(0, qApp, [&, print] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* printers = dialog->findChild<QComboBox*>("printers");
            auto* field = dialog->findChild<QLineEdit*>("filename");
            ASSERT_TRUE(printers && field);
            offered = field->text();
            if (!print)
                return dialog->reject();
            printers->setCurrentIndex(printers->count() - 1);
            field->setText(pdf);
            dialog->accept();
        });
        return OpenPrinterDialog(nullptr, nullptr);
    };
    EXPECT_TRUE(answerDialog(false).isNil());
    EXPECT_TRUE(offered.endsWith(".pdf") && !QFileInfo(offered).isDir()
                && QFileInfo(QFileInfo(offered).absolutePath()).isWritable()) << "not a writable .pdf file: " << str(offered);
    Ref<Graphics> page = answerDialog(true);
    ASSERT_FALSE(page.isNil());
    page->DrawString("chosen", 10, 20, 0, false);
    page = nullptr;
    EXPECT_NE(pdfText(pdf).find("chosen"), std::string::npos);
}

}
