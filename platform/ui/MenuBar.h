#pragma once

#include "ClassRecord.h"
#include "MenuItem.h"
#include "Object.h"
#include "Ref.h"

#include <cstddef>

namespace platform {

// The record of a menu bar: a MenuItem whose entries are the top menus of a window. Its objects
// are MenuItem storage; only the record differs.
class MenuBar final {
public:
    // MenuItem's slots, then these.
    enum Slot : std::size_t { SlotInstallClone = MenuItem::SlotCount, SlotDependencyList, SlotCount };

    static const ClassRecord& Lookup();

    // Replaces the menu bar's top menus with copies of source's entries, so a window can own a
    // menu bar built like another one.
    static void InstallClone(Object& self, const Ref<Object>& source);

    MenuBar() = delete;
};

}
