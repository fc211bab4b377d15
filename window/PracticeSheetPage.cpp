#include "PracticeSheetPage.h"

#include "Conversions.h"
#include "EventLoop.h"
#include "PopupMenu.h"
#include "WholeArithmetic.h"
#include "Window.h"

#include <array>

namespace Window1 {

using namespace platform;

namespace {

std::int32_t whole(double v)
{
    return RuntimeCvtReal64ToSInt32(v);
}

double real(std::int32_t n)
{
    return RuntimeCvtSInt32ToReal64(n);
}

// Looked up anew on each read: the window keeps its controls, the page keeps none.
String popupText(Object& window)
{
    Ref<Object> popup = RuntimeWindowControlByName(Ref<Object>(&window), "PopupMenu1");
    if (!popup)
        RaiseNilObjectException();
    return PopupMenu::TextGet(*popup);
}

struct Operation {
    const char* name;
    const char* sign;
};

constexpr std::array<Operation, 4> operations { {
    { "Adding", "+" },
    { "Subtracting", "\u2212" },
    { "Multiplying", "\u00D7" },
    { "Dividing", "\u00F7" },
} };

}

void drawPracticeSheet(Graphics& page, const IntList& sheetDigits, std::int32_t practiceNumber, Object& window)
{
    Ref<Object> keepWindow(&window);

    const std::int32_t savedTextSize = whole(page.TextSize());
    page.SetTextSize(20.0f);
    page.SetBold(true);
    const std::int32_t titleAscent = page.TextAscent();

    String operatorSign = "\u00D7";
    const String title = RuntimeAddString(RuntimeAddString(popupText(window), " "), Str(practiceNumber));
    const String operation = popupText(window);
    for (const Operation& op : operations) {
        if (RuntimeStringCompare(operation, op.name) == 0) {
            operatorSign = op.sign;
            break;
        }
    }

    // Sequenced apart: the page sees the width asked before the title's width.
    const double halfPage = real(page.Width()) / 2.0;
    const std::int32_t titleX = whole(halfPage - page.StringWidth(title) / 2.0);
    const std::int32_t titleY = page.TextAscent();
    page.DrawString(title, titleX, titleY, 0, false);
    page.SetTextSize(static_cast<float>(real(savedTextSize)));
    page.SetBold(false);

    const std::int32_t rowUnit = whole(real(page.Height()) / 40.0);
    const std::int32_t columnWidth = whole(real(page.Width()) / 10.0);
    const String signAndSpace = RuntimeAddString(operatorSign, " ");
    const String secondLine = RuntimeAddString(signAndSpace, Str(practiceNumber));
    const std::int32_t gridTop = wholeMul(2, titleAscent);

    for (std::int32_t r = 0; r <= 9; ++r) {
        const std::int32_t rowTop = wholeMul(wholeMul(4, rowUnit), r);
        for (std::int32_t c = 0; c <= 9; ++c) {
            const std::int32_t left = wholeMul(columnWidth, c);

            const String topOperand = Str(sheetDigits.element(r * 10 + c));
            const std::int32_t topX = whole(real(left) + page.StringWidth(signAndSpace) + 5.0);
            const std::int32_t topY = wholeAdd(wholeAdd(rowTop, page.TextAscent()), gridTop);
            page.DrawString(topOperand, topX, topY, 0, false);

            const std::int32_t bodyAscent = page.TextAscent();
            const std::int32_t secondY = wholeAdd(wholeAdd(wholeAdd(wholeAdd(rowTop, bodyAscent), page.TextAscent()), 2), gridTop);
            page.DrawString(secondLine, wholeAdd(left, 5), secondY, 0, false);

            const std::int32_t ruleAscent = page.TextAscent();
            const std::int32_t ruleY = wholeAdd(wholeAdd(wholeAdd(wholeAdd(rowTop, ruleAscent), page.TextAscent()), 5), gridTop);
            const std::int32_t ruleRight = whole(real(wholeAdd(left, columnWidth)) - real(page.Width()) / 40.0);
            page.DrawLine(left, ruleY, ruleRight, ruleY);

            RuntimeBackgroundTask();
        }
        RuntimeBackgroundTask();
    }
}

}
