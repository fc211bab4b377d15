#include "MenuBar.h"

#include "MenuItem.h"
#include "UnsupportedOperationException.h"

#include <vector>

namespace platform {

namespace {

std::unique_ptr<ClassRecord> buildRecord()
{
    auto record = RuntimeNewClass(&MenuItem::Lookup());
    record->setName("MenuBar");
    RuntimeNewVtable(*record, MenuBar::SlotCount);
    record->setSlot(MenuBar::InstallCloneSlot, "_InstallClone",
                    makeCode<void(Object&, const Ref<Object>&)>(&MenuBar::InstallClone));
    record->setSlot(MenuBar::DependencyListSlot, "__DependencyList", makeCode<void(Object&)>(&MenuBar::DependencyList));
    return record;
}

}

const ClassRecord& MenuBar::Lookup()
{
    static const std::unique_ptr<ClassRecord> record = buildRecord();
    return *record;
}

void MenuBar::InstallClone(Object& self, const Ref<Object>& source)
{
    MenuItem& bar = MenuItem::from(self);
    MenuItem& original = MenuItem::from(source.object());
    // Copies first, so a failure leaves the menu bar as it was.
    std::vector<Ref<Object>> copies;
    for (const Ref<MenuItem>& entry : original.children())
        copies.emplace_back(entry->deepCopy());
    while (MenuItem::Count(bar) > 0)
        MenuItem::RemoveAt(bar, MenuItem::Count(bar) - 1);
    for (const Ref<Object>& copy : copies)
        MenuItem::Append(bar, copy);
}

void MenuBar::DependencyList(Object& self)
{
    throw UnsupportedOperationException("__DependencyList of " + MenuItem::from(self).where()
                                        + " lists what ahead-of-time linking keeps; this framework links nothing at run time");
}

}
