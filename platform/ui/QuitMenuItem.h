#pragma once

#include "ClassRecord.h"
#include "MenuItem.h"
#include "Object.h"

#include <cstddef>

namespace platform {

// The record of a menu item that quits the application when chosen, with no handler of the
// program's. Its objects are MenuItem storage; only the record differs.
class QuitMenuItem final {
public:
    // MenuItem's slots, then this.
    enum Slot : std::size_t { SlotEventAction = MenuItem::SlotCount, SlotCount };

    static const ClassRecord& Lookup();

    // The handler of the item's Action event: the framework's quit, whose result it returns.
    static bool Event_Action(Object& self);

    QuitMenuItem() = delete;
};

}
