#pragma once

#include "RectControlSchema.h"

namespace platform {

// What a property string may name on a label, beyond a RectControl's.
inline constexpr PropertySchema::Declared staticTextProperties[] = {
    { "Text", PropertyType::String },
    { "TextFont", PropertyType::String },
    { "DataSource", PropertyType::String },
    { "DataField", PropertyType::String },
    { "TextAlign", PropertyType::Int32 },
    { "TextColor", PropertyType::Color },
    { "MultiLine", PropertyType::Boolean, "Multiline" },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
};

inline constexpr PropertySchema staticTextSchema("StaticText", &rectControlSchema, staticTextProperties);

}
