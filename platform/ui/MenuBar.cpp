#include "MenuBar.h"

#include "MenuItem.h"
#include "UnsupportedOperationException.h"

#include <vector>

namespace platform {

const ClassRecord& MenuBar::Lookup()
{
    static ClassCache cache;
    return cache.build(&MenuItem::Lookup, "MenuBar", SlotCount, [](ClassRecord& r) {
        r.declareSlots<MenuItem::SlotCount, SlotCount>({
            { SlotInstallClone, "_InstallClone", makeCode<void(Object&, const Ref<Object>&)>(&MenuBar::InstallClone) },
            { SlotDependencyList, "__DependencyList", unsupportedCode<void(Object&)>("MenuBar.__DependencyList") },
        });
    });
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
}
