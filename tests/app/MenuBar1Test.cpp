#include "MenuBar1.h"

#include "AttachMenuBar.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "Invoker.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "MenuItems.h"
#include "QuitMenuItem.h"
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

// Puts other code into one slot of the menu bar's record for the length of a test.
class SlotSwap {
public:
    SlotSwap(std::size_t index, const std::function<Code(const Code& original)>& wrap)
        : m_record((MenuBar1::ctblinit(), *MenuBar1::ctbl))
        , m_index(index)
        , m_saved(m_record.slot(index))
    {
        m_record.setSlot(index, m_saved.name, wrap(m_saved.code));
    }
    ~SlotSwap() { m_record.setSlot(m_index, m_saved.name, m_saved.code); }

private:
    ClassRecord& m_record;
    std::size_t m_index;
    Slot m_saved;
};

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

// Logs the menu items' setters while it lives. The setters offer no observer of their own; the
// test program is linked with them wrapped (tests/CMakeLists.txt).
struct SetterLog {
    explicit SetterLog(std::vector<std::string>& log) { s_log = &log; }
    ~SetterLog() { s_log = nullptr; }
    SetterLog(const SetterLog&) = delete;
    SetterLog& operator=(const SetterLog&) = delete;

    // The item by the name it has, or for the Name setter by the name it is given.
    static void note(Object& item, const char* setter, const String* givenName = nullptr)
    {
        if (s_log)
            s_log->push_back((givenName ? *givenName : MenuItem::from(item).name()).toStdString() + " " + setter);
    }
    static inline std::vector<std::string>* s_log = nullptr;
};

}

void realNameSet(Object&, std::int32_t, const String&) __asm__("__real__ZN8platform8MenuItem7NameSetERNS_6ObjectEiRKNS_6StringE");
void wrappedNameSet(Object&, std::int32_t, const String&) __asm__("__wrap__ZN8platform8MenuItem7NameSetERNS_6ObjectEiRKNS_6StringE");
void wrappedNameSet(Object& item, std::int32_t index, const String& value)
{
    SetterLog::note(item, "Name", &value);
    realNameSet(item, index, value);
}

void realAutoEnableSet(Object&, std::int32_t, bool) __asm__("__real__ZN8platform8MenuItem13AutoEnableSetERNS_6ObjectEib");
void wrappedAutoEnableSet(Object&, std::int32_t, bool) __asm__("__wrap__ZN8platform8MenuItem13AutoEnableSetERNS_6ObjectEib");
void wrappedAutoEnableSet(Object& item, std::int32_t index, bool value)
{
    SetterLog::note(item, "AutoEnable");
    realAutoEnableSet(item, index, value);
}

void realTextSet(Object&, std::int32_t, const String&) __asm__("__real__ZN8platform8MenuItem7TextSetERNS_6ObjectEiRKNS_6StringE");
void wrappedTextSet(Object&, std::int32_t, const String&) __asm__("__wrap__ZN8platform8MenuItem7TextSetERNS_6ObjectEiRKNS_6StringE");
void wrappedTextSet(Object& item, std::int32_t index, const String& value)
{
    SetterLog::note(item, "Text");
    realTextSet(item, index, value);
}

void realKeyboardShortcutSet(Object&, std::int32_t, const String&) __asm__(
    "__real__ZN8platform8MenuItem19KeyboardShortcutSetERNS_6ObjectEiRKNS_6StringE");
void wrappedKeyboardShortcutSet(Object&, std::int32_t, const String&) __asm__(
    "__wrap__ZN8platform8MenuItem19KeyboardShortcutSetERNS_6ObjectEiRKNS_6StringE");
void wrappedKeyboardShortcutSet(Object& item, std::int32_t index, const String& value)
{
    SetterLog::note(item, "KeyboardShortcut");
    realKeyboardShortcutSet(item, index, value);
}

namespace {

class MenuBar1Test : public testsupport::FrameworkTest {
protected:
    void releaseHeld() override { MenuBar1::implicitInstanceExit(); }
};

// Guards: slots out of the place other code calls them by, or reflection members missing.
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
}

// Guards: a menu item with a wrong name, text, shortcut or place, or not enabled automatically.
TEST_F(MenuBar1Test, BuildsTheFileAndEditMenus)
{
    const Ref<Object> bar = MenuBar1::implicitInstance();
    ASSERT_EQ(names(bar), std::vector<std::string>({ "FileMenu", "EditMenu" }));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        const MenuItem& top = *MenuItem::from(*bar).children()[m];
        ASSERT_EQ(top.children().size() + 1, menus[m].size());
        for (std::size_t i = 0; i < menus[m].size(); ++i) {
            const MenuItem& item = i == 0 ? top : *top.children()[i - 1];
            const Expected& e = menus[m][i];
            SCOPED_TRACE(e.name);
            EXPECT_EQ(item.name(), String(e.name));
            EXPECT_EQ(item.text(), String(e.text));
            EXPECT_EQ(item.keyboardShortcutWasSet(), e.shortcut != nullptr);
            EXPECT_EQ(item.keyboardShortcut(), String(e.shortcut ? e.shortcut : ""));
            EXPECT_TRUE(item.autoEnable());
            EXPECT_EQ(item.isA(QuitMenuItem::Lookup()), std::string(e.name) == "FileQuit");
            EXPECT_TRUE(item.isA(MenuItem::Lookup()));
            if (i > 0) {
                EXPECT_TRUE(item.children().empty());
            }
        }
    }
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
        EXPECT_EQ(names(b), std::vector<std::string>({ "FileMenu", "EditMenu" }));
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

// Guards: the constructor bypassing the method table, a top menu held between rows instead of
// found anew, a setter out of its place (Name, AutoEnable, Text, KeyboardShortcut), a separator
// given a shortcut, or an item attached before it is complete.
TEST_F(MenuBar1Test, BuildsThroughTheMethodTableInRowOrder)
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
    SlotSwap child(MenuItem::SlotChild, [&](const Code& original) {
        return makeCode<ChildSig>([&, original](Object& self, const String& name) {
            log.push_back("Child " + name.toStdString());
            found = original->call<ChildSig>("Child", self, name);
            return found ? RuntimeNewObject(*standIn) : Ref<Object>();
        });
    });
    SlotSwap append(MenuItem::SlotAppend, [&](const Code& original) {
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
    SlotSwap untitled0(MenuBar1::SlotUntitled0, logged("Untitled0"));
    SlotSwap untitled1(MenuBar1::SlotUntitled1, logged("Untitled1"));
    {
        SetterLog setters(log);
        MenuBar1::implicitInstance();
    }

    std::vector<std::string> expected;
    for (std::size_t m = 0; m < menus.size(); ++m) {
        expected.push_back(m == 0 ? "Untitled0" : "Untitled1");
        const std::string top = menus[m][0].name;
        for (const Expected& row : menus[m]) {
            const std::string name = row.name;
            for (const char* setter : { "Name", "AutoEnable", "Text" })
                expected.push_back(name + " " + setter);
            if (row.shortcut)
                expected.push_back(name + " KeyboardShortcut");
            if (name == top) {
                expected.push_back(name + " attached to the menu bar");
            } else {
                expected.push_back("Child " + top);
                expected.push_back(name + " attached to " + top);
            }
        }
    }
    EXPECT_EQ(log, expected);
}

// Guards: the reflection members not reaching the operations they name.
TEST_F(MenuBar1Test, ReflectionRunsTheMenuBuilders)
{
    const Ref<Object> bar = RuntimeNewObject(MenuBar1::Lookup());
    RuntimeInvokeMember(*bar, "Untitled1");
    EXPECT_EQ(names(bar), std::vector<std::string>({ "EditMenu" }));
    RuntimeInvokeMember(*bar, "Untitled0");
    EXPECT_EQ(names(bar), std::vector<std::string>({ "EditMenu", "FileMenu" }));
}

// Guards: a failed construction storing a half-built menu bar, leaking it, swallowing the error,
// or undoing the items already attached.
TEST_F(MenuBar1Test, AMissingEditMenuStopsTheBuildingAndLeavesTheGlobalNil)
{
    Ref<Object> halfBuilt;
    Ref<Object> editMenu;
    int editLookups = 0;
    {
        SlotSwap child(MenuItem::SlotChild, [&](const Code& original) {
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

// Guards: the program's item names not matching the framework's own commands, so Quit, Copy,
// Paste and Cut would need handlers of the program's.
TEST_F(MenuBar1Test, OnAWindowItsItemsWorkWithoutHandlersOfTheProgram)
{
    const Ref<Object> bar = MenuBar1::implicitInstance();
    {
        QMainWindow window;
        auto* field = new QLineEdit(&window);
        window.setCentralWidget(field);
        attachMenuBar(window, bar);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QMenu* edit = window.menuBar()->actions().at(1)->menu();
        auto entry = [&](const char* name) {
            return &MenuItem::from(*testsupport::lookup(bar, name)).view().shownAction();
        };
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

        EXPECT_TRUE(testsupport::runLoopUntilQuit(
            [&] { window.menuBar()->actions().at(0)->menu()->actions().at(0)->trigger(); }))
            << "File > Quit did not end the event loop";
    }
}

}
