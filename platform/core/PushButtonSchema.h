#pragma once

#include "RectControlSchema.h"

namespace platform {

// What a property string may name on a push button, beyond a RectControl's.
inline constexpr PropertySchema::Declared pushButtonProperties[] = {
    { "Caption", PropertyType::String },
    { "TextFont", PropertyType::String },
    { "Default", PropertyType::Boolean },
    { "Cancel", PropertyType::Boolean },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
};

inline constexpr PropertySchema pushButtonSchema("PushButton", &rectControlSchema, pushButtonProperties);

}
