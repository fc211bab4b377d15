#pragma once

#include "TextEditSchema.h"

namespace platform {

// What a property string may name on a one-line text field, beyond a TextEdit's.
inline constexpr PropertySchema::Declared textFieldProperties[] = {
    { "Password", PropertyType::Boolean },
    { "CueText", PropertyType::String },
    { "LimitText", PropertyType::Int32 },
};

inline constexpr PropertySchema textFieldSchema("TextField", &textEditSchema, textFieldProperties);

}
