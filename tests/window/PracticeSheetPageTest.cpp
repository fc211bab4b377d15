#include "SheetWindow.h"

#include "FrameworkTest.h"
#include "RecordingGraphics.h"
#include "NilObjectException.h"

#include <gtest/gtest.h>

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

// Guards: any coordinate of the worked example drifting (a conversion at the wrong point, the
// rule's margin taken from the height, the grid not pushed down by the title).
TEST_F(PracticeSheetPage, WorkedExampleGeometry)
{
    SheetWindow sheet;
    const Printed p = print(sheet);
    ASSERT_EQ(p.strings.size(), 201u);
    ASSERT_EQ(p.lines.size(), 100u);
    EXPECT_EQ(p.page->count(Kind::NextPage), 0u);

    const auto& title = p.strings[0];
    EXPECT_EQ(title.text, "Multiplying 7");
    EXPECT_EQ(title.x1, 300 - 13 * 6 / 2);
    EXPECT_EQ(title.y1, 15);
    EXPECT_EQ(title.size, 20.0f);
    EXPECT_TRUE(title.bold);

    for (int r : { 0, 9 }) {
        for (int c : { 0, 9 }) {
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            const auto& top = p.strings[1 + 2 * (r * 10 + c)];
            const auto& second = p.strings[2 + 2 * (r * 10 + c)];
            const auto& rule = p.lines[static_cast<std::size_t>(r * 10 + c)];
            EXPECT_EQ(top.x1, 60 * c + 12 + 5); // "× " is two characters of 6
            EXPECT_EQ(top.y1, 80 * r + 39);
            EXPECT_EQ(second.text, "\u00D7 7");
            EXPECT_EQ(second.x1, 60 * c + 5);
            EXPECT_EQ(second.y1, 80 * r + 50);
            EXPECT_EQ(rule.x1, 60 * c);
            EXPECT_EQ(rule.x2, 60 * c + 45);
            EXPECT_EQ(rule.y1, 80 * r + 53);
            EXPECT_EQ(rule.y2, rule.y1);
            EXPECT_FALSE(top.bold);
            EXPECT_EQ(top.size, 12.0f);
        }
    }
    EXPECT_EQ(p.strings[200].y1, 770);
    EXPECT_EQ(p.lines[99].x1, 540);
    EXPECT_EQ(p.lines[99].x2, 585);
}

// Guards: the page seeing its questions in another order than the drawing promises (the title's
// width measured before the page's, the popup read after drawing began, a missed ascent).
TEST_F(PracticeSheetPage, CallsReachThePageInTheirOrder)
{
    SheetWindow sheet;
    const Printed p = print(sheet);
    std::vector<Kind> expected { Kind::TextSizeGet, Kind::TextSizeSet, Kind::BoldSet, Kind::TextAscent, Kind::Width,
                                 Kind::StringWidth, Kind::TextAscent, Kind::DrawString, Kind::TextSizeSet,
                                 Kind::BoldSet, Kind::Height, Kind::Width };
    for (int i = 0; i < 100; ++i) {
        for (Kind k : { Kind::StringWidth, Kind::TextAscent, Kind::DrawString, Kind::TextAscent, Kind::TextAscent,
                        Kind::DrawString, Kind::TextAscent, Kind::TextAscent, Kind::Width, Kind::DrawLine })
            expected.push_back(k);
    }
    std::vector<Kind> seen;
    for (const auto& call : p.page->calls())
        seen.push_back(call.kind);
    EXPECT_EQ(seen, expected);
}

// Guards: problems drawn out of row-major order, or row r not showing block r of the digits.
TEST_F(PracticeSheetPage, ProblemsAreDrawnRowByRowLeftToRight)
{
    SheetWindow sheet;
    const Printed p = print(sheet);
    for (int i = 1; i < 100; ++i) {
        const auto& prev = p.lines[static_cast<std::size_t>(i - 1)];
        const auto& cur = p.lines[static_cast<std::size_t>(i)];
        if (i % 10 == 0)
            EXPECT_GT(cur.y1, prev.y1);
        else
            EXPECT_TRUE(cur.y1 == prev.y1 && cur.x1 > prev.x1) << "problem " << i;
    }
}

struct SignCase {
    const char* popupItems;
    const char* title;
    const char* second;
};

class OperationSign : public testing::TestWithParam<SignCase> {};

// Guards: a sign chosen by position rather than by text, a hyphen for the minus sign, or an
// unknown or empty operation losing its default sign or its place in the title.
TEST_P(OperationSign, PopupTextChoosesTheSign)
{
    SheetWindow sheet;
    sheet.setPopup(GetParam().popupItems, *GetParam().popupItems ? 0 : -1);
    const Printed p = print(sheet);
    EXPECT_EQ(p.strings[0].text, GetParam().title);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(p.strings[static_cast<std::size_t>(2 + 2 * i)].text, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Table, OperationSign,
                         testing::Values(SignCase { "Adding", "Adding 7", "+ 7" },
                                         SignCase { "Subtracting", "Subtracting 7", "\u2212 7" },
                                         SignCase { "Multiplying", "Multiplying 7", "\u00D7 7" },
                                         SignCase { "Dividing", "Dividing 7", "\u00F7 7" },
                                         SignCase { "adding", "adding 7", "\u00D7 7" },
                                         SignCase { "Halving", "Halving 7", "\u00D7 7" },
                                         SignCase { "", " 7", "\u00D7 7" }));

struct NumberCase {
    const char* text;
    const char* title;
    const char* second;
};

class PracticeNumber : public testing::TestWithParam<NumberCase> {};

// Guards: the practice number read wrongly, refused, or shifting the top operand off its first digit.
TEST_P(PracticeNumber, IsDrawnAsTheConversionGivesIt)
{
    SheetWindow sheet;
    sheet.setPopup("Dividing", 0);
    sheet.setPracticeText(GetParam().text);
    const Printed p = print(sheet);
    EXPECT_EQ(p.strings[0].text, GetParam().title);
    EXPECT_EQ(p.strings[2].text, GetParam().second);
    EXPECT_EQ(p.strings[1].x1, 12 + 5) << "top operand stays above the number's first digit";
}

INSTANTIATE_TEST_SUITE_P(Table, PracticeNumber,
                         testing::Values(NumberCase { "0", "Dividing 0", "\u00F7 0" },
                                         NumberCase { "-3", "Dividing -3", "\u00F7 -3" },
                                         NumberCase { "123", "Dividing 123", "\u00F7 123" },
                                         NumberCase { "", "Dividing 0", "\u00F7 0" },
                                         NumberCase { "x", "Dividing 0", "\u00F7 0" },
                                         NumberCase { "4.9", "Dividing 4", "\u00F7 4" },
                                         NumberCase { "99999999999", "Dividing 2147483647", "\u00F7 2147483647" }));

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
