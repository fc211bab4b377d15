#include "MenuBar1.h"

#include "AttachMenuBar.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "Invoker.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "MenuItems.h"
#include "RecordSwap.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace platform;

namespace {

// The menu bar's record, for swapping its slots.
ClassRecord& barRecord()
{
    MenuBar1::ctblinit();
    return *MenuBar1::ctbl;
}

using ChildSig = Ref<Object>(Object&, const String&);
using AppendSig = void(Object&, const Ref<Object>&);

using testsupport::names;

struct Expected {
    const char* name;
    const char* text;
    const char* shortcut; // nullptr: never set
};

// The two menus, each top menu first, in building order.
const std::vector<std::vector<Expected>> menus = {
    { { "FileMenu", "&File", "" }, { "FileQuit", "&Quit", "Cmd+Q" } },
    { { "EditMenu", "&Edit", "" },
      { "EditUndo", "&Undo", "Cmd+Z" },
      { "UntitledMenu1", "-", nullptr },
      { "EditCut", "Cu&t", "Cmd+X" },
      { "EditCopy", "&Copy", "Cmd+C" },
      { "EditPaste", "&Paste", "Cmd+V" },
      { "EditClear", "&Delete", "" },
      { "UntitledMenu0", "-", nullptr },
      { "EditSelectAll", "Select &All", "Cmd+A" } },
};

// Logs the menu items' setters while it lives, each as the item's name after the call and the
// setter. The setters offer no observer of their own; the test program is linked with them wrapped
// (tests/CMakeLists.txt).
struct SetterLog {
    explicit SetterLog(std::vector<std::string>& log) { s_log = &log; }
    ~SetterLog() { s_log = nullptr; }
    static inline std::vector<std::string>* s_log = nullptr;
};

}

#define SUMWISE_LOGGED_SETTER(setter, mangled, Value)                                                                 \
    void real##setter(Object&, std::int32_t, Value) __asm__("__real_" #mangled);                                       \
    void wrapped##setter(Object&, std::int32_t, Value) __asm__("__wrap_" #mangled);                                    \
    void wrapped##setter(Object& item, std::int32_t index, Value value)                                                \
    {                                                                                                                  \
        real##setter(item, index, value);                                                                              \
        if (SetterLog::s_log)                                                                                          \
            SetterLog::s_log->push_back(MenuItem::from(item).name().toStdString() + " " #setter);                      \
    }
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
    EXPECT_EQ(&MenuBar1::Lookup(), &record) << "built once";
    EXPECT_EQ(record.name(), String("MenuBar1.MenuBar1"));
    EXPECT_EQ(record.parent(), &MenuBar::Lookup());
    ASSERT_EQ(record.methods().size(), 25u);
    for (std::size_t i = 0; i < 25; ++i) {
        if (i == MenuBar1::SlotConstructor || i >= MenuBar1::SlotUntitled0)
            continue;
        EXPECT_EQ(record.slot(i).code, MenuBar::Lookup().slot(i).code) << "inherited unchanged: " << i;
    }
    EXPECT_EQ(record.slot(20).name, "Constructor");
    EXPECT_NE(record.slot(20).code, MenuItem::Lookup().slot(20).code);
    EXPECT_EQ(record.slot(23).name, "Untitled0");
    EXPECT_EQ(record.slot(24).name, "Untitled1");
    EXPECT_EQ(record.events().size(), 2u);
    EXPECT_FALSE(record.eventHandler("Action"));
    EXPECT_FALSE(record.eventHandler("EnableMenu"));

    const std::vector<std::string> published = { "Untitled0", "Untitled1", "Constructor" };
    ASSERT_EQ(record.members().size(), published.size());
    for (std::size_t i = 0; i < published.size(); ++i) {
        const MemberRecord& m = record.members()[i];
        EXPECT_EQ(m.name, String(published[i].c_str()));
        EXPECT_EQ(m.signature, String("%%"));
        EXPECT_EQ(m.invoker, &Invoker::forSignature("%%"));
        ASSERT_EQ(m.attributes.size(), 1u);
        EXPECT_EQ(m.attributes[0].name, String("__Scope"));
        EXPECT_EQ(m.attributes[0].value, String("Public"));
    }
    ASSERT_EQ(record.attributes().size(), 1u);
    EXPECT_EQ(record.attributes()[0].name, String("__Scope"));
    EXPECT_EQ(record.attributes()[0].value, String("Public"));

    const Ref<Object> bar = RuntimeNewObject(record);
    RuntimeInvokeMember(*bar, "Untitled1");
    EXPECT_EQ(names(bar), std::vector<std::string>({ "EditMenu" }));
    RuntimeInvokeMember(*bar, "Untitled0");
    EXPECT_EQ(names(bar), std::vector<std::string>({ "EditMenu", "FileMenu" }));
}

// Guards: an item with a wrong name, text, shortcut, class or place, or not auto-enabled; the method table bypassed; a top menu held instead of found anew; a setter out of order; an item attached before it is complete.
TEST_F(MenuBar1Test, BuildsTheMenusThroughTheMethodTableInRowOrder)
{
    std::vector<std::string> log;
    // Stands in for the top menu that Child found, so that an entry's Append on it is seen too; the
    // entry still goes to the real menu.
    const std::unique_ptr<ClassRecord> standIn = RuntimeNewClass(&MenuItem::Lookup());
    standIn->setName("TopMenuStandIn");
    Ref<Object> found;
    standIn->setSlot(MenuItem::SlotAppend, "Append", makeCode<AppendSig>([&](Object&, const Ref<Object>& item) {
        log.push_back(MenuItem::from(*item).name().toStdString() + " attached to "
                      + MenuItem::from(*found).name().toStdString());
        MenuItem::Lookup().slot(MenuItem::SlotAppend).code->call<AppendSig>("Append", *std::exchange(found, nullptr), item);
    }));
    RecordSwap child(barRecord(), MenuItem::SlotChild, [&](const Code& original) {
        return makeCode<ChildSig>([&, original](Object& self, const String& name) {
            log.push_back("Child " + name.toStdString());
            found = original->call<ChildSig>("Child", self, name);
            return found ? RuntimeNewObject(*standIn) : Ref<Object>();
        });
    });
    RecordSwap append(barRecord(), MenuItem::SlotAppend, [&](const Code& original) {
        return makeCode<AppendSig>([&log, original](Object& self, const Ref<Object>& item) {
            log.push_back(MenuItem::from(*item).name().toStdString() + " attached to the menu bar");
            original->call<AppendSig>("Append", self, item);
        });
    });
    auto logged = [&log](const char* name) {
        return [&log, name](const Code& original) {
            return makeCode<void(Object&)>([&log, name, original](Object& self) {
                log.push_back(name);
                original->call<void(Object&)>(name, self);
            });
        };
    };
    RecordSwap untitled0(barRecord(), MenuBar1::SlotUntitled0, logged("Untitled0"));
    RecordSwap untitled1(barRecord(), MenuBar1::SlotUntitled1, logged("Untitled1"));
    Ref<Object> bar;
    {
        SetterLog setters(log);
        bar = MenuBar1::implicitInstance();
    }

    std::vector<std::string> expected;
    ASSERT_EQ(names(bar), std::vector<std::string>({ "FileMenu", "EditMenu" }));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        expected.push_back(m == 0 ? "Untitled0" : "Untitled1");
        const MenuItem& top = *MenuItem::from(*bar).children()[m];
        ASSERT_EQ(top.children().size() + 1, menus[m].size());
        for (std::size_t i = 0; i < menus[m].size(); ++i) {
            const Expected& row = menus[m][i];
            const std::string name = row.name;
            const MenuItem& item = i == 0 ? top : *top.children()[i - 1];
            SCOPED_TRACE(name);
            EXPECT_EQ(item.name(), String(row.name));
            EXPECT_EQ(item.text(), String(row.text));
            EXPECT_EQ(item.keyboardShortcutWasSet(), row.shortcut != nullptr);
            EXPECT_EQ(item.keyboardShortcut(), String(row.shortcut ? row.shortcut : ""));
            EXPECT_TRUE(item.autoEnable());
            EXPECT_EQ(item.isA(QuitMenuItem::Lookup()), name == "FileQuit");
            EXPECT_TRUE(item.isA(MenuItem::Lookup()));
            EXPECT_TRUE(i == 0 || item.children().empty());

            for (const char* setter : { "Name", "AutoEnable", "Text" })
                expected.push_back(name + " " + setter);
            if (row.shortcut)
                expected.push_back(name + " KeyboardShortcut");
            if (i == 0) {
                expected.push_back(name + " attached to the menu bar");
            } else {
                expected.push_back(std::string("Child ") + menus[m][0].name);
                expected.push_back(name + " attached to " + menus[m][0].name);
            }
        }
    }
    EXPECT_EQ(log, expected);
}

// Guards: a second menu bar, menus built twice, or a reference kept or lost by the accessor.
TEST_F(MenuBar1Test, TheAccessorBuildsOnceAndKeepsOneReference)
{
    EXPECT_FALSE(MenuBar1::_implicitInstance);
    MenuBar1::implicitInstanceExit();
    EXPECT_EQ(Object::liveInstances(), liveBefore()) << "an exit before any use does nothing";
    Object* first = nullptr;
    {
        const Ref<Object> a = MenuBar1::implicitInstance();
        first = a.get();
        EXPECT_EQ(a->refCount(), 2);
        const long built = Object::liveInstances();
        EXPECT_EQ(built, liveBefore() + 1 + 2 + 9);
        const Ref<Object> b = MenuBar1::implicitInstance();
        EXPECT_EQ(a, b);
        EXPECT_EQ(Object::liveInstances(), built);
        EXPECT_EQ(a->refCount(), 3);
    }
    EXPECT_EQ(first->refCount(), 1);
    for (const Ref<MenuItem>& top : MenuItem::from(*first).children()) {
        EXPECT_EQ(top->refCount(), 1);
        for (const Ref<MenuItem>& entry : top->children())
            EXPECT_EQ(entry->refCount(), 1);
    }
    MenuBar1::implicitInstanceExit();
    EXPECT_FALSE(MenuBar1::_implicitInstance);
    EXPECT_EQ(Object::liveInstances(), liveBefore());
}

// Guards: a failed construction storing a half-built menu bar, leaking it, swallowing the error, or undoing the items already attached.
TEST_F(MenuBar1Test, AMissingEditMenuStopsTheBuildingAndLeavesTheGlobalNil)
{
    Ref<Object> halfBuilt;
    Ref<Object> editMenu;
    int editLookups = 0;
    {
        RecordSwap child(barRecord(), MenuItem::SlotChild, [&](const Code& original) {
            return makeCode<ChildSig>([&, original](Object& self, const String& name) {
                // Just before the Cut entry is attached, the Edit menu goes away.
                if (name == String("EditMenu") && ++editLookups == 3) {
                    halfBuilt = Ref<Object>(&self);
                    editMenu = original->call<ChildSig>("Child", self, name);
                    MenuItem::RemoveNamed(self, name);
                }
                return original->call<ChildSig>("Child", self, name);
            });
        });
        EXPECT_THROW(MenuBar1::implicitInstance(), NilObjectException);
        EXPECT_FALSE(MenuBar1::_implicitInstance);
    }
    ASSERT_TRUE(halfBuilt);
    EXPECT_EQ(halfBuilt->refCount(), 1) << "the accessor released the half-built menu bar";
    EXPECT_EQ(names(halfBuilt), std::vector<std::string>({ "FileMenu" }));
    EXPECT_EQ(names(MenuItem::from(*halfBuilt).children()[0]), std::vector<std::string>({ "FileQuit" }));
    ASSERT_TRUE(editMenu);
    EXPECT_EQ(names(editMenu), std::vector<std::string>({ "EditUndo", "UntitledMenu1" }));
    EXPECT_EQ(Object::liveInstances(), liveBefore() + 6) << "the Cut item was released";
    halfBuilt = nullptr;
    editMenu = nullptr;
    EXPECT_EQ(Object::liveInstances(), liveBefore());

    const Ref<Object> again = MenuBar1::implicitInstance();
    EXPECT_EQ(names(again), std::vector<std::string>({ "FileMenu", "EditMenu" }));
    EXPECT_EQ(MenuItem::from(*again).children()[1]->children().size(), 8u);
}

// Guards: the program's item names not matching the framework's own commands, so Quit, Copy, Paste and Cut would need handlers of the program's.
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
    QMenu* edit = window.menuBar()->actions().at(1)->menu();
    auto entry = [&](const char* name) { return &MenuItem::from(*testsupport::lookup(bar, name)).view().shownAction(); };
    auto open = [&] {
        emit edit->aboutToShow();
        EventLoop::rethrowPendingException();
    };

    QApplication::clipboard()->setText("12");
    open();
    entry("EditPaste")->trigger();
    EXPECT_EQ(field->text(), "12");
    open();
    EXPECT_FALSE(entry("EditCut")->isEnabled());
    field->selectAll();
    open();
    entry("EditCut")->trigger();
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "12");

    EXPECT_TRUE(testsupport::runLoopUntilQuit([&] { window.menuBar()->actions().at(0)->menu()->actions().at(0)->trigger(); }))
        << "File > Quit did not end the event loop";
}

}
