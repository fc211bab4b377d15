#include "MenuBar1.h"

#include "AttachMenuBar.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "Invoker.h"
#include "MenuItemView.h"
#include "MenuItems.h"
#include "RecordSwap.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace platform;

namespace {

using testsupport::names;
using Names = std::vector<std::string>;
using Item = slotParameters::Obj;
using slotParameters::Str;

// The menu bar's record, for swapping its slots.
ClassRecord& barRecord() { return MenuBar1::ctblinit(), *MenuBar1::ctbl; }
std::string nameOf(Object& item) { return MenuItem::from(item).name().toStdString(); }

// The two menus, each top menu first, in building order; a null shortcut is never set.
struct Expected { std::string name; const char *text, *shortcut; };
const std::vector<std::vector<Expected>> menus = {
    { { "FileMenu", "&File", "" }, { "FileQuit", "&Quit", "Cmd+Q" } },
    { { "EditMenu", "&Edit", "" }, { "EditUndo", "&Undo", "Cmd+Z" }, { "UntitledMenu1", "-", nullptr },
      { "EditCut", "Cu&t", "Cmd+X" }, { "EditCopy", "&Copy", "Cmd+C" }, { "EditPaste", "&Paste", "Cmd+V" },
      { "EditClear", "&Delete", "" }, { "UntitledMenu0", "-", nullptr }, { "EditSelectAll", "Select &All", "Cmd+A" } },
};

// The steps of a build, each as its test logs it. While logging is on, each setter of a menu item logs the item's name
// after the call and the setter's: the setters offer no observer of their own, so the test program is linked with them
// wrapped.
Names buildLog;
bool logging = false;
void logSetter(Object& item, const char* setter) { if (logging) buildLog.push_back(nameOf(item) + " " + setter); }

}

#define SUMWISE_LOGGED_SETTER(setter, mangled, Value)                                                                 \
    void real##setter(Object&, std::int32_t, Value) __asm__("__real_" #mangled);                                       \
    void wrapped##setter(Object&, std::int32_t, Value) __asm__("__wrap_" #mangled);                                    \
    void wrapped##setter(Object& item, std::int32_t i, Value v) { real##setter(item, i, v); logSetter(item, #setter); }
SUMWISE_LOGGED_SETTER(Name, _ZN8platform8MenuItem7NameSetERNS_6ObjectEiRKNS_6StringE, const String&)
SUMWISE_LOGGED_SETTER(AutoEnable, _ZN8platform8MenuItem13AutoEnableSetERNS_6ObjectEib, bool)
SUMWISE_LOGGED_SETTER(Text, _ZN8platform8MenuItem7TextSetERNS_6ObjectEiRKNS_6StringE, const String&)
SUMWISE_LOGGED_SETTER(KeyboardShortcut, _ZN8platform8MenuItem19KeyboardShortcutSetERNS_6ObjectEiRKNS_6StringE,
                      const String&)
#undef SUMWISE_LOGGED_SETTER

namespace {

class MenuBar1Test : public testsupport::FrameworkTest {
protected:
    void releaseHeld() override { MenuBar1::implicitInstanceExit(); }
};

// Guards: slots out of the place other code calls them by, or reflection members missing or not reaching the builders.
TEST_F(MenuBar1Test, TheRecordExtendsMenuBarWithItsOwnOperations)
{
    const ClassRecord& record = MenuBar1::Lookup();
    MenuBar1::ctblinit();
    // Built once, under its name, on MenuBar.
    EXPECT_EQ(std::tuple(&MenuBar1::Lookup(), record.name(), record.parent()),
              std::tuple(&record, String("MenuBar1.MenuBar1"), &MenuBar::Lookup()));
    ASSERT_EQ(record.methods().size(), 25u);
    // Every slot before the bar's own but the constructor is MenuBar's, unchanged.
    for (std::size_t i = 0; i < MenuBar1::SlotUntitled0; ++i)
        EXPECT_EQ(record.slot(i).code, (i == MenuBar1::SlotConstructor ? record : MenuBar::Lookup()).slot(i).code) << i;
    EXPECT_EQ(Names({ record.slot(20).name, record.slot(23).name, record.slot(24).name }),
              Names({ "Constructor", "Untitled0", "Untitled1" }));
    EXPECT_NE(record.slot(20).code, MenuItem::Lookup().slot(20).code);
    // Two events, neither handled.
    EXPECT_EQ(std::tuple(record.events().size(), bool(record.eventHandler("Action")),
                         bool(record.eventHandler("EnableMenu"))), std::tuple(std::size_t { 2 }, false, false));
    // The one attribute there must be, as "name=value".
    auto attributes = [](const std::vector<Attribute>& a) {
        return a.size() == 1 && a[0].value ? a[0].name.toStdString() + "=" + a[0].value->toStdString() : "?";
    };
    Names members;
    for (const MemberRecord& m : record.members()) {
        members.push_back(m.name.toStdString() + " " + m.signature.toStdString() + " " + attributes(m.attributes));
        EXPECT_EQ(m.invoker, &Invoker::forSignature("%%")) << members.back();
    }
    EXPECT_EQ(members,
              Names({ "Untitled0 %% __Scope=Public", "Untitled1 %% __Scope=Public", "Constructor %% __Scope=Public" }));
    EXPECT_EQ(attributes(record.attributes()), "__Scope=Public");

    const Ref<Object> bar = RuntimeNewObject(record);
    RuntimeInvokeMember(*bar, "Untitled1");
    EXPECT_EQ(names(bar), Names({ "EditMenu" }));
    RuntimeInvokeMember(*bar, "Untitled0");
    EXPECT_EQ(names(bar), Names({ "EditMenu", "FileMenu" }));
}

// Guards: an item with a wrong name, text, shortcut, class or place, or not auto-enabled; the method table bypassed; a top menu held instead of found anew; a setter out of order; an item attached before it is complete.
TEST_F(MenuBar1Test, BuildsTheMenusThroughTheMethodTableInRowOrder)
{
    buildLog.clear();
    RecordSwap toBar(barRecord(), MenuItem::SlotAppend, runFirst<void, Item>("Append", [](Object&, Item item) {
        buildLog.push_back(nameOf(*item) + " attached to the menu bar");
    }));
    // Child hands out a stand-in for the top menu it found, so that an entry's Append is seen only when it goes to
    // what Child has just returned (a top menu held from before is the real one, unlogged); the entry still reaches
    // the real menu.
    const std::unique_ptr<ClassRecord> standIn = RuntimeNewClass(&MenuItem::Lookup());
    standIn->setName("TopMenuStandIn");
    Ref<Object> found;
    standIn->setSlot(MenuItem::SlotAppend, "Append", makeCode<void(Object&, Item)>([&](Object&, Item item) {
        buildLog.push_back(nameOf(*item) + " attached to " + nameOf(*found));
        MenuItem::Lookup().slot(MenuItem::SlotAppend).code->call<void(Object&, Item)>("Append", *std::exchange(found, {}), item);
    }));
    RecordSwap child(barRecord(), MenuItem::SlotChild, [&](const Code& original) {
        return makeCode<Ref<Object>(Object&, Str)>([&, original](Object& self, Str name) {
            buildLog.push_back("Child " + name.toStdString());
            found = original->call<Ref<Object>(Object&, Str)>("Child", self, name);
            return found ? RuntimeNewObject(*standIn) : Ref<Object>();
        });
    });
    auto logged = [](const char* name) { return runFirst<void>(name, [name](Object&) { buildLog.push_back(name); }); };
    RecordSwap untitled0(barRecord(), MenuBar1::SlotUntitled0, logged("Untitled0"));
    RecordSwap untitled1(barRecord(), MenuBar1::SlotUntitled1, logged("Untitled1"));
    logging = true;
    const Ref<Object> bar = MenuBar1::implicitInstance();
    logging = false;

    Names expected;
    ASSERT_EQ(names(bar), Names({ "FileMenu", "EditMenu" }));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        expected.push_back(m == 0 ? "Untitled0" : "Untitled1");
        const MenuItem& top = *MenuItem::from(*bar).children()[m];
        const std::string& topName = menus[m][0].name;
        ASSERT_EQ(top.children().size() + 1, menus[m].size());
        for (std::size_t i = 0; i < menus[m].size(); ++i) {
            const auto& [name, text, shortcut] = menus[m][i];
            const MenuItem& item = i == 0 ? top : *top.children()[i - 1];
            // Name, text, shortcut, auto-enabled, a quit item, a menu item, entries only on top; whether the shortcut
            // was set at all is in the setter log below.
            EXPECT_EQ(std::tuple(item.name().toStdString(), item.text().toStdString(),
                                 item.keyboardShortcut().toStdString(), item.autoEnable(),
                                 item.isA(QuitMenuItem::Lookup()), item.isA(MenuItem::Lookup()),
                                 i == 0 || item.children().empty()),
                      std::tuple(name, std::string(text), std::string(shortcut ? shortcut : ""),
                                 true, name == "FileQuit", true, true));
            expected.insert(expected.end(), { name + " Name", name + " AutoEnable", name + " Text" });
            if (shortcut)
                expected.push_back(name + " KeyboardShortcut");
            if (i > 0)
                expected.push_back("Child " + topName);
            expected.push_back(name + " attached to " + (i == 0 ? "the menu bar" : topName));
        }
    }
    EXPECT_EQ(buildLog, expected);
}

// Guards: a second menu bar, menus built twice, or a reference kept or lost by the accessor; a failed construction storing a half-built menu bar, leaking it, swallowing the error, or undoing the items already attached.
TEST_F(MenuBar1Test, TheAccessorBuildsOnceKeepsOneReferenceAndLeavesTheGlobalNilWhenBuildingFails)
{
    EXPECT_FALSE(MenuBar1::_implicitInstance);
    MenuBar1::implicitInstanceExit();
    EXPECT_EQ(Object::liveInstances(), liveBefore()) << "an exit before any use does nothing";
    Ref<Object> halfBuilt, editMenu;
    int editLookups = 0;
    {
        RecordSwap child(barRecord(), MenuItem::SlotChild, runFirst<Ref<Object>, Str>("Child", [&](Object& bar, Str name) {
            // Just before the Cut entry is attached, the Edit menu goes away.
            if (name == String("EditMenu") && ++editLookups == 3) {
                halfBuilt = Ref<Object>(&bar);
                editMenu = MenuItem::Child(bar, name);
                MenuItem::RemoveNamed(bar, name);
            }
        }));
        EXPECT_THROW(MenuBar1::implicitInstance(), NilObjectException);
        EXPECT_FALSE(MenuBar1::_implicitInstance);
    }
    ASSERT_TRUE(halfBuilt && editMenu);
    EXPECT_EQ(std::tuple(halfBuilt->refCount(), Object::liveInstances()), std::tuple(1, liveBefore() + 6))
        << "the accessor released the half-built menu bar, and the Cut item went";
    // What was attached stays: File > Quit on the bar, Undo and a separator in the Edit menu taken off it.
    EXPECT_EQ(std::tuple(names(halfBuilt), names(MenuItem::from(*halfBuilt).children()[0]), names(editMenu)),
              std::tuple(Names({ "FileMenu" }), Names({ "FileQuit" }), Names({ "EditUndo", "UntitledMenu1" })));
    halfBuilt = editMenu = nullptr;
    EXPECT_EQ(Object::liveInstances(), liveBefore());

    Object* first = nullptr;
    {
        const Ref<Object> a = MenuBar1::implicitInstance();
        first = a.get();
        // The bar, two top menus and nine entries, made once (which ones: BuildsTheMenusThroughTheMethodTableInRowOrder).
        EXPECT_EQ(std::tuple(a->refCount(), Object::liveInstances()), std::tuple(2, liveBefore() + 1 + 2 + 9));
        const Ref<Object> b = MenuBar1::implicitInstance();
        EXPECT_EQ(std::tuple(b.get(), a->refCount(), Object::liveInstances()),
                  std::tuple(a.get(), 3, liveBefore() + 1 + 2 + 9));
    }
    EXPECT_EQ(first->refCount(), 1);
    for (const Ref<MenuItem>& top : MenuItem::from(*first).children()) {
        EXPECT_EQ(top->refCount(), 1);
        for (const Ref<MenuItem>& entry : top->children())
            EXPECT_EQ(entry->refCount(), 1);
    }
    MenuBar1::implicitInstanceExit();
    EXPECT_EQ(std::tuple(bool(MenuBar1::_implicitInstance), Object::liveInstances()), std::tuple(false, liveBefore()));
}

// Guards: the program's item names not matching the framework's own commands, so Paste and Cut would need handlers of the
// program's (File > Quit chosen on the program's window: ProgramTest's FileQuitChosen).
TEST_F(MenuBar1Test, OnAWindowItsItemsWorkWithoutHandlersOfTheProgram)
{
    const Ref<Object> bar = MenuBar1::implicitInstance();
    QMainWindow window;
    auto* field = new QLineEdit(&window);
    window.setCentralWidget(field);
    attachMenuBar(window, bar);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    // The entry as the Edit menu shows it, the menu just opened.
    auto shown = [&](const char* name) {
        emit window.menuBar()->actions().at(1)->menu()->aboutToShow();
        EventLoop::rethrowPendingException();
        return &MenuItem::from(*testsupport::lookup(bar, name)).view().shownAction();
    };
    QApplication::clipboard()->setText("12");
    shown("EditPaste")->trigger();
    EXPECT_EQ(field->text(), "12");
    EXPECT_FALSE(shown("EditCut")->isEnabled());
    field->selectAll();
    shown("EditCut")->trigger();
    EXPECT_EQ(std::tuple(field->text(), QApplication::clipboard()->text()), std::tuple(QString(), QString("12")));
}

}
