#pragma once

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
    static constexpr std::size_t EnableSlot = 0;
    static constexpr std::size_t CloseSlot = 1;
    static constexpr std::size_t ItemSlot = 2;
    static constexpr std::size_t CountSlot = 3;
    static constexpr std::size_t ChildSlot = 4;
    static constexpr std::size_t AppendSlot = 5;
    static constexpr std::size_t InsertSlot = 6;
    static constexpr std::size_t RemoveAtSlot = 7;
    static constexpr std::size_t RemoveItemSlot = 8;
    static constexpr std::size_t RemoveNamedSlot = 9;
    static constexpr std::size_t LookupSlot = 10;
    static constexpr std::size_t LookupNthSlot = 11;
    static constexpr std::size_t MenuItemSlot = 12;
    static constexpr std::size_t ConstructorWithTagSlot = 13;
    static constexpr std::size_t PopUpSlot = 14;
    static constexpr std::size_t PopUpAtSlot = 15;
    static constexpr std::size_t SwapSlot = 16;
    static constexpr std::size_t DisableEntirelySlot = 17;
    static constexpr std::size_t SelfEnableSlot = 18;
    static constexpr std::size_t MenuItemWithTagSlot = 19;
    static constexpr std::size_t ConstructorSlot = 20;
    static constexpr std::size_t SlotCount = 21;

    // Events, in table order. Handlers: "Action" bool(Object&), true when it handled the choice;
    // "EnableMenu" void(Object&), run after AutoEnable decided, free to call Enable.
    static constexpr const char* ActionEvent = "Action";
    static constexpr const char* EnableMenuEvent = "EnableMenu";

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
    // A shortcut set to the empty text and one never set look alike; this tells them apart.
    bool keyboardShortcutWasSet() const noexcept { return m_shortcutWasSet; }
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
    friend struct MenuItemMaker;

    static void checkIndex(const MenuItem& item, std::int32_t index, const char* property);
    void insertChild(std::size_t position, const Ref<MenuItem>& child);
    void removeChildAt(std::size_t position);
    std::size_t positionOf(const MenuItem& child) const;
    void setEnabled(bool enabled);
    void propertiesChanged();

    String m_name;
    String m_text;
    String m_shortcut;
    bool m_shortcutWasSet = false;
    bool m_autoEnable = false;
    bool m_enabled = true;
    Value m_tag;
    MenuItem* m_parent = nullptr; // the parent owns its children, so this never dangles
    std::vector<Ref<MenuItem>> m_children;
    std::unique_ptr<MenuItemView> m_view;
};

}
