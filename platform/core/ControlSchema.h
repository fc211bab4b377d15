#pragma once

#include "PropertySchema.h"

namespace platform {

// What a property string may name on any control, and how each value is read. Control's own
// rows in the UI bind these names to the control.
inline constexpr PropertySchema::Declared controlProperties[] = {
    { "Name", PropertyType::String },
    { "Index", PropertyType::Int32 },
    { "TabPanelIndex", PropertyType::Int32 },
};

inline constexpr PropertySchema controlSchema("Control", nullptr, controlProperties);

}
