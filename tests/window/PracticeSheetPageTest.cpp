#include "SheetWindow.h"

#include "FrameworkTest.h"
#include "NilObjectException.h"
#include "RecordingGraphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;
using testsupport::RecordingGraphics;
using Kind = RecordingGraphics::Kind;
using namespace std::string_literals;

namespace {

constexpr std::int32_t maxWhole = 2147483647;

// A page entered at the text size and bold given, whose title font (size 20, bold) has the ascent
// titleAscent and whose body font (12, not bold) has bodyAscent; no other font is known to it.
RecordingGraphics::Metrics metrics(std::int32_t width = 600, std::int32_t height = 800, double charWidth = 6.0,
                                   std::int32_t titleAscent = 15, std::int32_t bodyAscent = 9, float size = 12.0f, bool bold = false)
{
    return { width, height, size, bold, { { { 20.0f, true }, titleAscent }, { { 12.0f, false }, bodyAscent } }, {}, charWidth };
}

struct Printed {
    Ref<RecordingGraphics> page;
    std::vector<RecordingGraphics::Call> strings, lines;
    std::vector<std::size_t> hooks; // how many page calls came before each background-task hook
};

Printed print(SheetWindow& sheet, RecordingGraphics::Metrics m = metrics())
{
    Printed p { RecordingGraphics::make(std::move(m)), {}, {}, {} };
    BackgroundTaskSpy spy([&] {
        if (!p.page->calls().empty())
            p.hooks.push_back(p.page->calls().size());
    });
    sheet.answerDialogWith(p.page);
    sheet.press();
    sheet.answerDialogWith(nullptr);
    p.strings = p.page->callsOf(Kind::DrawString);
    p.lines = p.page->callsOf(Kind::DrawLine);
    return p;
}

template <class Case> class PrintedPage : public testsupport::FrameworkTest, public testing::WithParamInterface<Case> {};

// Worked out by hand from the page's formulas; whole() truncates toward zero:
// titleX = whole(width / 2 - width of "Multiplying 7" / 2); columnWidth = whole(width / 10);
// topOffset = whole(left + width of "× " + 5) - left; ruleOffset = whole(left + columnWidth - width / 40) - left;
// rowPitch = 4 * whole(height / 40).
struct GeometryCase {
    const char* name;
    RecordingGraphics::Metrics metrics;
    std::int32_t titleX, columnWidth, topOffset, ruleOffset, rowPitch;
};
void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.name; }
using PageGeometry = PrintedPage<GeometryCase>;

// Guards: any coordinate drifting: a real converted to whole at another point than the six (the
// title's halves or the rule's margin converted apart, a width rounded instead of truncated), the
// rule's margin taken from the height, or the grid not pushed down by the title (or by another ascent).
// Guards: problems drawn out of row-major order (each rule is checked at its row's and column's place);
// a wrap width or condense flag other than 0 and False.
// Guards: the page left at size 20 or bold, or at its fractional entry size instead of the whole one.
// Guards: a page so low its rows collapse crashing or dividing by zero; a huge text size making the
// whole-number sums of coordinates overflow instead of saturating.
// Guards: the page seeing its questions in another order than the drawing promises (the title's
// width measured before the page's, the popup read after drawing began, a missed ascent), or the
// background-task hook called elsewhere than after each problem and each row.
TEST_P(PageGeometry, EveryCallAndCoordinateFollowsTheFormulas)
{
    const GeometryCase& g = GetParam();
    const std::int32_t titleAscent = g.metrics.ascents.at({ 20.0f, true }), body = g.metrics.ascents.at({ 12.0f, false });
    SheetWindow sheet;
    const Printed p = print(sheet, g.metrics);
    std::vector<Kind> expected { Kind::TextSizeGet, Kind::TextSizeSet, Kind::BoldSet, Kind::TextAscent, Kind::Width, Kind::StringWidth,
                                 Kind::TextAscent, Kind::DrawString, Kind::TextSizeSet, Kind::BoldSet, Kind::Height, Kind::Width };
    std::vector<std::size_t> expectedHooks; // one after each problem's rule, one more after each row
    for (std::size_t i = 0; i < 100; ++i) {
        expected.insert(expected.end(), { Kind::StringWidth, Kind::TextAscent, Kind::DrawString, Kind::TextAscent, Kind::TextAscent,
                                          Kind::DrawString, Kind::TextAscent, Kind::TextAscent, Kind::Width, Kind::DrawLine });
        expectedHooks.push_back(12 + 10 * (i + 1));
        if (i % 10 == 9)
            expectedHooks.push_back(expectedHooks.back());
    }
    std::vector<Kind> seen;
    std::ranges::transform(p.page->calls(), std::back_inserter(seen), &RecordingGraphics::Call::kind);
    ASSERT_EQ(seen, expected) << "exactly 201 strings, 100 lines and no next page, in this order";
    EXPECT_EQ(p.hooks, expectedHooks);

    const auto& title = p.strings[0];
    EXPECT_EQ(std::tuple(title.text, title.x1, title.y1, title.size, title.bold),
              std::tuple("Multiplying 7"s, g.titleX, titleAscent, 20.0f, true));
    for (const auto& s : p.strings)
        ASSERT_TRUE(s.x2 == 0 && !s.condense) << s.text;
    // Every y sums positive parts, so saturating sums are the exact sum capped at the largest whole number.
    const auto y = [&](std::int32_t r, std::int64_t part) {
        return std::min<std::int64_t>(maxWhole, std::int64_t { g.rowPitch } * r + part + 2LL * titleAscent);
    };
    for (std::size_t i = 0; i < 100; ++i) {
        const auto r = static_cast<std::int32_t>(i / 10), c = static_cast<std::int32_t>(i % 10);
        SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
        const auto &top = p.strings[1 + 2 * i], &second = p.strings[2 + 2 * i], &rule = p.lines[i];
        const std::int32_t left = g.columnWidth * c;
        ASSERT_EQ(std::tuple(top.x1, top.y1, top.size, top.bold), std::tuple(left + g.topOffset, y(r, body), 12.0f, false));
        ASSERT_EQ(std::tuple(second.text, second.x1, second.y1), std::tuple("\u00D7 7"s, left + 5, y(r, 2LL * body + 2)));
        ASSERT_EQ(std::tuple(rule.x1, rule.x2, rule.y1, rule.y2),
                  std::tuple(left, left + g.ruleOffset, y(r, 2LL * body + 5), y(r, 2LL * body + 5)));
    }
    EXPECT_EQ(std::tuple(p.page->TextSize(), p.page->Bold()), std::tuple(12.0f, false));
}

const GeometryCase geometryCases[] = {
    // The worked example: 300 - 78 / 2; 60 + 12 + 5; 60 - 15; 4 * 20.
    { "WorkedExample", metrics(), 261, 60, 17, 45, 80 },
    // 318.5 - 40.625 = 277.875 (halves converted apart: 278); 63.7; 12.5 + 5 = 17.5 (rounded: 18);
    // 63 - 15.925 = 47.075 (margin converted apart: 48); 20.75.
    { "FractionalWidths", metrics(637, 830, 6.25), 277, 63, 17, 47, 80 },
    // A title wider than the page: 318.5 - 324.35 = -5.85 (halves apart or rounded down: -6);
    // 99.8 + 5 = 104.8 (rounded: 105); 19.975.
    { "TitleWiderThanThePage", metrics(637, 799, 49.9), -5, 63, 104, 47, 76 },
    // A taller title pushes the grid down; whole(30 / 40) = 0 puts every row at one height.
    { "TallTitleOnALowPage", metrics(600, 30, 6.0, 40), 261, 60, 17, 45, 0 },
    // Entered at size 12.75 and bold: restored to whole(12.75) = 12 and not bold.
    { "FractionalBoldEntryState", metrics(600, 800, 6.0, 15, 9, 12.75f, true), 261, 60, 17, 45, 80 },
    // 1073741823.5 - 39; 214748364.7; 214748364 - 53687091.175; every y past the largest whole number.
    { "ExtremeMetrics", metrics(maxWhole, maxWhole, 6.0, 2000000000, 2000000000), 1073741784, 214748364, 17, 161061272, 214748364 },
};
INSTANTIATE_TEST_SUITE_P(Table, PageGeometry, testing::ValuesIn(geometryCases), testing::PrintToStringParamName());

// number null: the field as the window leaves it.
struct SignCase { const char *popupItems, *number, *title, *second; };
void PrintTo(const SignCase& c, std::ostream* os) { *os << '"' << c.title << '"'; }
using OperationSign = PrintedPage<SignCase>;

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

const SignCase signCases[] = {
    { "Adding", nullptr, "Adding 7", "+ 7" },                 { "Subtracting", nullptr, "Subtracting 7", "\u2212 7" },
    { "Multiplying", nullptr, "Multiplying 7", "\u00D7 7" },  { "Dividing", nullptr, "Dividing 7", "\u00F7 7" },
    { "adding", nullptr, "adding 7", "\u00D7 7" },            { "Halving", nullptr, "Halving 7", "\u00D7 7" },
    { "", nullptr, " 7", "\u00D7 7" },                        { "Dividing", "0", "Dividing 0", "\u00F7 0" },
    { "Dividing", "-3", "Dividing -3", "\u00F7 -3" },         { "Dividing", "123", "Dividing 123", "\u00F7 123" },
    { "Dividing", "", "Dividing 0", "\u00F7 0" },             { "Dividing", "x", "Dividing 0", "\u00F7 0" },
    { "Dividing", "4.9", "Dividing 4", "\u00F7 4" },
    { "Dividing", "99999999999", "Dividing 2147483647", "\u00F7 2147483647" },
};
INSTANTIATE_TEST_SUITE_P(Table, OperationSign, testing::ValuesIn(signCases));

using PracticeSheetPage = testsupport::FrameworkTest;

// Guards: a missing popup drawing a half page, or leaving the page and the window referenced.
TEST_F(PracticeSheetPage, MissingPopupStopsBeforeDrawingAndReleasesEverything)
{
    SheetWindow sheet(SheetWindow::Parts { true, false });
    Ref<RecordingGraphics> page = RecordingGraphics::make(metrics());
    sheet.answerDialogWith(page);
    const int windowRefs = sheet.window->refCount();
    EXPECT_THROW(sheet.press(), NilObjectException);
    sheet.answerDialogWith(nullptr);
    EXPECT_EQ(std::tuple(page->count(Kind::DrawString), page->refCount(), sheet.window->refCount(), page->TextSize()),
              std::tuple(0u, 1, windowRefs, 20.0f)) << "nothing drawn, all released, stopped in the title phase";
}

}
