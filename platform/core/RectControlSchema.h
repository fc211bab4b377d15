#pragma once

#include "ControlSchema.h"

namespace platform {

// What a property string may name on a control with a rectangle, beyond a Control's.
inline constexpr PropertySchema::Declared rectControlProperties[] = {
    { "Left", PropertyType::Int32 },
    { "Top", PropertyType::Int32 },
    { "Width", PropertyType::Int32 },
    { "Height", PropertyType::Int32 },
    { "TabIndex", PropertyType::Int32 },
    { "LockLeft", PropertyType::Boolean },
    { "LockTop", PropertyType::Boolean },
    { "LockRight", PropertyType::Boolean },
    { "LockBottom", PropertyType::Boolean },
    { "TabStop", PropertyType::Boolean },
    { "Enabled", PropertyType::Boolean },
    { "Visible", PropertyType::Boolean },
    { "AutoDeactivate", PropertyType::Boolean },
    { "HelpTag", PropertyType::String },
    { "InitialParent", PropertyType::String },
};

inline constexpr PropertySchema rectControlSchema("RectControl", &controlSchema, rectControlProperties);

}
