#pragma once

#include "PropertySchema.h"

namespace platform {

// What a property string may name on a window, and how each value is read.
inline constexpr PropertySchema::Declared windowProperties[] = {
    { "Placement", PropertyType::Int32 },
    { "Width", PropertyType::Int32 },
    { "Height", PropertyType::Int32 },
    { "MinWidth", PropertyType::Int32 },
    { "MinHeight", PropertyType::Int32 },
    { "MaxWidth", PropertyType::Int32 },
    { "MaxHeight", PropertyType::Int32 },
    { "Frame", PropertyType::Int32 },
    { "MacProcId", PropertyType::Int32, "MacProcID" },
    { "Composite", PropertyType::Boolean },
    { "HasBackColor", PropertyType::Boolean },
    { "Visible", PropertyType::Boolean },
    { "FullScreen", PropertyType::Boolean },
    { "MenuBarVisible", PropertyType::Boolean },
    { "CloseButton", PropertyType::Boolean },
    { "Resizeable", PropertyType::Boolean },
    { "LiveResize", PropertyType::Boolean },
    { "MaximizeButton", PropertyType::Boolean },
    { "MinimizeButton", PropertyType::Boolean },
    { "BackColor", PropertyType::Color },
    { "Title", PropertyType::String },
};

inline constexpr PropertySchema windowSchema("Window", nullptr, windowProperties);

}
