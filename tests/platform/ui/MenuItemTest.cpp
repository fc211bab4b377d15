#include "FrameworkTest.h"
#include "IllegalCastException.h"
#include "IntList.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItems.h"
#include "OutOfBoundsException.h"
#include "UnsupportedOperationException.h"

#include <gtest/gtest.h>

#include <array>
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
    Ref<Object> bar = newItem("Bar", MenuBar::Lookup()), file = newItem("File"), recent = newItem("Recent"),
                edit = newItem("Edit");
    SampleBar()
    {
        for (const auto& [parent, item] : std::vector<std::pair<Ref<Object>, Ref<Object>>> { { bar, file }, { bar, edit },
                 { file, newItem("Open") }, { file, recent }, { recent, newItem("One") }, { recent, newItem("Two") },
                 { edit, newItem("Copy") } })
            append(parent, item);
    }
};

// The names below an item, each entry's own entries in brackets: "File(Open Recent(One Two)) Edit(Copy)".
std::string tree(Object& item)
{
    std::string text;
    for (const Ref<MenuItem>& c : MenuItem::from(item).children())
        text += (text.empty() ? "" : " ") + c->name().toStdString() + (c->children().empty() ? "" : "(" + tree(*c) + ")");
    return text;
}

// Guards: a slot out of place or without code, which makes every call by index from a derived record run the wrong
// code; the quit item without its handler, which would leave File > Quit doing nothing, or without its second Action.
TEST(MenuRecords, KeepTheSlotOrderAndEvents)
{
    const Names itemSlots = { "Enable", "Close", "Item", "Count", "Child", "Append", "Insert", "Remove", "Remove",
                              "Remove", "_Lookup", "_Lookup", "MenuItem", "Constructor", "PopUp", "PopUp", "_Swap",
                              "_DisableEntirely", "_SelfEnable", "MenuItem", "Constructor" };
    struct Row { const char* name; const ClassRecord& (*record)(); const ClassRecord* parent; Names ownSlots, events; };
    const ClassRecord* item = &MenuItem::Lookup();
    for (const Row& row : std::vector<Row> {
             { "MenuItem", &MenuItem::Lookup, nullptr, {}, { "Action", "EnableMenu" } },
             { "MenuBar", &MenuBar::Lookup, item, { "_InstallClone", "__DependencyList" }, { "Action", "EnableMenu" } },
             { "QuitMenuItem", &QuitMenuItem::Lookup, item, { "Event_Action" }, { "Action", "EnableMenu", "Action" } } }) {
        SCOPED_TRACE(row.name);
        const ClassRecord& record = row.record();
        EXPECT_EQ(&row.record(), &record) << "built once";
        EXPECT_EQ(std::tuple(record.name(), record.parent()), std::tuple(String(row.name), row.parent));
        Names slots, events, expected = itemSlots;
        for (const Slot& slot : record.methods())
            slots.push_back(slot.code ? slot.name : slot.name + " without code");
        for (const EventEntry& event : record.events())
            events.emplace_back(event.name);
        expected.insert(expected.end(), row.ownSlots.begin(), row.ownSlots.end());
        EXPECT_EQ(std::tie(slots, events), std::tie(expected, row.events));
        const bool quits = &record == &QuitMenuItem::Lookup(); // only its handler is installed
        EXPECT_EQ(record.eventHandler("Action"), quits ? record.slot(QuitMenuItem::SlotEventAction).code : nullptr);
    }
}

// Guards: a lookup that stops at the first level, which would miss every entry of a top menu; the numbered lookup
// ignoring its number, so items sharing a name could not be told apart; an entry that does not know its menu.
TEST(MenuItemLookup, SearchesTheWholeTreeWhileChildLooksOneLevelAndNumberedLookupCountsInMenuOrder)
{
    SampleBar s;
    const Ref<Object> none, again = newItem("One");
    // "file" finds nothing: names are compared exactly.
    const std::array found { child(s.bar, "File"), child(s.bar, "Open"), child(s.bar, ""), lookup(s.bar, "Two"),
                             lookup(s.bar, "Recent"), lookup(s.bar, "Copy"), lookup(s.bar, "Missing"), lookup(s.bar, "file") };
    EXPECT_EQ(found, (std::array { s.file, none, none, MenuItem::Item(*s.recent, 1), s.recent, MenuItem::Item(*s.edit, 0),
                                   none, none }));
    append(s.edit, again);
    auto nth = [&](std::int32_t n) {
        return s.bar->record().callSlot<Ref<Object>(Object&, const String&, std::int32_t)>(MenuItem::SlotLookupNth,
                                                                                            *s.bar, String("One"), n);
    };
    EXPECT_EQ((std::array { nth(0), nth(1), nth(2) }), (std::array { MenuItem::Item(*s.recent, 0), again, none }));
    // An entry with no entries of its own knows its menu too.
    EXPECT_EQ(MenuItem::from(*found[5]).parentItem(), s.edit.get());
    EXPECT_EQ(MenuItem::from(*nth(0)).parentItem(), s.recent.get());
    EXPECT_THROW(nth(-1), OutOfBoundsException);
}

using MenuItemTree = FrameworkTest;

// Guards: lost or leaked items: the parent must keep what it is given and free it with itself; an entry outliving
// its parent pointing at freed memory; an item shown in two menus at once, or reordering that drops or duplicates
// entries; _Swap losing the replaced entry's place; overloaded operations sharing code or signature, so one Remove
// would be taken for another.
TEST_F(MenuItemTree, ParentsKeepTheirEntriesAndEachEditMovesThemWithoutCopies)
{
    Ref<Object> menu = newItem("Menu");
    Ref<Object> entry = newItem("Entry");
    Object* const raw = entry.get();
    append(menu, entry);
    EXPECT_EQ(entry->refCount(), 2);
    entry = nullptr;
    EXPECT_EQ(raw->refCount(), 1);
    const Ref<Object> kept = MenuItem::Item(*menu, 0);
    EXPECT_EQ(std::tuple(kept.get(), MenuItem::Count(*menu)), std::tuple(raw, 1));
    menu = nullptr;
    EXPECT_EQ(std::tuple(MenuItem::from(*kept).parentItem(), kept->refCount()), std::tuple(nullptr, 1));

    SampleBar s;
    const Ref<Object> open = child(s.file, "Open"), copy = child(s.edit, "Copy");
    const ClassRecord& r = MenuItem::Lookup();
    using namespace slotParameters;
    using Item = Obj;
    // Each edit, and the whole bar after it.
    for (const auto& [edit, after] : std::vector<std::pair<std::function<void()>, const char*>> {
             { [&] { append(s.edit, open); }, "File(Recent(One Two)) Edit(Copy Open)" },
             { [&] { append(s.edit, copy); }, "File(Recent(One Two)) Edit(Open Copy)" },
             { [&] { MenuItem::Insert(*s.edit, 2, open); }, "File(Recent(One Two)) Edit(Copy Open)" },
             { [&] { MenuItem::Insert(*s.edit, 0, open); }, "File(Recent(One Two)) Edit(Open Copy)" },
             { [&] { MenuItem::Swap(*s.edit, "Open", newItem("New")); }, "File(Recent(One Two)) Edit(New Copy)" },
             { [&] { r.callSlot<void(Object&, I32)>(MenuItem::SlotRemoveAt, *s.edit, 0); }, "File(Recent(One Two)) Edit(Copy)" },
             { [&] { r.callSlot<void(Object&)>(MenuItem::SlotClose, *s.recent); }, "File Edit(Copy)" },
             { [&] { r.callSlot<void(Object&, Item)>(MenuItem::SlotRemoveItem, *s.edit, copy); }, "File Edit" },
             { [&] { r.callSlot<void(Object&, Str)>(MenuItem::SlotRemoveNamed, *s.bar, String("Edit")); }, "File" } }) {
        edit();
        EXPECT_EQ(tree(*s.bar), after);
    }
    EXPECT_EQ(MenuItem::from(*open).parentItem(), nullptr) << "swapped out";
    EXPECT_EQ(MenuItem::from(*s.recent).parentItem(), nullptr) << "closed";
    EXPECT_EQ(s.recent->refCount(), 1);
    EXPECT_THROW(r.callSlot<void(Object&, Str)>(MenuItem::SlotRemoveAt, *s.file, String("x")), SignatureMismatchException);
}

// Expects act to raise E.
template <class E> void raises(const std::function<void()>& act) { EXPECT_THROW(act(), E); }

// Guards: bad input that corrupts the tree (a cycle, a bar inside a menu) or passes unreported.
TEST(MenuItemBadInput, RaisesAClearErrorAndChangesNothing)
{
    using Bounds = OutOfBoundsException;
    using Unsupported = UnsupportedOperationException;
    struct Row { const char* name; void (*act)(SampleBar&); void (*raises)(const std::function<void()>&); };
    for (const Row& row : std::vector<Row> {
             { "ItemPastTheEnd", [](SampleBar& s) { MenuItem::Item(*s.file, 2); }, &raises<Bounds> },
             { "ItemNegative", [](SampleBar& s) { MenuItem::Item(*s.file, -1); }, &raises<Bounds> },
             { "InsertPastTheEnd", [](SampleBar& s) { MenuItem::Insert(*s.file, 3, newItem("X")); }, &raises<Bounds> },
             { "RemovePastTheEnd", [](SampleBar& s) { MenuItem::RemoveAt(*s.file, 2); }, &raises<Bounds> },
             { "AppendNil", [](SampleBar& s) { append(s.file, nullptr); }, &raises<NilObjectException> },
             { "AppendNotAMenuItem", [](SampleBar& s) { append(s.file, CreateArray(1, 0, -1)); }, &raises<IllegalCastException> },
             { "AppendItself", [](SampleBar& s) { append(s.file, s.file); }, &raises<Unsupported> },
             { "AppendAncestor", [](SampleBar& s) { append(s.recent, s.file); }, &raises<Unsupported> },
             { "AppendMenuBar", [](SampleBar& s) { append(s.file, newItem("B", MenuBar::Lookup())); }, &raises<Unsupported> },
             { "SwapMissing", [](SampleBar& s) { MenuItem::Swap(*s.file, "Nope", newItem("X")); }, &raises<Bounds> },
             { "SetterIndexNotZero", [](SampleBar& s) { MenuItem::TextSet(*s.file, 1, "x"); }, &raises<Bounds> },
             { "SetterOnAnotherClass", [](SampleBar&) { MenuItem::TextSet(*CreateArray(1, 0, -1), 0, "x"); },
               &raises<IllegalCastException> },
             { "DependencyList", [](SampleBar& s) { s.bar->record().callSlot<void(Object&)>(MenuBar::SlotDependencyList, *s.bar); }, &raises<Unsupported> } }) {
        SCOPED_TRACE(row.name);
        SampleBar s;
        auto state = [&s] { return std::pair(tree(*s.bar), Object::liveInstances()); };
        const auto before = state();
        row.raises([&] { row.act(s); });
        EXPECT_EQ(state(), before);
    }
}

// Guards: a bad shortcut replacing a good one.
TEST(MenuItemShortcut, BadTextKeepsTheOldShortcut)
{
    const Ref<Object> item = newItem("Item");
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
    EXPECT_EQ(tree(*target), tree(*source.bar));
    const Ref<Object> copy = lookup(target, "Recent");
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, source.recent);
    EXPECT_EQ(std::tuple(MenuItem::TextGet(*copy, 0), MenuItem::KeyboardShortcutGet(*copy, 0)),
              std::tuple(String("Open &Recent"), String("Cmd+R")));
    MenuItem::RemoveAt(*copy, 0);
    EXPECT_EQ(tree(*source.bar), "File(Open Recent(One Two)) Edit(Copy)");
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
    EXPECT_EQ((std::array { MenuItem::EnabledGet(*plain, 0), MenuItem::EnabledGet(*automatic, 0),
                            MenuItem::EnabledGet(*byHandler, 0) }), (std::array { false, true, true }));
    EXPECT_EQ(handlerCalls, 1);
    SampleBar s;
    s.bar->record().callSlot<void(Object&)>(MenuItem::SlotDisableEntirely, *s.bar);
    EXPECT_FALSE(MenuItem::EnabledGet(*lookup(s.bar, "Two"), 0));
}

}
