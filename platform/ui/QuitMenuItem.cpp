#include "QuitMenuItem.h"

#include "Runtime.h"
#include "MenuItem.h"

namespace platform {

const ClassRecord& QuitMenuItem::Lookup()
{
    static ClassCache cache;
    return cache.build(&MenuItem::Lookup, "QuitMenuItem", SlotCount, [](ClassRecord& r) {
        r.declareSlots<MenuItem::SlotCount, SlotCount>({
            { SlotEventAction, "Event_Action", makeCode<bool(Object&)>(&QuitMenuItem::Event_Action) },
        });
        r.setEventHandler(MenuItem::Events::Action, r.slot(SlotEventAction).code);
        // The class declares an Action event of its own as well; the inherited one is what choosing raises.
        r.declareEvents(MenuItem::Events::Action);
    });
}

bool QuitMenuItem::Event_Action(Object& self)
{
    MenuItem::from(self);
    Quit(0);
    return true;
}

}
