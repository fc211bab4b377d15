#pragma once

#include "Graphics.h"
#include "IntList.h"
#include "Object.h"

#include <cstdint>

namespace Window1 {

// Draws the practice sheet on the page: the bold title, then ten rows of ten problems whose top
// operands are sheetDigits in row-major order. The operation is read from the window's popup.
void drawPracticeSheet(platform::Graphics& page, const platform::IntList& sheetDigits, std::int32_t practiceNumber,
                       platform::Object& window);

}
