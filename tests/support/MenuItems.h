#pragma once

#include "MenuItem.h"

#include <string>
#include <vector>

// Menus built and searched through the items' method table, as a program does it.
namespace testsupport {

using platform::Object;
using platform::Ref;

inline Ref<Object> newItem(const char* name, const platform::ClassRecord& record = platform::MenuItem::Lookup())
{
    Ref<Object> item = platform::RuntimeNewObject(record);
    item->record().callSlot<void(Object&)>(platform::MenuItem::SlotConstructor, *item);
    platform::MenuItem::NameSet(*item, 0, platform::String(name));
    return item;
}

inline void append(const Ref<Object>& parent, const Ref<Object>& item)
{
    parent->record().callSlot<void(Object&, const Ref<Object>&)>(platform::MenuItem::SlotAppend, *parent, item);
}

inline Ref<Object> child(const Ref<Object>& parent, const char* name)
{
    return parent->record().callSlot<Ref<Object>(Object&, const platform::String&)>(platform::MenuItem::SlotChild, *parent, platform::String(name));
}

inline Ref<Object> lookup(const Ref<Object>& root, const char* name)
{
    return root->record().callSlot<Ref<Object>(Object&, const platform::String&)>(platform::MenuItem::SlotLookup, *root, platform::String(name));
}

// The names of an item's children, in their order.
inline std::vector<std::string> names(const Ref<Object>& parent)
{
    std::vector<std::string> result;
    for (const Ref<platform::MenuItem>& c : platform::MenuItem::from(*parent).children())
        result.push_back(c->name().toStdString());
    return result;
}

}
