#pragma once

#include "ClassEvent.h"
#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"
#include "String.h"
#include "Value.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class MenuItemView;

// The storage of every menu item, top menu and menu bar: the properties the program sets and the
// children it appends. What the item shows on screen is kept by its view, made only when a window
// or a popup first needs it, so items can be built before any window exists.
//
// The operations below are the code of the record's slots: each takes its receiver as the first
// argument, so a program class built on MenuItem can replace any of them in its own record.
class MenuItem : public Object {
public:
    // Method-table slots, in the order every record built on MenuItem keeps them.
    enum Slot : std::size_t {
        SlotEnable, SlotClose, SlotItem, SlotItemCount, SlotChild, SlotAppend, SlotInsert, SlotRemoveAt,
        SlotRemoveItem, SlotRemoveNamed, SlotLookup, SlotLookupNth, SlotMenuItem, SlotConstructorWithTag, SlotPopUp,
        SlotPopUpAt, SlotSwap, SlotDisableEntirely, SlotSelfEnable, SlotMenuItemWithTag, SlotConstructor, SlotCount
    };

    // Events, in table order.
    struct Events {
        // True when the handler took care of the choice.
        static constexpr ClassEvent<bool()> Action { "Action" };
        // Run after AutoEnable decided; free to call Enable.
        static constexpr ClassEvent<void()> EnableMenu { "EnableMenu" };
    };

    static const ClassRecord& Lookup();

    // The item behind an object; anything else raises the illegal-cast exception.
    static MenuItem& from(Object& object);
    static Ref<MenuItem> from(const Ref<Object>& object);

    ~MenuItem() override;

    // Slot code.
    static void Enable(Object& self);
    static void Close(Object& self);
    static Ref<Object> Item(Object& self, std::int32_t index);
    static std::int32_t Count(Object& self);
    static Ref<Object> Child(Object& self, const String& name);
    static void Append(Object& self, const Ref<Object>& item);
    static void Insert(Object& self, std::int32_t index, const Ref<Object>& item);
    static void RemoveAt(Object& self, std::int32_t index);
    static void RemoveItem(Object& self, const Ref<Object>& item);
    static void RemoveNamed(Object& self, const String& name);
    static Ref<Object> LookupNamed(Object& self, const String& name);
    static Ref<Object> LookupNth(Object& self, const String& name, std::int32_t occurrence);
    static void Constructor(Object& self);
    static void ConstructorWithTag(Object& self, const String& text, const Value& tag);
    static Ref<Object> PopUp(Object& self);
    static Ref<Object> PopUpAt(Object& self, std::int32_t x, std::int32_t y);
    static void Swap(Object& self, const String& name, const Ref<Object>& item);
    static void DisableEntirely(Object& self);
    static void SelfEnable(Object& self);

    // Property accessors: the object, an index that must be 0, and the value.
    static void NameSet(Object& self, std::int32_t index, const String& value);
    static String NameGet(Object& self, std::int32_t index);
    static void AutoEnableSet(Object& self, std::int32_t index, bool value);
    static bool AutoEnableGet(Object& self, std::int32_t index);
    static void TextSet(Object& self, std::int32_t index, const String& value);
    static String TextGet(Object& self, std::int32_t index);
    // "Cmd+" stands for the platform's primary modifier; the empty text removes the shortcut.
    static void KeyboardShortcutSet(Object& self, std::int32_t index, const String& value);
    static String KeyboardShortcutGet(Object& self, std::int32_t index);
    static void EnabledSet(Object& self, std::int32_t index, bool value);
    static bool EnabledGet(Object& self, std::int32_t index);
    static void TagSet(Object& self, std::int32_t index, const Value& value);
    static Value TagGet(Object& self, std::int32_t index);

    const String& name() const noexcept { return m_name; }
    const String& text() const noexcept { return m_text; }
    const String& keyboardShortcut() const noexcept { return m_shortcut; }
    bool autoEnable() const noexcept { return m_autoEnable; }
    bool enabled() const noexcept { return m_enabled; }
    bool isSeparator() const noexcept;
    bool isMenuBar() const noexcept;

    MenuItem* parentItem() const noexcept { return m_parent; }
    const std::vector<Ref<MenuItem>>& children() const noexcept { return m_children; }
    // A new item of the same class with the same properties and copies of every entry below.
    Ref<MenuItem> deepCopy() const;
    // How errors name the item: its class and, when it has one, its name.
    std::string where() const;

    // The view, made on first use; only platform code that sees Qt asks for it.
    MenuItemView& view();
    MenuItemView* existingView() const noexcept { return m_view.get(); }

protected:
    explicit MenuItem(const ClassRecord& record);

private:
    friend struct StorageMaker<MenuItem>;

    // The item behind self, once the property index is known to be 0, the only one there is.
    static MenuItem& checked(Object& self, std::int32_t index, const char* property);
    void insertChild(std::size_t position, const Ref<MenuItem>& child);
    void removeChildAt(std::size_t position);
    std::size_t positionOf(const MenuItem& child) const;
    void setEnabled(bool enabled);
    void propertiesChanged();

    String m_name;
    String m_text;
    String m_shortcut;
    bool m_autoEnable = false;
    bool m_enabled = true;
    Value m_tag;
    MenuItem* m_parent = nullptr; // the parent owns its children, so this never dangles
    std::vector<Ref<MenuItem>> m_children;
    std::unique_ptr<MenuItemView> m_view;
};

// The record of a menu item that quits the application when chosen, with no handler of the
// program's. Its objects are MenuItem storage; only the record differs, so it lives beside
// MenuItem's.
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
