#pragma once

#include "RectControl.h"

class QLineEdit;

namespace platform {

// An editable text control.
class TextEdit : public RectControl {
public:
    static const ClassRecord& Lookup();

    static String TextGet(Object& edit);
    static void TextSet(Object& edit, std::int32_t index, const String& text);
    // A mask of "#" admits one digit; the empty mask admits anything.
    static void MaskSet(Object& edit, std::int32_t index, const String& mask);

    // The single line that shows an editable text, the one kind this framework has.
    static QLineEdit& line(Object& edit);

    // The properties a property string can set on an editable text.
    static const PropertyTable& properties();

protected:
    using RectControl::RectControl;
};

}
