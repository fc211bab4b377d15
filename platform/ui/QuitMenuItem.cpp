#include "QuitMenuItem.h"

#include "Runtime.h"
#include "MenuItem.h"

namespace platform {

namespace {

std::unique_ptr<ClassRecord> buildRecord()
{
    auto record = RuntimeNewClass(&MenuItem::Lookup());
    record->setName("QuitMenuItem");
    RuntimeNewVtable(*record, QuitMenuItem::SlotCount);
    Code action = makeCode<bool(Object&)>(&QuitMenuItem::Event_Action);
    record->setSlot(QuitMenuItem::EventActionSlot, "Event_Action", action);
    record->setEventHandler(MenuItem::ActionEvent, action);
    // The class declares an Action event of its own as well; the inherited one is what choosing raises.
    record->events().push_back(EventEntry { MenuItem::ActionEvent, nullptr });
    return record;
}

}

const ClassRecord& QuitMenuItem::Lookup()
{
    static const std::unique_ptr<ClassRecord> record = buildRecord();
    return *record;
}

bool QuitMenuItem::Event_Action(Object& self)
{
    MenuItem::from(self);
    Quit(0);
    return true;
}

}
