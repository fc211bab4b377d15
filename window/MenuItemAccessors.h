#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"
#include "Window1.h"

#include <array>

namespace Window1 {

// The window's accessors of its menu bar's items, in method-table order: each returns the item
// built under its name, cast to its class.
struct MenuItemAccessor {
    const char* name;
    bool quitItem; // a QuitMenuItem rather than a plain MenuItem
};

extern const std::array<MenuItemAccessor, 11> menuItemAccessors;
static_assert(menuItemAccessors.size() == SlotFileQuit - SlotEditMenu + 1, "one accessor for each accessor slot");

platform::Ref<platform::Object> menuItemNamed(platform::Object& window, const MenuItemAccessor& accessor);

}
