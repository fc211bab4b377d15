#pragma once

#include "RectControlSchema.h"

namespace platform {

// What a property string may name on an editable text, beyond a RectControl's.
inline constexpr PropertySchema::Declared textEditProperties[] = {
    { "TextFont", PropertyType::String },
    { "Format", PropertyType::String },
    { "Text", PropertyType::String },
    { "Mask", PropertyType::String },
    { "DataSource", PropertyType::String },
    { "DataField", PropertyType::String },
    { "Border", PropertyType::Boolean },
    { "UseFocusRing", PropertyType::Boolean },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
    { "ReadOnly", PropertyType::Boolean },
    { "AcceptTabs", PropertyType::Boolean },
    { "TextColor", PropertyType::Color },
    { "BackColor", PropertyType::Color },
    { "Alignment", PropertyType::Int32 },
};

inline constexpr PropertySchema textEditSchema("TextEdit", &rectControlSchema, textEditProperties);

}
