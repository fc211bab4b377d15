#pragma once

#include "TextEdit.h"

namespace platform {

// A one-line text field.
class TextField final : public TextEdit {
public:
    static const ClassRecord& Lookup();

    // A mask of "#" admits one digit; the empty mask admits anything.
    static void MaskSet(Object& field, std::int32_t index, const String& mask);
    static String MaskGet(Object& field);

private:
    explicit TextField(const ClassRecord& record);
    friend struct TextFieldMaker;
};

}
