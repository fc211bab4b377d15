#include "FrameworkTest.h"
#include "IllegalCastException.h"
#include "IntList.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItems.h"
#include "OutOfBoundsException.h"
#include "UnsupportedOperationException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace platform;

namespace {

using namespace testsupport;
using Names = std::vector<std::string>;

// A bar with File { Open, Recent { One, Two } } and Edit { Copy }.
struct SampleBar {
    Ref<Object> bar = newItem("Bar", MenuBar::Lookup()), file = newItem("FileMenu"), recent = newItem("Recent"),
                edit = newItem("EditMenu");
    SampleBar()
    {
        using Pairs = std::vector<std::pair<Ref<Object>, Ref<Object>>>;
        for (const auto& [parent, item] : Pairs { { bar, file }, { bar, edit }, { file, newItem("FileOpen") }, { file, recent },
                                                  { recent, newItem("One") }, { recent, newItem("Two") }, { edit, newItem("EditCopy") } })
            append(parent, item);
    }
};

// Guards: a slot out of place or without code, which makes every call by index from a derived record run the wrong
// code; the quit item without its handler, which would leave File > Quit doing nothing, or without its second Action.
TEST(MenuRecords, KeepTheSlotOrderAndEvents)
{
    const Names itemSlots = { "Enable", "Close", "Item", "Count", "Child", "Append", "Insert", "Remove", "Remove",
                              "Remove", "_Lookup", "_Lookup", "MenuItem", "Constructor", "PopUp", "PopUp", "_Swap",
                              "_DisableEntirely", "_SelfEnable", "MenuItem", "Constructor" };
    struct Row { const char* name; const ClassRecord& (*record)(); const ClassRecord* parent; Names ownSlots, events; };
    for (const Row& row : std::vector<Row> {
             { "MenuItem", &MenuItem::Lookup, nullptr, {}, { "Action", "EnableMenu" } },
             { "MenuBar", &MenuBar::Lookup, &MenuItem::Lookup(), { "_InstallClone", "__DependencyList" }, { "Action", "EnableMenu" } },
             { "QuitMenuItem", &QuitMenuItem::Lookup, &MenuItem::Lookup(), { "Event_Action" }, { "Action", "EnableMenu", "Action" } } }) {
        SCOPED_TRACE(row.name);
        const ClassRecord& record = row.record();
        EXPECT_EQ(&row.record(), &record) << "built once";
        EXPECT_EQ(record.name(), String(row.name));
        EXPECT_EQ(record.parent(), row.parent);
        Names slots, events, expected = itemSlots;
        for (const Slot& slot : record.methods())
            slots.push_back(slot.code ? slot.name : slot.name + " without code");
        for (const EventEntry& event : record.events())
            events.emplace_back(event.name);
        expected.insert(expected.end(), row.ownSlots.begin(), row.ownSlots.end());
        EXPECT_EQ(slots, expected);
        EXPECT_EQ(events, row.events);
        const bool quits = &record == &QuitMenuItem::Lookup();
        EXPECT_EQ(record.eventHandler("Action"), quits ? record.slot(QuitMenuItem::SlotEventAction).code : nullptr);
    }
}

// Guards: overloaded operations sharing code or signature, so one Remove would be taken for another; _Swap losing
// the replaced entry's place.
TEST(MenuItemEditing, SwapKeepsThePlaceAndEachRemoveRemovesByItsOwnKind)
{
    SampleBar s;
    const Ref<Object> old = child(s.file, "FileOpen");
    MenuItem::Swap(*s.file, "FileOpen", newItem("FileNew"));
    EXPECT_EQ(names(s.file), Names({ "FileNew", "Recent" }));
    EXPECT_EQ(MenuItem::from(*old).parentItem(), nullptr);
    const ClassRecord& r = s.file->record();
    r.callSlot<void(Object&, std::int32_t)>(MenuItem::SlotRemoveAt, *s.file, 0);
    EXPECT_EQ(names(s.file), Names({ "Recent" }));
    r.callSlot<void(Object&, const Ref<Object>&)>(MenuItem::SlotRemoveItem, *s.file, s.recent);
    EXPECT_TRUE(names(s.file).empty());
    r.callSlot<void(Object&, const String&)>(MenuItem::SlotRemoveNamed, *s.bar, String("EditMenu"));
    EXPECT_EQ(names(s.bar), Names({ "FileMenu" }));
    EXPECT_THROW(r.callSlot<void(Object&, const String&)>(MenuItem::SlotRemoveAt, *s.file, String("x")),
                 SignatureMismatchException);
}

// Guards: a lookup that stops at the first level, which would miss every entry of a top menu; the numbered lookup
// ignoring its number, so items sharing a name could not be told apart.
TEST(MenuItemLookup, SearchesTheWholeTreeWhileChildLooksOneLevelAndNumberedLookupCountsInMenuOrder)
{
    SampleBar s;
    EXPECT_EQ(child(s.bar, "FileMenu"), s.file);
    EXPECT_FALSE(child(s.bar, "FileOpen"));
    EXPECT_FALSE(child(s.bar, ""));
    EXPECT_EQ(MenuItem::from(*lookup(s.bar, "Two")).name(), String("Two"));
    EXPECT_EQ(lookup(s.bar, "Recent"), s.recent);
    EXPECT_EQ(MenuItem::from(*lookup(s.bar, "EditCopy")).parentItem(), s.edit.get());
    EXPECT_FALSE(lookup(s.bar, "Missing"));
    EXPECT_FALSE(lookup(s.bar, "filemenu")) << "names are compared exactly";
    const Ref<Object> again = newItem("One");
    append(s.edit, again);
    auto nth = [&](std::int32_t n) {
        return s.bar->record().callSlot<Ref<Object>(Object&, const String&, std::int32_t)>(MenuItem::SlotLookupNth, *s.bar, String("One"), n);
    };
    EXPECT_EQ(MenuItem::from(*nth(0)).parentItem(), s.recent.get());
    EXPECT_EQ(nth(1), again);
    EXPECT_FALSE(nth(2));
    EXPECT_THROW(nth(-1), OutOfBoundsException);
}

using MenuItemTree = FrameworkTest;

// Guards: lost or leaked items: the parent must keep what it is given and free it with itself; an entry outliving
// its parent pointing at freed memory; an item shown in two menus at once, or reordering that drops or duplicates
// entries.
TEST_F(MenuItemTree, ParentsKeepTheirEntriesAndAppendInsertAndCloseMoveThemWithoutCopies)
{
    Ref<Object> menu = newItem("Menu");
    Object* raw = nullptr;
    {
        const Ref<Object> entry = newItem("Entry");
        raw = entry.get();
        append(menu, entry);
        EXPECT_EQ(entry->refCount(), 2);
    }
    EXPECT_EQ(raw->refCount(), 1);
    EXPECT_EQ(MenuItem::Item(*menu, 0).get(), raw);
    EXPECT_EQ(MenuItem::Count(*menu), 1);
    const Ref<Object> kept = MenuItem::Item(*menu, 0);
    menu = nullptr;
    EXPECT_EQ(MenuItem::from(*kept).parentItem(), nullptr);
    EXPECT_EQ(kept->refCount(), 1);

    SampleBar s;
    const Ref<Object> open = child(s.file, "FileOpen");
    append(s.edit, open);
    EXPECT_EQ(names(s.file), Names({ "Recent" }));
    EXPECT_EQ(names(s.edit), Names({ "EditCopy", "FileOpen" }));
    append(s.edit, child(s.edit, "EditCopy"));
    EXPECT_EQ(names(s.edit), Names({ "FileOpen", "EditCopy" }));
    MenuItem::Insert(*s.edit, 2, open);
    EXPECT_EQ(names(s.edit), Names({ "EditCopy", "FileOpen" }));
    MenuItem::Insert(*s.edit, 0, open);
    EXPECT_EQ(names(s.edit), Names({ "FileOpen", "EditCopy" }));
    s.recent->record().callSlot<void(Object&)>(MenuItem::SlotClose, *s.recent);
    EXPECT_TRUE(names(s.file).empty());
    EXPECT_EQ(MenuItem::from(*s.recent).parentItem(), nullptr);
    EXPECT_EQ(s.recent->refCount(), 1);
}

// Expects act to raise E.
template<class E>
void raises(const std::function<void()>& act) { EXPECT_THROW(act(), E); }

// Guards: bad input that corrupts the tree (a cycle, a bar inside a menu) or passes unreported.
TEST(MenuItemBadInput, RaisesAClearErrorAndChangesNothing)
{
    struct Row { const char* name; void (*act)(SampleBar&); void (*raises)(const std::function<void()>&); };
    for (const Row& row : std::vector<Row> {
             { "ItemPastTheEnd", [](SampleBar& s) { MenuItem::Item(*s.file, 2); }, &raises<OutOfBoundsException> },
             { "ItemNegative", [](SampleBar& s) { MenuItem::Item(*s.file, -1); }, &raises<OutOfBoundsException> },
             { "InsertPastTheEnd", [](SampleBar& s) { MenuItem::Insert(*s.file, 3, newItem("X")); }, &raises<OutOfBoundsException> },
             { "RemovePastTheEnd", [](SampleBar& s) { MenuItem::RemoveAt(*s.file, 2); }, &raises<OutOfBoundsException> },
             { "AppendNil", [](SampleBar& s) { append(s.file, nullptr); }, &raises<NilObjectException> },
             { "AppendNotAMenuItem", [](SampleBar& s) { append(s.file, CreateArray(1, 0, -1)); }, &raises<IllegalCastException> },
             { "AppendItself", [](SampleBar& s) { append(s.file, s.file); }, &raises<UnsupportedOperationException> },
             { "AppendAncestor", [](SampleBar& s) { append(s.recent, s.file); }, &raises<UnsupportedOperationException> },
             { "AppendMenuBar", [](SampleBar& s) { append(s.file, newItem("B", MenuBar::Lookup())); }, &raises<UnsupportedOperationException> },
             { "SwapMissing", [](SampleBar& s) { MenuItem::Swap(*s.file, "Nope", newItem("X")); }, &raises<OutOfBoundsException> },
             { "SetterIndexNotZero", [](SampleBar& s) { MenuItem::TextSet(*s.file, 1, "x"); }, &raises<OutOfBoundsException> },
             { "SetterOnAnotherClass", [](SampleBar&) { MenuItem::TextSet(*CreateArray(1, 0, -1), 0, "x"); }, &raises<IllegalCastException> },
             { "DependencyList", [](SampleBar& s) { MenuBar::DependencyList(*s.bar); }, &raises<UnsupportedOperationException> } }) {
        SCOPED_TRACE(row.name);
        SampleBar s;
        auto state = [&s] { return std::tuple(names(s.file), names(s.bar), Object::liveInstances()); };
        const auto before = state();
        row.raises([&] { row.act(s); });
        EXPECT_EQ(state(), before);
    }
}

// Guards: a shortcut never set being reported as set (the separators' case), or a bad one replacing a good one.
TEST(MenuItemShortcut, TellsNeverSetFromSetEmptyAndKeepsTheOldOnBadText)
{
    const Ref<Object> item = newItem("Item");
    EXPECT_FALSE(MenuItem::from(*item).keyboardShortcutWasSet());
    MenuItem::KeyboardShortcutSet(*item, 0, String());
    EXPECT_TRUE(MenuItem::from(*item).keyboardShortcutWasSet());
    EXPECT_EQ(MenuItem::KeyboardShortcutGet(*item, 0), String());
    MenuItem::KeyboardShortcutSet(*item, 0, "Cmd+Q");
    EXPECT_THROW(MenuItem::KeyboardShortcutSet(*item, 0, "Cmd+"), RuntimeException);
    EXPECT_EQ(MenuItem::KeyboardShortcutGet(*item, 0), String("Cmd+Q"));
}

// Guards: a clone sharing entries with its source, so changing one menu bar would change the other.
TEST(MenuBarClone, InstallsDeepCopiesAndLeavesTheSourceAlone)
{
    SampleBar source;
    MenuItem::TextSet(*source.recent, 0, "Open &Recent");
    MenuItem::KeyboardShortcutSet(*source.recent, 0, "Cmd+R");
    const Ref<Object> target = newItem("Other", MenuBar::Lookup());
    append(target, newItem("Old"));
    target->record().callSlot<void(Object&, const Ref<Object>&)>(MenuBar::SlotInstallClone, *target, source.bar);
    EXPECT_EQ(names(target), names(source.bar));
    const Ref<Object> copy = lookup(target, "Recent");
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, source.recent);
    EXPECT_EQ(MenuItem::TextGet(*copy, 0), String("Open &Recent"));
    EXPECT_EQ(MenuItem::KeyboardShortcutGet(*copy, 0), String("Cmd+R"));
    EXPECT_EQ(names(copy), Names({ "One", "Two" }));
    MenuItem::RemoveAt(*copy, 0);
    EXPECT_EQ(names(source.recent), Names({ "One", "Two" }));
}

// Guards: AutoEnable ignored, or an EnableMenu handler unable to enable what AutoEnable left off.
TEST(MenuItemEnabling, AutoEnableDecidesThenTheEnableMenuHandlerMayEnable)
{
    ClassRecord handled("Handled", &MenuItem::Lookup());
    int handlerCalls = 0;
    handled.setEventHandler("EnableMenu", makeCode<void(Object&)>([&](Object& self) {
        ++handlerCalls;
        self.record().callSlot<void(Object&)>(MenuItem::SlotEnable, self);
    }));
    const Ref<Object> plain = newItem("Plain"), automatic = newItem("Automatic"), byHandler = newItem("ByHandler", handled);
    MenuItem::AutoEnableSet(*automatic, 0, true);
    for (const Ref<Object>& item : { plain, automatic, byHandler })
        item->record().callSlot<void(Object&)>(MenuItem::SlotSelfEnable, *item);
    EXPECT_FALSE(MenuItem::EnabledGet(*plain, 0));
    EXPECT_TRUE(MenuItem::EnabledGet(*automatic, 0));
    EXPECT_TRUE(MenuItem::EnabledGet(*byHandler, 0));
    EXPECT_EQ(handlerCalls, 1);
    SampleBar s;
    s.bar->record().callSlot<void(Object&)>(MenuItem::SlotDisableEntirely, *s.bar);
    EXPECT_FALSE(MenuItem::EnabledGet(*lookup(s.bar, "Two"), 0));
}

}
