#include "SheetWindow.h"

#include "FrameworkTest.h"
#include "RecordingGraphics.h"
#include "NilObjectException.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace platform;
using testsupport::RecordingGraphics;
using Kind = RecordingGraphics::Kind;

namespace {

RecordingGraphics::Metrics exampleMetrics()
{
    RecordingGraphics::Metrics m;
    m.width = 600;
    m.height = 800;
    m.ascents = { { { 20.0f, true }, 15 }, { { 12.0f, false }, 9 } };
    m.charWidth = 6.0;
    return m;
}

struct Printed {
    Ref<RecordingGraphics> page;
    std::vector<RecordingGraphics::Call> strings;
    std::vector<RecordingGraphics::Call> lines;
};

Printed print(SheetWindow& sheet, RecordingGraphics::Metrics metrics = exampleMetrics())
{
    Printed p { RecordingGraphics::make(std::move(metrics)), {}, {} };
    sheet.answerDialogWith(p.page);
    sheet.press();
    sheet.answerDialogWith(nullptr);
    p.strings = p.page->callsOf(Kind::DrawString);
    p.lines = p.page->callsOf(Kind::DrawLine);
    return p;
}

using PracticeSheetPage = testsupport::FrameworkTest;

struct GeometryCase {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    double charWidth;
    // Worked out by hand from the page's formulas; whole() truncates toward zero.
    std::int32_t titleX;      // whole(width / 2 - width of "Multiplying 7" / 2)
    std::int32_t columnWidth; // whole(width / 10)
    std::int32_t topOffset;   // whole(left + width of "× " + 5) - left
    std::int32_t ruleOffset;  // whole(left + columnWidth - width / 40) - left
    std::int32_t rowPitch;    // 4 * whole(height / 40)
};

void PrintTo(const GeometryCase& c, std::ostream* os)
{
    *os << c.name;
}

class PageGeometry : public testing::TestWithParam<GeometryCase> {};

// Guards: any coordinate drifting: a real converted to whole at another point than the six (the
// title's halves or the rule's margin converted apart, a width rounded instead of truncated), the
// rule's margin taken from the height, or the grid not pushed down by the title.
// Guards: problems drawn out of row-major order (each rule is checked at its row's and column's place).
TEST_P(PageGeometry, EveryCoordinateFollowsTheFormulas)
{
    const GeometryCase& g = GetParam();
    SheetWindow sheet;
    RecordingGraphics::Metrics m = exampleMetrics();
    m.width = g.width;
    m.height = g.height;
    m.charWidth = g.charWidth;
    const Printed p = print(sheet, m);
    ASSERT_EQ(p.strings.size(), 201u);
    ASSERT_EQ(p.lines.size(), 100u);
    EXPECT_EQ(p.page->count(Kind::NextPage), 0u);

    const auto& title = p.strings[0];
    EXPECT_EQ(title.text, "Multiplying 7");
    EXPECT_EQ(title.x1, g.titleX);
    EXPECT_EQ(title.y1, 15);
    EXPECT_EQ(title.size, 20.0f);
    EXPECT_TRUE(title.bold);

    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            const auto& top = p.strings[static_cast<std::size_t>(1 + 2 * (r * 10 + c))];
            const auto& second = p.strings[static_cast<std::size_t>(2 + 2 * (r * 10 + c))];
            const auto& rule = p.lines[static_cast<std::size_t>(r * 10 + c)];
            const std::int32_t left = g.columnWidth * c;
            ASSERT_EQ(top.x1, left + g.topOffset);
            ASSERT_EQ(top.y1, g.rowPitch * r + 39); // bodyAscent 9 + 2 * titleAscent 15
            ASSERT_EQ(second.text, "\u00D7 7");
            ASSERT_EQ(second.x1, left + 5);
            ASSERT_EQ(second.y1, g.rowPitch * r + 50);
            ASSERT_EQ(rule.x1, left);
            ASSERT_EQ(rule.x2, left + g.ruleOffset);
            ASSERT_EQ(rule.y1, g.rowPitch * r + 53);
            ASSERT_EQ(rule.y2, rule.y1);
            ASSERT_FALSE(top.bold);
            ASSERT_EQ(top.size, 12.0f);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PageGeometry,
    testing::Values(
        // The worked example: 300 - 78 / 2; 60 + 12 + 5; 60 - 15; 4 * 20.
        GeometryCase { "WorkedExample", 600, 800, 6.0, 261, 60, 17, 45, 80 },
        // 318.5 - 40.625 = 277.875 (halves converted apart: 278); 63.7; 12.5 + 5 = 17.5 (rounded: 18);
        // 63 - 15.925 = 47.075 (margin converted apart: 48); 20.75.
        GeometryCase { "FractionalWidths", 637, 830, 6.25, 277, 63, 17, 47, 80 },
        // A title wider than the page: 318.5 - 324.35 = -5.85 (halves apart or rounded down: -6);
        // 99.8 + 5 = 104.8 (rounded: 105); 19.975.
        GeometryCase { "TitleWiderThanThePage", 637, 799, 49.9, -5, 63, 104, 47, 76 }),
    [](const auto& info) { return std::string(info.param.name); });

// Guards: the page seeing its questions in another order than the drawing promises (the title's
// width measured before the page's, the popup read after drawing began, a missed ascent), or the
// background-task hook called elsewhere than after each problem and each row.
TEST_F(PracticeSheetPage, CallsReachThePageInTheirOrder)
{
    SheetWindow sheet;
    Ref<RecordingGraphics> page = RecordingGraphics::make(exampleMetrics());
    std::vector<std::size_t> hooksAfter; // how many page calls came before each background-task hook
    BackgroundTaskSpy spy([&] {
        if (!page->calls().empty())
            hooksAfter.push_back(page->calls().size());
    });
    sheet.answerDialogWith(page);
    sheet.press();
    std::vector<Kind> expected { Kind::TextSizeGet, Kind::TextSizeSet, Kind::BoldSet, Kind::TextAscent, Kind::Width,
                                 Kind::StringWidth, Kind::TextAscent, Kind::DrawString, Kind::TextSizeSet,
                                 Kind::BoldSet, Kind::Height, Kind::Width };
    for (int i = 0; i < 100; ++i) {
        for (Kind k : { Kind::StringWidth, Kind::TextAscent, Kind::DrawString, Kind::TextAscent, Kind::TextAscent,
                        Kind::DrawString, Kind::TextAscent, Kind::TextAscent, Kind::Width, Kind::DrawLine })
            expected.push_back(k);
    }
    std::vector<Kind> seen;
    for (const auto& call : page->calls())
        seen.push_back(call.kind);
    EXPECT_EQ(seen, expected);

    // One after each problem's rule, one more after each row.
    std::vector<std::size_t> expectedHooks;
    for (std::size_t r = 0; r < 10; ++r) {
        for (std::size_t c = 0; c < 10; ++c)
            expectedHooks.push_back(12 + 10 * (10 * r + c + 1));
        expectedHooks.push_back(expectedHooks.back());
    }
    EXPECT_EQ(hooksAfter, expectedHooks);
}

struct SignCase {
    const char* popupItems;
    const char* number; // null: the field as the window leaves it
    const char* title;
    const char* second;
};

void PrintTo(const SignCase& c, std::ostream* os)
{
    *os << '"' << c.title << '"';
}

class OperationSign : public testing::TestWithParam<SignCase> {};

// Guards: a sign chosen by position rather than by text, a hyphen for the minus sign, or an
// unknown or empty operation losing its default sign or its place in the title.
// Guards: the practice number read wrongly, refused, or shifting the top operand off its first digit.
TEST_P(OperationSign, PopupTextAndNumberChooseTheSecondOperand)
{
    const SignCase& c = GetParam();
    SheetWindow sheet;
    sheet.setPopup(c.popupItems, *c.popupItems ? 0 : -1);
    if (c.number)
        sheet.setPracticeText(c.number);
    const Printed p = print(sheet);
    EXPECT_EQ(p.strings[0].text, c.title);
    EXPECT_EQ(p.strings[1].x1, 12 + 5) << "top operand stays above the number's first digit";
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(p.strings[static_cast<std::size_t>(2 + 2 * i)].text, c.second);
}

INSTANTIATE_TEST_SUITE_P(Table, OperationSign,
                         testing::Values(SignCase { "Adding", nullptr, "Adding 7", "+ 7" },
                                         SignCase { "Subtracting", nullptr, "Subtracting 7", "\u2212 7" },
                                         SignCase { "Multiplying", nullptr, "Multiplying 7", "\u00D7 7" },
                                         SignCase { "Dividing", nullptr, "Dividing 7", "\u00F7 7" },
                                         SignCase { "adding", nullptr, "adding 7", "\u00D7 7" },
                                         SignCase { "Halving", nullptr, "Halving 7", "\u00D7 7" },
                                         SignCase { "", nullptr, " 7", "\u00D7 7" },
                                         SignCase { "Dividing", "0", "Dividing 0", "\u00F7 0" },
                                         SignCase { "Dividing", "-3", "Dividing -3", "\u00F7 -3" },
                                         SignCase { "Dividing", "123", "Dividing 123", "\u00F7 123" },
                                         SignCase { "Dividing", "", "Dividing 0", "\u00F7 0" },
                                         SignCase { "Dividing", "x", "Dividing 0", "\u00F7 0" },
                                         SignCase { "Dividing", "4.9", "Dividing 4", "\u00F7 4" },
                                         SignCase { "Dividing", "99999999999", "Dividing 2147483647",
                                                    "\u00F7 2147483647" }));

// Guards: the page left at size 20 or bold, or at its fractional entry size instead of the whole one.
TEST_F(PracticeSheetPage, TextStateIsRestoredAsAWholeSizeAndNotBold)
{
    SheetWindow sheet;
    RecordingGraphics::Metrics m = exampleMetrics();
    m.textSize = 12.75f;
    m.bold = true;
    const Printed p = print(sheet, m);
    EXPECT_EQ(p.page->TextSize(), 12.0f);
    EXPECT_FALSE(p.page->Bold());
    EXPECT_EQ(p.strings[1].size, 12.0f);
}

// Guards: a taller title font not pushing the grid down, and a page so low its rows collapse
// crashing or dividing by zero.
TEST_F(PracticeSheetPage, TitleAscentAndPageHeightDriveTheGrid)
{
    SheetWindow sheet;
    RecordingGraphics::Metrics m = exampleMetrics();
    m.ascents[{ 20.0f, true }] = 40;
    m.height = 30;
    const Printed p = print(sheet, m);
    EXPECT_EQ(p.strings[0].y1, 40);
    EXPECT_EQ(p.strings[1].y1, 9 + 80);
    EXPECT_EQ(p.strings[199].y1, p.strings[1].y1) << "rowUnit 0 puts every row at one height";
}

// Guards: a huge text size making the whole-number sums of coordinates overflow.
TEST_F(PracticeSheetPage, ExtremeMetricsSaturateInsteadOfOverflowing)
{
    SheetWindow sheet;
    RecordingGraphics::Metrics m = exampleMetrics();
    m.height = 2147483647;
    m.width = 2147483647;
    m.ascentOf = [](float, bool) { return 2000000000; };
    m.ascents.clear();
    const Printed p = print(sheet, m);
    EXPECT_EQ(p.strings[199].y1, 2147483647);
    EXPECT_EQ(p.lines.size(), 100u);
}

// Guards: a missing popup drawing a half page, or leaving the page and the window referenced.
TEST_F(PracticeSheetPage, MissingPopupStopsBeforeDrawingAndReleasesEverything)
{
    SheetWindow sheet(SheetWindow::Parts { true, false });
    Ref<RecordingGraphics> page = RecordingGraphics::make(exampleMetrics());
    sheet.answerDialogWith(page);
    const int windowRefs = sheet.window->refCount();
    EXPECT_THROW(sheet.press(), NilObjectException);
    sheet.answerDialogWith(nullptr);
    EXPECT_EQ(page->count(Kind::DrawString), 0u);
    EXPECT_EQ(page->refCount(), 1);
    EXPECT_EQ(sheet.window->refCount(), windowRefs);
    EXPECT_EQ(page->TextSize(), 20.0f) << "stopped in the title phase";
}

}
