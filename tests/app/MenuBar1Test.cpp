#include "MenuBar1.h"

#include "AttachMenuBar.h"
#include "EventLoop.h"
#include "Invoker.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "QuitMenuItem.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
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

std::vector<std::string> names(const Object& parent)
{
    std::vector<std::string> result;
    for (const Ref<MenuItem>& c : static_cast<const MenuItem&>(parent).children())
        result.push_back(c->name().toStdString());
    return result;
}

class MenuBar1Test : public ::testing::Test {
protected:
    void SetUp() override { m_liveBefore = Object::liveInstances(); }
    void TearDown() override
    {
        MenuBar1::implicitInstanceExit();
        EXPECT_EQ(Object::liveInstances(), m_liveBefore);
    }
    long liveBefore() const { return m_liveBefore; }

private:
    long m_liveBefore = 0;
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

struct Expected {
    const char* name;
    const char* text;
    const char* shortcut; // nullptr: never set
};

// Guards: a menu item with a wrong name, text, shortcut or place, or not enabled automatically.
TEST_F(MenuBar1Test, BuildsTheFileAndEditMenus)
{
    const Ref<Object> bar = MenuBar1::implicitInstance();
    ASSERT_EQ(names(*bar), std::vector<std::string>({ "FileMenu", "EditMenu" }));
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
        EXPECT_EQ(names(*b), std::vector<std::string>({ "FileMenu", "EditMenu" }));
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
// found anew, or an item attached before it is complete.
TEST_F(MenuBar1Test, BuildsThroughTheMethodTableInRowOrder)
{
    std::vector<std::string> log;
    SlotSwap child(MenuItem::SlotChild, [&](const Code& original) {
        return makeCode<ChildSig>([&log, original](Object& self, const String& name) {
            log.push_back("Child " + name.toStdString());
            return original->call<ChildSig>("Child", self, name);
        });
    });
    SlotSwap append(MenuItem::SlotAppend, [&](const Code& original) {
        return makeCode<AppendSig>([&log, original](Object& self, const Ref<Object>& item) {
            const MenuItem& m = MenuItem::from(*item);
            EXPECT_TRUE(m.autoEnable() && m.keyboardShortcutWasSet() && !m.text().isEmpty());
            log.push_back("Append " + m.name().toStdString());
            original->call<AppendSig>("Append", self, item);
        });
    });
    SlotSwap untitled0(MenuBar1::SlotUntitled0, [&](const Code& original) {
        return makeCode<void(Object&)>([&log, original](Object& self) {
            log.push_back("Untitled0");
            original->call<void(Object&)>("Untitled0", self);
        });
    });
    MenuBar1::implicitInstance();
    std::vector<std::string> expected = { "Untitled0", "Append FileMenu", "Child FileMenu", "Append EditMenu" };
    expected.insert(expected.end(), 8, "Child EditMenu");
    EXPECT_EQ(log, expected);
}

// Guards: the reflection members not reaching the operations they name.
TEST_F(MenuBar1Test, ReflectionRunsTheMenuBuilders)
{
    const Ref<Object> bar = RuntimeNewObject(MenuBar1::Lookup());
    RuntimeInvokeMember(*bar, "Untitled1");
    EXPECT_EQ(names(*bar), std::vector<std::string>({ "EditMenu" }));
    RuntimeInvokeMember(*bar, "Untitled0");
    EXPECT_EQ(names(*bar), std::vector<std::string>({ "EditMenu", "FileMenu" }));
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
    EXPECT_EQ(names(*halfBuilt), std::vector<std::string>({ "FileMenu" }));
    EXPECT_EQ(names(*MenuItem::from(*halfBuilt).children()[0]), std::vector<std::string>({ "FileQuit" }));
    ASSERT_TRUE(editMenu);
    EXPECT_EQ(names(*editMenu), std::vector<std::string>({ "EditUndo", "UntitledMenu1" }));
    EXPECT_EQ(Object::liveInstances(), liveBefore() + 6) << "the Cut item was released";
    halfBuilt = nullptr;
    editMenu = nullptr;
    EXPECT_EQ(Object::liveInstances(), liveBefore());

    const Ref<Object> again = MenuBar1::implicitInstance();
    EXPECT_EQ(names(*again), std::vector<std::string>({ "FileMenu", "EditMenu" }));
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
            const Ref<Object> item = bar->record().callSlot<ChildSig>(MenuItem::SlotLookup, *bar, String(name));
            return &MenuItem::from(*item).view().shownAction();
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

        bool watchdogFired = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            watchdogFired = true;
            QCoreApplication::exit(3);
        });
        watchdog.start(20000);
        QTimer::singleShot(0, [&] { window.menuBar()->actions().at(0)->menu()->actions().at(0)->trigger(); });
        EventLoop::run();
        EXPECT_FALSE(watchdogFired) << "File > Quit did not end the event loop";
    }
}

}
