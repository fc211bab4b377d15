#include "MenuItem.h"

#include "ClassEvent.h"
#include "EditCommands.h"
#include "KeyboardShortcut.h"
#include "MenuBar.h"
#include "MenuItemView.h"
#include "OutOfBoundsException.h"
#include "Runtime.h"
#include "StorageCast.h"
#include "UnsupportedOperationException.h"

#include <algorithm>

namespace platform {

namespace {

// Depth first, each item before its entries, in menu order: the order a reader scans the menus.
const MenuItem* findBelow(const MenuItem& root, const String& name, std::int32_t& skip)
{
    for (const Ref<MenuItem>& child : root.children()) {
        if (child->name() == name && skip-- == 0)
            return child.get();
        if (const MenuItem* found = findBelow(*child, name, skip))
            return found;
    }
    return nullptr;
}

// index as a position among item's entries, from 0 to highest (-1 when there is none).
std::size_t checkedPosition(const MenuItem& item, std::int32_t index, long highest, const char* operation)
{
    if (index < 0 || index > highest)
        throw OutOfBoundsException(std::string(operation) + " of " + item.where() + ": index " + std::to_string(index)
                                   + " is outside 0 to " + std::to_string(highest));
    return static_cast<std::size_t>(index);
}

long lastPosition(const MenuItem& item)
{
    return static_cast<long>(item.children().size()) - 1;
}

}

const ClassRecord& MenuItem::Lookup()
{
    using namespace slotParameters;
    static ClassCache cache;
    return cache.build(nullptr, "MenuItem", SlotCount, [](ClassRecord& r) {
        r.declareSlots<0, SlotCount>({
            { SlotEnable, "Enable", makeCode<void(Object&)>(&MenuItem::Enable) },
            { SlotClose, "Close", makeCode<void(Object&)>(&MenuItem::Close) },
            { SlotItem, "Item", makeCode<Ref<Object>(Object&, I32)>(&MenuItem::Item) },
            { SlotItemCount, "Count", makeCode<I32(Object&)>(&MenuItem::Count) },
            { SlotChild, "Child", makeCode<Ref<Object>(Object&, Str)>(&MenuItem::Child) },
            { SlotAppend, "Append", makeCode<void(Object&, Obj)>(&MenuItem::Append) },
            { SlotInsert, "Insert", makeCode<void(Object&, I32, Obj)>(&MenuItem::Insert) },
            { SlotRemoveAt, "Remove", makeCode<void(Object&, I32)>(&MenuItem::RemoveAt) },
            { SlotRemoveItem, "Remove", makeCode<void(Object&, Obj)>(&MenuItem::RemoveItem) },
            { SlotRemoveNamed, "Remove", makeCode<void(Object&, Str)>(&MenuItem::RemoveNamed) },
            { SlotLookup, "_Lookup", makeCode<Ref<Object>(Object&, Str)>(&MenuItem::LookupNamed) },
            { SlotLookupNth, "_Lookup", makeCode<Ref<Object>(Object&, Str, I32)>(&MenuItem::LookupNth) },
            { SlotMenuItem, "MenuItem", makeCode<void(Object&)>(&MenuItem::Constructor) },
            { SlotConstructorWithTag, "Constructor", makeCode<void(Object&, Str, const Value&)>(&MenuItem::ConstructorWithTag) },
            { SlotPopUp, "PopUp", makeCode<Ref<Object>(Object&)>(&MenuItem::PopUp) },
            { SlotPopUpAt, "PopUp", makeCode<Ref<Object>(Object&, I32, I32)>(&MenuItem::PopUpAt) },
            { SlotSwap, "_Swap", makeCode<void(Object&, Str, Obj)>(&MenuItem::Swap) },
            { SlotDisableEntirely, "_DisableEntirely", makeCode<void(Object&)>(&MenuItem::DisableEntirely) },
            { SlotSelfEnable, "_SelfEnable", makeCode<void(Object&)>(&MenuItem::SelfEnable) },
            { SlotMenuItemWithTag, "MenuItem", makeCode<void(Object&, Str, const Value&)>(&MenuItem::ConstructorWithTag) },
            { SlotConstructor, "Constructor", makeCode<void(Object&)>(&MenuItem::Constructor) },
        });
        r.declareEvents(Events::Action, Events::EnableMenu);
    }, &StorageMaker<MenuItem>::make);
}

MenuItem::MenuItem(const ClassRecord& record)
    : Object(record)
{
}

MenuItem::~MenuItem()
{
    // The screen side goes first, while the entries it shows still exist.
    m_view.reset();
    for (const Ref<MenuItem>& child : m_children)
        child->m_parent = nullptr;
}

MenuItem& MenuItem::from(Object& object)
{
    return storageAs<MenuItem>(object, "a MenuItem");
}

Ref<MenuItem> MenuItem::from(const Ref<Object>& object)
{
    return Ref<MenuItem>(&from(object.object()));
}

std::string MenuItem::where() const
{
    std::string text = record().name().toStdString();
    if (!m_name.isEmpty())
        text += " \"" + m_name.toStdString() + "\"";
    return text;
}

bool MenuItem::isSeparator() const noexcept
{
    return m_text.bytes() == "-";
}

bool MenuItem::isMenuBar() const noexcept
{
    return isA(MenuBar::Lookup());
}

MenuItemView& MenuItem::view()
{
    if (!m_view)
        m_view = std::make_unique<MenuItemView>(*this);
    return *m_view;
}

void MenuItem::propertiesChanged()
{
    if (m_view)
        m_view->propertiesChanged();
}

void MenuItem::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    propertiesChanged();
}

std::size_t MenuItem::positionOf(const MenuItem& child) const
{
    auto it = std::find_if(m_children.begin(), m_children.end(),
                           [&](const Ref<MenuItem>& c) { return c.get() == &child; });
    return static_cast<std::size_t>(it - m_children.begin());
}

void MenuItem::insertChild(std::size_t position, const Ref<MenuItem>& child)
{
    if (child->isMenuBar())
        throw UnsupportedOperationException("a menu bar cannot be an entry of " + where());
    for (const MenuItem* up = this; up; up = up->m_parent) {
        if (up == child.get())
            throw UnsupportedOperationException(child->where() + " cannot be placed inside itself");
    }
    // Keeps the item alive between leaving its old place and taking the new one.
    Ref<MenuItem> moving = child;
    if (MenuItem* old = moving->m_parent) {
        const std::size_t oldPosition = old->positionOf(*moving);
        old->removeChildAt(oldPosition);
        if (old == this && oldPosition < position)
            --position;
    }
    m_children.insert(m_children.begin() + static_cast<std::ptrdiff_t>(position), moving);
    moving->m_parent = this;
    if (m_view)
        m_view->childInserted(position);
}

void MenuItem::removeChildAt(std::size_t position)
{
    Ref<MenuItem> child = m_children[position];
    m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(position));
    child->m_parent = nullptr;
    if (m_view)
        m_view->childRemoved(*child);
}

void MenuItem::Enable(Object& self)
{
    from(self).setEnabled(true);
}

void MenuItem::Close(Object& self)
{
    MenuItem& item = from(self);
    if (MenuItem* parent = item.m_parent)
        parent->removeChildAt(parent->positionOf(item));
}

Ref<Object> MenuItem::Item(Object& self, std::int32_t index)
{
    MenuItem& item = from(self);
    return Ref<Object>(item.m_children[checkedPosition(item, index, lastPosition(item), "Item")].get());
}

std::int32_t MenuItem::Count(Object& self)
{
    return static_cast<std::int32_t>(from(self).m_children.size());
}

Ref<Object> MenuItem::Child(Object& self, const String& name)
{
    MenuItem& item = from(self);
    if (name.isEmpty())
        return nullptr;
    for (const Ref<MenuItem>& child : item.m_children) {
        if (child->m_name == name)
            return Ref<Object>(child.get());
    }
    return nullptr;
}

void MenuItem::Append(Object& self, const Ref<Object>& item)
{
    MenuItem& parent = from(self);
    // An entry the menu already holds moves to the end.
    parent.insertChild(parent.m_children.size(), from(item));
}

void MenuItem::Insert(Object& self, std::int32_t index, const Ref<Object>& item)
{
    MenuItem& parent = from(self);
    Ref<MenuItem> child = from(item);
    parent.insertChild(checkedPosition(parent, index, lastPosition(parent) + 1, "Insert"), child);
}

void MenuItem::RemoveAt(Object& self, std::int32_t index)
{
    MenuItem& parent = from(self);
    parent.removeChildAt(checkedPosition(parent, index, lastPosition(parent), "Remove"));
}

void MenuItem::RemoveItem(Object& self, const Ref<Object>& item)
{
    MenuItem& parent = from(self);
    MenuItem& child = from(item.object());
    if (child.m_parent == &parent)
        parent.removeChildAt(parent.positionOf(child));
}

void MenuItem::RemoveNamed(Object& self, const String& name)
{
    if (Ref<Object> child = Child(self, name))
        RemoveItem(self, child);
}

Ref<Object> MenuItem::LookupNamed(Object& self, const String& name)
{
    return LookupNth(self, name, 0);
}

Ref<Object> MenuItem::LookupNth(Object& self, const String& name, std::int32_t occurrence)
{
    MenuItem& root = from(self);
    if (occurrence < 0)
        throw OutOfBoundsException("_Lookup in " + root.where() + ": occurrence " + std::to_string(occurrence)
                                   + " is negative");
    if (name.isEmpty())
        return nullptr;
    return Ref<Object>(const_cast<MenuItem*>(findBelow(root, name, occurrence)));
}

void MenuItem::Constructor(Object& self)
{
    // Object creation has already made the item ready; this only checks it is one.
    from(self);
}

void MenuItem::ConstructorWithTag(Object& self, const String& text, const Value& tag)
{
    MenuItem& item = from(self);
    item.m_text = text;
    item.m_tag = tag;
    item.propertiesChanged();
}

Ref<Object> MenuItem::PopUp(Object& self)
{
    MenuItem& item = from(self);
    Ref<MenuItem> keep(&item);
    return item.view().popUp(std::nullopt);
}

Ref<Object> MenuItem::PopUpAt(Object& self, std::int32_t x, std::int32_t y)
{
    MenuItem& item = from(self);
    Ref<MenuItem> keep(&item);
    return item.view().popUp(std::make_pair(x, y));
}

void MenuItem::Swap(Object& self, const String& name, const Ref<Object>& item)
{
    MenuItem& parent = from(self);
    Ref<MenuItem> replacement = from(item);
    Ref<Object> old = Child(self, name);
    if (!old)
        throw OutOfBoundsException("_Swap in " + parent.where() + ": no entry named \"" + name.toStdString() + "\"");
    if (old.get() == replacement.get())
        return;
    MenuItem& oldItem = from(*old);
    parent.insertChild(parent.positionOf(oldItem), replacement);
    parent.removeChildAt(parent.positionOf(oldItem));
}

void MenuItem::DisableEntirely(Object& self)
{
    MenuItem& item = from(self);
    item.setEnabled(false);
    for (const Ref<MenuItem>& child : item.m_children)
        child->record().callSlot<void(Object&)>(SlotDisableEntirely, *child);
}

void MenuItem::SelfEnable(Object& self)
{
    MenuItem& item = from(self);
    Ref<MenuItem> keep(&item);
    bool enabled = false;
    if (item.m_autoEnable)
        enabled = editCommandApplies(item.m_name.bytes()).value_or(true);
    item.setEnabled(enabled);
    raiseEvent(item, Events::EnableMenu);
}

MenuItem& MenuItem::checked(Object& self, std::int32_t index, const char* property)
{
    MenuItem& item = from(self);
    if (index != 0)
        throw OutOfBoundsException(std::string(property) + " of " + item.where() + ": index " + std::to_string(index)
                                   + " given, only 0 exists");
    return item;
}

void MenuItem::NameSet(Object& self, std::int32_t index, const String& value)
{
    checked(self, index, "Name").m_name = value;
}

String MenuItem::NameGet(Object& self, std::int32_t index)
{
    return checked(self, index, "Name").m_name;
}

void MenuItem::AutoEnableSet(Object& self, std::int32_t index, bool value)
{
    checked(self, index, "AutoEnable").m_autoEnable = value;
}

bool MenuItem::AutoEnableGet(Object& self, std::int32_t index)
{
    return checked(self, index, "AutoEnable").m_autoEnable;
}

void MenuItem::TextSet(Object& self, std::int32_t index, const String& value)
{
    MenuItem& item = checked(self, index, "Text");
    item.m_text = value;
    item.propertiesChanged();
}

String MenuItem::TextGet(Object& self, std::int32_t index)
{
    return checked(self, index, "Text").m_text;
}

void MenuItem::KeyboardShortcutSet(Object& self, std::int32_t index, const String& value)
{
    MenuItem& item = checked(self, index, "KeyboardShortcut");
    // Checked now, so a bad shortcut is reported where it is set and the old one is kept.
    shortcutFromText(value.bytes(), item.where());
    item.m_shortcut = value;
    item.propertiesChanged();
}

String MenuItem::KeyboardShortcutGet(Object& self, std::int32_t index)
{
    return checked(self, index, "KeyboardShortcut").m_shortcut;
}

void MenuItem::EnabledSet(Object& self, std::int32_t index, bool value)
{
    MenuItem& item = checked(self, index, "Enabled");
    item.setEnabled(value);
}

bool MenuItem::EnabledGet(Object& self, std::int32_t index)
{
    return checked(self, index, "Enabled").m_enabled;
}

void MenuItem::TagSet(Object& self, std::int32_t index, const Value& value)
{
    checked(self, index, "Tag").m_tag = value;
}

Value MenuItem::TagGet(Object& self, std::int32_t index)
{
    return checked(self, index, "Tag").m_tag;
}

Ref<MenuItem> MenuItem::deepCopy() const
{
    Ref<MenuItem> copy = from(RuntimeNewObject(record()));
    copy->m_name = m_name;
    copy->m_text = m_text;
    copy->m_shortcut = m_shortcut;
    copy->m_autoEnable = m_autoEnable;
    copy->m_enabled = m_enabled;
    copy->m_tag = m_tag;
    for (const Ref<MenuItem>& child : m_children)
        copy->insertChild(copy->m_children.size(), child->deepCopy());
    return copy;
}

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
