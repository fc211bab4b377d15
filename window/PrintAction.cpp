#include "PrintAction.h"

#include "Conversions.h"
#include "EventLoop.h"
#include "IntList.h"
#include "PrintDialog.h"
#include "Random.h"
#include "TextField.h"
#include "Window.h"
#include "PracticeSheetPage.h"

namespace Window1 {

using namespace platform;

namespace {

std::int32_t draw(Object& generator)
{
    return generator.record().callSlot<std::int32_t(Object&, std::int32_t, std::int32_t)>(Random::SlotInRange,
                                                                                          generator, 0, 9);
}

// Ten blocks, each the digits 0 to 9 in a random order from a generator of its own; a digit
// already taken in the block is drawn again until a new one comes up.
Ref<IntList> drawSheetDigits(Object& window)
{
    Ref<IntList> sheetDigits = CreateArray(1, 0, -1);
    Ref<IntList> rowPermutation = CreateArray(1, 0, -1);
    for (std::int32_t block = 0; block <= 9; ++block) {
        Ref<Object> generator = window.record().callSlot<Ref<Object>(Object&, const ClassRecord&)>(
            Window::SlotNew, window, Random::Lookup());
        for (std::int32_t k = 0; k <= 9; ++k) {
            std::int32_t digit = draw(generator.object());
            if (rowPermutation->upperBound(1) > -1) {
                while (rowPermutation->indexOf(digit, 0) > -1) {
                    digit = draw(generator.object());
                    RuntimeBackgroundTask();
                }
            }
            rowPermutation->insert(rowPermutation->upperBound(1) + 1, digit);
            RuntimeBackgroundTask();
        }
        for (std::int32_t k = 0; k <= 9; ++k) {
            sheetDigits->insert(sheetDigits->upperBound(1) + 1, rowPermutation->element(k));
            RuntimeBackgroundTask();
        }
        rowPermutation->resize(-1);
        generator = nullptr;
        RuntimeBackgroundTask();
    }
    return sheetDigits;
}

std::int32_t readPracticeNumber(const Ref<Object>& window)
{
    Ref<Object> field = RuntimeWindowControlByName(window, "TextField1");
    if (!field)
        RaiseNilObjectException();
    return RuntimeCvtReal64ToSInt32(Val(TextField::TextGet(*field)));
}

}

void PushButton1_Action(Object& receiver)
{
    Ref<Object> self(&receiver);
    Ref<Object> me;
    RuntimeSwapSelfAndMe(self, me);

    Ref<IntList> sheetDigits = drawSheetDigits(self.object());
    const std::int32_t practiceNumber = readPracticeNumber(self);

    Ref<Graphics> page = OpenPrinterDialog(nullptr, nullptr);
    if (!page)
        return;
    drawPracticeSheet(*page, *sheetDigits, practiceNumber, self.object());
}

}
