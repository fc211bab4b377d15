#pragma once

#include "RectControlSchema.h"

namespace platform {

// What a property string may name on a popup menu, beyond a RectControl's.
inline constexpr PropertySchema::Declared popupMenuProperties[] = {
    { "InitialValue", PropertyType::String },
    { "TextFont", PropertyType::String },
    { "DataSource", PropertyType::String },
    { "DataField", PropertyType::String },
    { "ListIndex", PropertyType::Int32 },
    { "Bold", PropertyType::Boolean },
    { "Italic", PropertyType::Boolean },
    { "Underline", PropertyType::Boolean },
};

inline constexpr PropertySchema popupMenuSchema("PopupMenu", &rectControlSchema, popupMenuProperties);

}
