#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "String.h"

#include <cstdint>

namespace platform {

// A drawing surface such as a printed page. Coordinates are whole page units, x to the right
// and y down from the top left of the drawable area; the y of DrawString is the baseline.
class Graphics : public Object {
public:
    static const ClassRecord& Lookup();

    virtual float TextSize() const = 0;
    virtual void SetTextSize(float size) = 0;
    virtual bool Bold() const = 0;
    virtual void SetBold(bool bold) = 0;
    // Baseline to the top of the current font at the current size and style.
    virtual std::int32_t TextAscent() = 0;
    // The width at which DrawString draws the text.
    virtual double StringWidth(const String& text) = 0;
    virtual std::int32_t Width() = 0;
    virtual std::int32_t Height() = 0;
    virtual void DrawString(const String& text, std::int32_t x, std::int32_t y, std::int32_t wrapWidth, bool condense) = 0;
    virtual void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;
    virtual void NextPage() = 0;

protected:
    using Object::Object;
};

}
