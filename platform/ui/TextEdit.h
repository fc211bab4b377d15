#pragma once

#include "RectControl.h"

namespace platform {

// An editable text control.
class TextEdit : public RectControl {
public:
    static const ClassRecord& Lookup();

    static String TextGet(Object& edit);
    static void TextSet(Object& edit, std::int32_t index, const String& text);

protected:
    using RectControl::RectControl;
};

}
