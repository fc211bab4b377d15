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
#include <vector>

using namespace platform;

namespace {

using testsupport::append;
using testsupport::child;
using testsupport::lookup;
using testsupport::names;
using testsupport::newItem;

// A bar with File { Open, Recent { One, Two } } and Edit { Copy }.
struct SampleBar {
    Ref<Object> bar = newItem("Bar", MenuBar::Lookup());
    Ref<Object> file = newItem("FileMenu");
    Ref<Object> recent = newItem("Recent");
    Ref<Object> edit = newItem("EditMenu");
    SampleBar()
    {
        append(bar, file);
        append(bar, edit);
        append(file, newItem("FileOpen"));
        append(file, recent);
        append(recent, newItem("One"));
        append(recent, newItem("Two"));
        append(edit, newItem("EditCopy"));
    }
};

struct RecordCase {
    const char* name;
    const ClassRecord& (*record)();
    const ClassRecord* (*parent)();
    std::vector<std::string> ownSlots; // after MenuItem's 21
};

const std::vector<std::string> menuItemSlots = { "Enable", "Close", "Item", "Count", "Child", "Append", "Insert",
                                                 "Remove", "Remove", "Remove", "_Lookup", "_Lookup", "MenuItem",
                                                 "Constructor", "PopUp", "PopUp", "_Swap", "_DisableEntirely",
                                                 "_SelfEnable", "MenuItem", "Constructor" };

class MenuRecords : public ::testing::TestWithParam<RecordCase> {};

// Guards: a slot out of place, which makes every call by index from a derived record run the wrong code.
TEST_P(MenuRecords, KeepTheSlotOrderAndEvents)
{
    const RecordCase& c = GetParam();
    const ClassRecord& record = c.record();
    EXPECT_EQ(record.name(), String(c.name));
    EXPECT_EQ(record.parent(), c.parent());
    std::vector<std::string> expected = menuItemSlots;
    expected.insert(expected.end(), c.ownSlots.begin(), c.ownSlots.end());
    std::vector<std::string> actual;
    for (const Slot& slot : record.methods()) {
        EXPECT_TRUE(slot.code) << slot.name;
        actual.push_back(slot.name);
    }
    EXPECT_EQ(actual, expected);
    ASSERT_GE(record.events().size(), 2u);
    EXPECT_EQ(record.events()[0].name, "Action");
    EXPECT_EQ(record.events()[1].name, "EnableMenu");
    EXPECT_EQ(&c.record(), &record) << "built once";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuRecords,
    ::testing::Values(RecordCase { "MenuItem", &MenuItem::Lookup, [] { return static_cast<const ClassRecord*>(nullptr); }, {} },
                      RecordCase { "MenuBar", &MenuBar::Lookup, [] { return &MenuItem::Lookup(); },
                                   { "_InstallClone", "__DependencyList" } },
                      RecordCase { "QuitMenuItem", &QuitMenuItem::Lookup, [] { return &MenuItem::Lookup(); },
                                   { "Event_Action" } }),
    [](const auto& info) { return std::string(info.param.name); });

// Guards: the quit item without its handler, which would leave File > Quit doing nothing.
TEST(QuitMenuItem, HandlesActionWithItsOwnOperationAndDeclaresASecondAction)
{
    const ClassRecord& record = QuitMenuItem::Lookup();
    EXPECT_EQ(record.eventHandler("Action"), record.slot(QuitMenuItem::SlotEventAction).code);
    ASSERT_EQ(record.events().size(), 3u);
    EXPECT_EQ(record.events()[2].name, "Action");
    EXPECT_FALSE(MenuItem::Lookup().eventHandler("Action"));
}

// Guards: overloaded operations sharing code or signature, so one Remove would be taken for another.
TEST(MenuItemEditing, SwapKeepsThePlaceAndEachRemoveRemovesByItsOwnKind)
{
    SampleBar s;
    // Guards: _Swap losing the replaced entry's place.
    Ref<Object> old = child(s.file, "FileOpen");
    MenuItem::Swap(*s.file, "FileOpen", newItem("FileNew"));
    EXPECT_EQ(names(s.file), std::vector<std::string>({ "FileNew", "Recent" }));
    EXPECT_EQ(MenuItem::from(*old).parentItem(), nullptr);
    const ClassRecord& r = s.file->record();
    r.callSlot<void(Object&, std::int32_t)>(MenuItem::SlotRemoveAt, *s.file, 0);
    EXPECT_EQ(names(s.file), std::vector<std::string>({ "Recent" }));
    r.callSlot<void(Object&, const Ref<Object>&)>(MenuItem::SlotRemoveItem, *s.file, s.recent);
    EXPECT_TRUE(names(s.file).empty());
    r.callSlot<void(Object&, const String&)>(MenuItem::SlotRemoveNamed, *s.bar, String("EditMenu"));
    EXPECT_EQ(names(s.bar), std::vector<std::string>({ "FileMenu" }));
    EXPECT_THROW(r.callSlot<void(Object&, const String&)>(MenuItem::SlotRemoveAt, *s.file, String("x")),
                 SignatureMismatchException);
}

// Guards: a lookup that stops at the first level, which would miss every entry of a top menu.
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
    // Guards: the numbered lookup ignoring its number, so items sharing a name could not be told apart.
    Ref<Object> again = newItem("One");
    append(s.edit, again);
    auto nth = [&](std::int32_t n) {
        return s.bar->record().callSlot<Ref<Object>(Object&, const String&, std::int32_t)>(MenuItem::SlotLookupNth,
                                                                                            *s.bar, String("One"), n);
    };
    EXPECT_EQ(MenuItem::from(*nth(0)).parentItem(), s.recent.get());
    EXPECT_EQ(nth(1), again);
    EXPECT_FALSE(nth(2));
    EXPECT_THROW(nth(-1), OutOfBoundsException);
}

using MenuItemTree = testsupport::FrameworkTest;

// Guards: lost or leaked items: the parent must keep what it is given and free it with itself.
TEST_F(MenuItemTree, ParentsKeepTheirEntriesAndEntriesOutlivingThemForgetThem)
{
    Ref<Object> menu = newItem("Menu");
    Object* raw = nullptr;
    {
        Ref<Object> entry = newItem("Entry");
        raw = entry.get();
        append(menu, entry);
        EXPECT_EQ(entry->refCount(), 2);
    }
    EXPECT_EQ(raw->refCount(), 1);
    EXPECT_EQ(MenuItem::Item(*menu, 0).get(), raw);
    EXPECT_EQ(MenuItem::Count(*menu), 1);
    // Guards: an entry outliving its parent pointing at freed memory.
    Ref<Object> kept = MenuItem::Item(*menu, 0);
    menu = nullptr;
    EXPECT_EQ(MenuItem::from(*kept).parentItem(), nullptr);
    EXPECT_EQ(kept->refCount(), 1);
}

// Guards: an item shown in two menus at once, or reordering that drops or duplicates entries.
TEST_F(MenuItemTree, AppendInsertAndCloseMoveItemsWithoutCopies)
{
    SampleBar s;
    Ref<Object> open = child(s.file, "FileOpen");
    append(s.edit, open);
    EXPECT_EQ(names(s.file), std::vector<std::string>({ "Recent" }));
    EXPECT_EQ(names(s.edit), std::vector<std::string>({ "EditCopy", "FileOpen" }));
    append(s.edit, child(s.edit, "EditCopy"));
    EXPECT_EQ(names(s.edit), std::vector<std::string>({ "FileOpen", "EditCopy" }));
    MenuItem::Insert(*s.edit, 2, open);
    EXPECT_EQ(names(s.edit), std::vector<std::string>({ "EditCopy", "FileOpen" }));
    MenuItem::Insert(*s.edit, 0, open);
    EXPECT_EQ(names(s.edit), std::vector<std::string>({ "FileOpen", "EditCopy" }));
    s.recent->record().callSlot<void(Object&)>(MenuItem::SlotClose, *s.recent);
    EXPECT_TRUE(names(s.file).empty());
    EXPECT_EQ(MenuItem::from(*s.recent).parentItem(), nullptr);
    EXPECT_EQ(s.recent->refCount(), 1);
}

struct BadInput {
    const char* name;
    std::function<void(SampleBar&)> act;
    bool (*isExpected)(const RuntimeException&);
};

template<class E>
bool is(const RuntimeException& e)
{
    return dynamic_cast<const E*>(&e) != nullptr;
}

class MenuItemBadInput : public ::testing::TestWithParam<BadInput> {};

// Guards: bad input that corrupts the tree (a cycle, a bar inside a menu) or passes unreported.
TEST_P(MenuItemBadInput, RaisesAClearErrorAndChangesNothing)
{
    SampleBar s;
    const long live = Object::liveInstances();
    const auto fileBefore = names(s.file);
    const auto barBefore = names(s.bar);
    try {
        GetParam().act(s);
        FAIL() << "no exception";
    } catch (const RuntimeException& e) {
        EXPECT_TRUE(GetParam().isExpected(e)) << e.kind() << ": " << e.what();
    }
    EXPECT_EQ(names(s.file), fileBefore);
    EXPECT_EQ(names(s.bar), barBefore);
    EXPECT_EQ(Object::liveInstances(), live);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuItemBadInput,
    ::testing::Values(
        BadInput { "ItemPastTheEnd", [](SampleBar& s) { MenuItem::Item(*s.file, 2); }, &is<OutOfBoundsException> },
        BadInput { "ItemNegative", [](SampleBar& s) { MenuItem::Item(*s.file, -1); }, &is<OutOfBoundsException> },
        BadInput { "InsertPastTheEnd", [](SampleBar& s) { MenuItem::Insert(*s.file, 3, newItem("X")); },
                   &is<OutOfBoundsException> },
        BadInput { "RemovePastTheEnd", [](SampleBar& s) { MenuItem::RemoveAt(*s.file, 2); }, &is<OutOfBoundsException> },
        BadInput { "AppendNil", [](SampleBar& s) { append(s.file, nullptr); }, &is<NilObjectException> },
        BadInput { "AppendNotAMenuItem", [](SampleBar& s) { append(s.file, CreateArray(1, 0, -1)); },
                   &is<IllegalCastException> },
        BadInput { "AppendItself", [](SampleBar& s) { append(s.file, s.file); }, &is<UnsupportedOperationException> },
        BadInput { "AppendAncestor", [](SampleBar& s) { append(s.recent, s.file); },
                   &is<UnsupportedOperationException> },
        BadInput { "AppendMenuBar", [](SampleBar& s) { append(s.file, newItem("B", MenuBar::Lookup())); },
                   &is<UnsupportedOperationException> },
        BadInput { "SwapMissing", [](SampleBar& s) { MenuItem::Swap(*s.file, "Nope", newItem("X")); },
                   &is<OutOfBoundsException> },
        BadInput { "SetterIndexNotZero", [](SampleBar& s) { MenuItem::TextSet(*s.file, 1, "x"); },
                   &is<OutOfBoundsException> },
        BadInput { "SetterOnAnotherClass", [](SampleBar&) { MenuItem::TextSet(*CreateArray(1, 0, -1), 0, "x"); },
                   &is<IllegalCastException> },
        BadInput { "DependencyList", [](SampleBar& s) { MenuBar::DependencyList(*s.bar); },
                   &is<UnsupportedOperationException> }),
    [](const auto& info) { return std::string(info.param.name); });

// Guards: a shortcut never set being reported as set (the separators' case), or a bad one replacing a good one.
TEST(MenuItemShortcut, TellsNeverSetFromSetEmptyAndKeepsTheOldOnBadText)
{
    Ref<Object> item = newItem("Item");
    MenuItem& m = MenuItem::from(*item);
    EXPECT_FALSE(m.keyboardShortcutWasSet());
    MenuItem::KeyboardShortcutSet(*item, 0, String());
    EXPECT_TRUE(m.keyboardShortcutWasSet());
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
    Ref<Object> target = newItem("Other", MenuBar::Lookup());
    append(target, newItem("Old"));
    target->record().callSlot<void(Object&, const Ref<Object>&)>(MenuBar::SlotInstallClone, *target, source.bar);
    EXPECT_EQ(names(target), names(source.bar));
    Ref<Object> copy = lookup(target, "Recent");
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, source.recent);
    EXPECT_EQ(MenuItem::TextGet(*copy, 0), String("Open &Recent"));
    EXPECT_EQ(MenuItem::KeyboardShortcutGet(*copy, 0), String("Cmd+R"));
    EXPECT_EQ(names(copy), std::vector<std::string>({ "One", "Two" }));
    MenuItem::RemoveAt(*copy, 0);
    EXPECT_EQ(names(source.recent), std::vector<std::string>({ "One", "Two" }));
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
    Ref<Object> plain = newItem("Plain");
    Ref<Object> automatic = newItem("Automatic");
    Ref<Object> byHandler = newItem("ByHandler", handled);
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
