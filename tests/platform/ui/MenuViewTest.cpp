#include "AttachMenuBar.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "MenuItems.h"
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
#include <QTimer>

#include <functional>
#include <memory>

using namespace platform;

namespace {

using testsupport::append;
using testsupport::lookup;
using testsupport::newItem;
using testsupport::runLoopUntilQuit;

Ref<Object> newItem(const char* name, const char* text, const char* shortcut, const ClassRecord& record = MenuItem::Lookup())
{
    Ref<Object> item = newItem(name, record);
    MenuItem::AutoEnableSet(*item, 0, true);
    MenuItem::TextSet(*item, 0, String(text));
    if (shortcut)
        MenuItem::KeyboardShortcutSet(*item, 0, String(shortcut));
    return item;
}

// The File and Edit menus a program builds, in the framework's terms only.
Ref<Object> fileAndEditBar()
{
    Ref<Object> bar = RuntimeNewObject(MenuBar::Lookup());
    Ref<Object> file = newItem("FileMenu", "&File", "");
    append(bar, file);
    append(file, newItem("FileQuit", "&Quit", "Cmd+Q", QuitMenuItem::Lookup()));
    Ref<Object> edit = newItem("EditMenu", "&Edit", "");
    append(bar, edit);
    append(edit, newItem("EditUndo", "&Undo", "Cmd+Z"));
    append(edit, newItem("UntitledMenu1", "-", nullptr));
    append(edit, newItem("EditCut", "Cu&t", "Cmd+X"));
    append(edit, newItem("EditCopy", "&Copy", "Cmd+C"));
    append(edit, newItem("EditPaste", "&Paste", "Cmd+V"));
    append(edit, newItem("EditClear", "&Delete", ""));
    append(edit, newItem("UntitledMenu0", "-", nullptr));
    append(edit, newItem("EditSelectAll", "Select &All", "Cmd+A"));
    return bar;
}

class MenuOnWindow : public testsupport::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        bar = fileAndEditBar();
        window = std::make_unique<QMainWindow>();
        field = new QLineEdit(window.get());
        window->setCentralWidget(field);
        attachMenuBar(*window, bar);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        field->setFocus();
        QApplication::clipboard()->clear();
    }

    void releaseHeld() override
    {
        window.reset();
        bar = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QAction* shown(const char* name) { return &MenuItem::from(*lookup(bar, name)).view().shownAction(); }
    QMenu* topMenu(int index) { return window->menuBar()->actions().at(index)->menu(); }
    // What a user sees as the Edit menu opens.
    void openEditMenu()
    {
        emit topMenu(1)->aboutToShow();
        EventLoop::rethrowPendingException();
    }

    Ref<Object> bar;
    std::unique_ptr<QMainWindow> window;
    QLineEdit* field = nullptr;
};

// Guards: menus missing from the window, or "&", "-" and "Cmd+" shown literally instead of as
// mnemonic, separator and the primary modifier.
TEST_F(MenuOnWindow, ShowsTheMenusWithMnemonicsSeparatorsAndShortcuts)
{
    const QList<QAction*> tops = window->menuBar()->actions();
    ASSERT_EQ(tops.size(), 2);
    EXPECT_EQ(tops[0]->text(), "&File");
    EXPECT_EQ(tops[1]->text(), "&Edit");
    ASSERT_EQ(topMenu(0)->actions().size(), 1);
    EXPECT_EQ(topMenu(0)->actions()[0]->text(), "&Quit");
    EXPECT_EQ(topMenu(0)->actions()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    const QList<QAction*> edit = topMenu(1)->actions();
    ASSERT_EQ(edit.size(), 8);
    const QStringList texts = { "&Undo", "", "Cu&t", "&Copy", "&Paste", "&Delete", "", "Select &All" };
    const QList<QKeySequence> keys = { QKeySequence(Qt::CTRL | Qt::Key_Z), {}, QKeySequence(Qt::CTRL | Qt::Key_X),
                                       QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_V), {}, {},
                                       QKeySequence(Qt::CTRL | Qt::Key_A) };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(edit[i]->isSeparator(), i == 1 || i == 6) << i;
        EXPECT_EQ(edit[i]->text(), texts[i]) << i;
        EXPECT_EQ(edit[i]->shortcut(), keys[i]) << i;
    }
}

// Guards: the window showing a stale menu after the program changes items or entries.
TEST_F(MenuOnWindow, FollowsChangesMadeAfterItIsShown)
{
    Ref<Object> edit = lookup(bar, "EditMenu");
    MenuItem::TextSet(*lookup(bar, "EditCopy"), 0, "&Copy Text");
    EXPECT_EQ(topMenu(1)->actions()[3]->text(), "&Copy Text");
    MenuItem::RemoveAt(*edit, 0);
    EXPECT_EQ(topMenu(1)->actions().size(), 7);
    append(bar, newItem("HelpMenu", "&Help", ""));
    ASSERT_EQ(window->menuBar()->actions().size(), 3);
    EXPECT_EQ(window->menuBar()->actions()[2]->text(), "&Help");
    EXPECT_TRUE(window->menuBar()->actions()[2]->menu());
    // An entry that gains entries becomes a submenu in its place.
    Ref<Object> cut = lookup(bar, "EditCut");
    append(cut, newItem("CutWords", "&Words", nullptr));
    QAction* cutShown = topMenu(1)->actions()[1];
    ASSERT_TRUE(cutShown->menu());
    EXPECT_EQ(cutShown->text(), "Cu&t");
    EXPECT_EQ(cutShown->menu()->actions()[0]->text(), "&Words");
    MenuItem::Insert(*bar, 0, lookup(bar, "EditMenu"));
    EXPECT_EQ(window->menuBar()->actions()[0]->text(), "&Edit");
}

// Guards: File > Quit needing a handler of the program's, or failing to end the event loop.
TEST_F(MenuOnWindow, ChoosingQuitOrPressingItsShortcutEndsTheEventLoop)
{
    EXPECT_TRUE(runLoopUntilQuit([this] { shown("FileQuit")->trigger(); }));
    // Guards: Ctrl+Q not reaching the quit item from the window.
    EXPECT_TRUE(runLoopUntilQuit([this] { QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier); }));
}

// Guards: an exception from a menu handler escaping into Qt instead of reaching the loop's caller.
TEST_F(MenuOnWindow, AnExceptionFromAnActionHandlerReachesTheLoopsCaller)
{
    ClassRecord failing("Failing", &MenuItem::Lookup());
    failing.setEventHandler("Action", makeCode<bool(Object&)>([](Object&) -> bool { throw RuntimeException("boom"); }));
    append(lookup(bar, "FileMenu"), newItem("FileFail", "&Fail", nullptr, failing));
    EXPECT_THROW(runLoopUntilQuit([this] { shown("FileFail")->trigger(); }), RuntimeException);
}

// Guards: Edit > Copy and Paste not acting on the focused field.
TEST_F(MenuOnWindow, CopyAndPasteMoveTextBetweenTheFieldAndTheClipboard)
{
    field->setText("seven");
    field->selectAll();
    openEditMenu();
    shown("EditCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "seven");
    field->clear();
    QApplication::clipboard()->setText("42");
    openEditMenu();
    shown("EditPaste")->trigger();
    EXPECT_EQ(field->text(), "42");
    field->selectAll();
    openEditMenu();
    shown("EditClear")->trigger();
    EXPECT_EQ(field->text(), "");
    openEditMenu();
    shown("EditUndo")->trigger();
    EXPECT_EQ(field->text(), "42");
}

// Guards: Cut offered when there is nothing to cut, or left disabled once there is.
TEST_F(MenuOnWindow, CutIsEnabledOnlyWithASelection)
{
    field->setText("abc");
    field->deselect();
    openEditMenu();
    EXPECT_FALSE(shown("EditCut")->isEnabled());
    EXPECT_FALSE(MenuItem::EnabledGet(*lookup(bar, "EditCut"), 0));
    EXPECT_TRUE(shown("EditSelectAll")->isEnabled());
    field->setSelection(0, 2);
    openEditMenu();
    EXPECT_TRUE(shown("EditCut")->isEnabled());
    shown("EditCut")->trigger();
    EXPECT_EQ(field->text(), "c");
    EXPECT_EQ(QApplication::clipboard()->text(), "ab");
}

// Guards: the menu's Ctrl+C taking the key from the field, so copying by keyboard stops working.
TEST_F(MenuOnWindow, TheFieldKeepsItsOwnEditingKeys)
{
    field->setText("kept");
    field->selectAll();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
    field->end(false);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), "kept");
}

// Guards: a dead window's menu bar still being updated, or a released menu bar left on the window.
TEST_F(MenuOnWindow, WindowAndMenuBarMayEndInEitherOrderAndOnlyAMenuBarAttaches)
{
    // Guards: a plain menu item accepted as a window's menu bar.
    EXPECT_THROW(attachMenuBar(*window, lookup(bar, "EditMenu")), RuntimeException);
    auto other = std::make_unique<QMainWindow>();
    attachMenuBar(*other, bar);
    EXPECT_EQ(other->menuBar()->actions().size(), 2);
    other.reset();
    append(bar, newItem("HelpMenu", "&Help", ""));
    EXPECT_EQ(window->menuBar()->actions().size(), 3);
    attachMenuBar(*window, nullptr);
    EXPECT_EQ(window->menuWidget(), nullptr);
    attachMenuBar(*window, bar);
    bar = nullptr;
    EXPECT_TRUE(window->menuBar()->actions().isEmpty());
}

// Guards: an item whose handler removes it deleting the Qt entry that is still delivering the choice.
TEST_F(MenuOnWindow, AnItemMayRemoveItselfWhenChosen)
{
    ClassRecord closing("Closing", &MenuItem::Lookup());
    closing.setEventHandler("Action", makeCode<bool(Object&)>([](Object& self) {
        self.record().callSlot<void(Object&)>(MenuItem::SlotClose, self);
        return true;
    }));
    append(lookup(bar, "FileMenu"), newItem("FileOnce", "&Once", nullptr, closing));
    const long live = Object::liveInstances();
    shown("FileOnce")->trigger();
    EventLoop::rethrowPendingException();
    EXPECT_EQ(Object::liveInstances(), live - 1);
    EXPECT_EQ(topMenu(0)->actions().size(), 1);
}

// Guards: PopUp returning nothing, or the wrong entry, for the one the user chose.
TEST_F(MenuOnWindow, PopUpReturnsTheChosenEntry)
{
    Ref<Object> menu = newItem("Context", "Context", nullptr);
    append(menu, newItem("First", "&First", nullptr));
    append(menu, newItem("Second", "&Second", nullptr));
    QTimer::singleShot(0, [] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_TRUE(popup);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    Ref<Object> chosen = menu->record().callSlot<Ref<Object>(Object&, std::int32_t, std::int32_t)>(
        MenuItem::SlotPopUpAt, *menu, 10, 10);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(MenuItem::from(*chosen).name(), String("Second"));
}

}
