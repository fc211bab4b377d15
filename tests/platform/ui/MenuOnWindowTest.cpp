// Everything a menu on a window involves: how the menus show and follow changes, choosing entries and
// their shortcuts (KeyboardShortcut), the Edit commands on the focused field (EditCommands), and the
// event loop's deliveries from Qt into the framework (EventLoop).

#include "AddControl.h"
#include "AttachMenuBar.h"
#include "EditCommands.h"
#include "EventLoop.h"
#include "FrameworkTest.h"
#include "KeyboardShortcut.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "MenuItems.h"
#include "PushButton.h"
#include "Watchdog.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace platform;

namespace {

using testsupport::append;
using testsupport::lookup;
using testsupport::newItem;
using testsupport::runLoopUntilQuit;
using Entries = std::vector<std::string>;

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
    Ref<Object> bar = RuntimeNewObject(MenuBar::Lookup()), file = newItem("FileMenu", "&File", "");
    Ref<Object> edit = newItem("EditMenu", "&Edit", "");
    append(bar, file);
    append(file, newItem("FileQuit", "&Quit", "Cmd+Q", QuitMenuItem::Lookup()));
    append(bar, edit);
    const char* const items[][3] = { { "EditUndo", "&Undo", "Cmd+Z" },   { "UntitledMenu1", "-", nullptr },  { "EditCut", "Cu&t", "Cmd+X" },
                                     { "EditCopy", "&Copy", "Cmd+C" },   { "EditPaste", "&Paste", "Cmd+V" }, { "EditClear", "&Delete", "" },
                                     { "UntitledMenu0", "-", nullptr }, { "EditSelectAll", "Select &All", "Cmd+A" } };
    for (const auto& [name, text, shortcut] : items)
        append(edit, newItem(name, text, shortcut));
    return bar;
}

// A widget's entries as "text|shortcut", with "[separator]" before a separator's (an entry reading "-" is not
// one) and ">" after a submenu's.
Entries entries(const QWidget* widget)
{
    Entries out;
    for (const QAction* a : widget->actions()) {
        const QString shown = (a->isSeparator() ? "[separator]" : "") + a->text() + "|" + a->shortcut().toString();
        out.push_back((shown + (a->menu() ? ">" : "")).toStdString());
    }
    return out;
}

QAction& entryOf(const Ref<Object>& item) { return MenuItem::from(*item).view().shownAction(); }

// What the RuntimeException that run raises says; "" when it raises none.
std::string failureOf(const std::function<void()>& run)
{
    try { run(); } catch (const RuntimeException& e) { return e.what(); }
    return "";
}

// The commands act on the focus widget of the active window; each use starts with an empty clipboard.
void showFocused(QMainWindow& window, QWidget* field)
{
    window.setCentralWidget(field);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QApplication::clipboard()->clear();
}

// A shown window with the File and Edit menus over a focused text field.
class MenuOnWindow : public testsupport::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        attachMenuBar(*window, bar = fileAndEditBar());
        ASSERT_NO_FATAL_FAILURE(showFocused(*window, field));
    }

    // Nothing a handler raised may be left undelivered, nor a delivery still count as running.
    void releaseHeld() override
    {
        EXPECT_FALSE(EventLoop::takePendingException());
        window.reset();
        bar = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(EventLoop::deliveryDepth(), 0);
    }

    QAction* shown(const char* name) { return &entryOf(lookup(bar, name)); }
    QMenu* topMenu(int index) { return window->menuBar()->actions().at(index)->menu(); }
    // What a user sees as the Edit menu opens, and whether it offers an entry.
    void openEditMenu() { emit topMenu(1)->aboutToShow(); EventLoop::rethrowPendingException(); }
    bool offered(const char* name) { openEditMenu(); return shown(name)->isEnabled(); }
    void select(const char* text) { field->setText(text); field->selectAll(); }

    Ref<Object> bar;
    std::unique_ptr<QMainWindow> window = std::make_unique<QMainWindow>();
    QLineEdit* field = new QLineEdit(window.get());
};

// Guards: menus missing from the window, or "&", "-" and "Cmd+" shown literally instead of as mnemonic, separator
// and the primary modifier; the window showing a stale menu after the program changes items or entries; a plain menu
// item accepted as a window's menu bar; a dead window's menu bar still being updated, or a released menu bar left on
// the window.
TEST_F(MenuOnWindow, ShowsTheMenusFollowsEveryChangeAndMayEndBeforeOrAfterTheWindow)
{
    const QWidget* top = window->menuBar();
    ASSERT_EQ(entries(top), (Entries { "&File|>", "&Edit|>" }));
    EXPECT_EQ(entries(topMenu(0)), Entries { "&Quit|Ctrl+Q" });
    Entries edit { "&Undo|Ctrl+Z", "[separator]|", "Cu&t|Ctrl+X", "&Copy|Ctrl+C",
                   "&Paste|Ctrl+V", "&Delete|", "[separator]|", "Select &All|Ctrl+A" };
    EXPECT_EQ(entries(topMenu(1)), edit);
    MenuItem::TextSet(*lookup(bar, "EditCopy"), 0, "&Copy Text");
    edit[3] = "&Copy Text|Ctrl+C";
    EXPECT_EQ(entries(topMenu(1)), edit);
    MenuItem::RemoveAt(*lookup(bar, "EditMenu"), 0);
    edit.erase(edit.begin());
    EXPECT_EQ(entries(topMenu(1)), edit);
    append(bar, newItem("HelpMenu", "&Help", ""));
    EXPECT_EQ(entries(top), (Entries { "&File|>", "&Edit|>", "&Help|>" }));
    // An entry that gains entries becomes a submenu in its place.
    append(lookup(bar, "EditCut"), newItem("CutWords", "&Words", nullptr));
    edit[1] += ">";
    ASSERT_EQ(entries(topMenu(1)), edit);
    EXPECT_EQ(entries(topMenu(1)->actions()[1]->menu()), Entries { "&Words|" });
    MenuItem::Insert(*bar, 0, lookup(bar, "EditMenu"));
    EXPECT_EQ(entries(top), (Entries { "&Edit|>", "&File|>", "&Help|>" }));
    EXPECT_THROW(attachMenuBar(*window, lookup(bar, "EditMenu")), RuntimeException);
    auto other = std::make_unique<QMainWindow>();
    attachMenuBar(*other, bar);
    EXPECT_EQ(other->menuBar()->actions().size(), 3);
    other.reset();
    append(bar, newItem("ViewMenu", "&View", ""));
    EXPECT_EQ(window->menuBar()->actions().size(), 4);
    attachMenuBar(*window, nullptr);
    EXPECT_EQ(window->menuWidget(), nullptr);
    attachMenuBar(*window, bar);
    bar = nullptr;
    EXPECT_TRUE(window->menuBar()->actions().isEmpty());
}

// Guards: File > Quit needing a handler of the program's, failing to end the event loop, or Ctrl+Q not reaching it
// from the window; an item whose handler removes it deleting the Qt entry still delivering the choice; an exception
// from a menu handler escaping into Qt instead of reaching the loop's caller; PopUp returning nothing, or the wrong
// entry, for the one the user chose.
TEST_F(MenuOnWindow, ChoicesReachTheirHandlersAndPopUpReturnsTheChosenEntry)
{
    EXPECT_TRUE(runLoopUntilQuit([this] { shown("FileQuit")->trigger(); }));
    EXPECT_TRUE(runLoopUntilQuit([this] { QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier); }));
    ClassRecord closing("Closing", &MenuItem::Lookup()), failing("Failing", &MenuItem::Lookup());
    const auto close = [](Object& self) { self.record().callSlot<void(Object&)>(MenuItem::SlotClose, self); return true; };
    closing.setEventHandler("Action", makeCode<bool(Object&)>(close));
    failing.setEventHandler("Action", makeCode<bool(Object&)>([](Object&) -> bool { throw RuntimeException("boom"); }));
    append(lookup(bar, "FileMenu"), newItem("FileOnce", "&Once", nullptr, closing));
    const long live = Object::liveInstances();
    shown("FileOnce")->trigger();
    EventLoop::rethrowPendingException();
    EXPECT_EQ(Object::liveInstances(), live - 1);
    EXPECT_EQ(topMenu(0)->actions().size(), 1);
    append(lookup(bar, "FileMenu"), newItem("FileFail", "&Fail", nullptr, failing));
    EXPECT_THROW(runLoopUntilQuit([this] { shown("FileFail")->trigger(); }), RuntimeException);
    Ref<Object> menu = newItem("Context", "Context", nullptr);
    append(menu, newItem("First", "&First", nullptr));
    append(menu, newItem("Second", "&Second", nullptr));
    QTimer::singleShot(0, [] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_TRUE(popup);
        for (Qt::Key key : { Qt::Key_Down, Qt::Key_Down, Qt::Key_Return })
            QTest::keyClick(popup, key);
    });
    Ref<Object> chosen =
        menu->record().callSlot<Ref<Object>(Object&, std::int32_t, std::int32_t)>(MenuItem::SlotPopUpAt, *menu, 10, 10);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(MenuItem::from(*chosen).name(), String("Second"));
}

// Guards: Cut offered when there is nothing to cut, or left disabled once there is; the Edit entries not acting on
// the focused field; the menu's Ctrl+C and Ctrl+A taking the keys from the field; the Edit commands editing a
// read-only field, handing a password to the clipboard, or working on one kind of text field only.
TEST_F(MenuOnWindow, TheEditMenuAndCommandsActOnTheFocusedFieldAsItAllows)
{
    // One run of the commands, through the Edit menu and directly on each kind of field: whether each applies, and
    // the text and the clipboard after it.
    const struct { const char* command; bool applies; const char* text; const char* clipboard; } steps[] = {
        { "EditCut", false, "abc", "" }, { "EditCopy", false, "abc", "" }, { "EditPaste", false, "abc", "" },
        { "EditSelectAll", true, "abc", "" }, { "EditCut", true, "", "abc" }, { "EditPaste", true, "abc", "abc" },
        { "EditPaste", true, "abcabc", "abc" }, { "EditSelectAll", true, "abcabc", "abc" },
        { "EditCopy", true, "abcabc", "abcabc" }, { "EditClear", true, "", "abcabc" },
        { "EditUndo", true, "abcabc", "abcabc" } };
    const auto runSteps = [&](const auto& perform, const auto& text) {
        for (const auto& [command, applies, after, clipboard] : steps) {
            EXPECT_EQ(editCommandApplies(command), applies) << command;
            perform(command, applies);
            EXPECT_EQ(text(), after) << command;
            EXPECT_EQ(QApplication::clipboard()->text().toStdString(), clipboard) << command;
        }
    };
    field->setText("abc");
    openEditMenu();
    EXPECT_FALSE(MenuItem::EnabledGet(*lookup(bar, "EditCut"), 0));
    runSteps([this](const char* c, bool applies) { EXPECT_EQ(offered(c), applies) << c; shown(c)->trigger(); },
             [this] { return field->text().toStdString(); });
    field->setText("abc");
    field->setSelection(0, 2);
    EXPECT_TRUE(offered("EditCut"));
    shown("EditCut")->trigger();
    EXPECT_EQ(field->text(), "c");
    EXPECT_EQ(QApplication::clipboard()->text(), "ab");
    select("kept");
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
    field->end(false);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), "kept");
    enum Forbids { ReadOnly, Password, Nothing };
    const std::pair<Forbids, const char*> rows[] = { { ReadOnly, "EditCut" }, { ReadOnly, "EditPaste" }, { ReadOnly, "EditClear" },
                                                     { Password, "EditCopy" }, { Password, "EditCut" }, { Nothing, "EditUndo" } };
    for (const auto& [forbids, command] : rows) {
        SCOPED_TRACE(::testing::Message() << forbids << " " << command);
        QApplication::clipboard()->setText("x");
        field->setReadOnly(forbids == ReadOnly);
        field->setEchoMode(forbids == Password ? QLineEdit::Password : QLineEdit::Normal);
        select("secret");
        EXPECT_EQ(editCommandApplies(command), false);
        EXPECT_FALSE(performEditCommand(command));
        EXPECT_EQ(field->text(), "secret");
        EXPECT_EQ(QApplication::clipboard()->text(), "x");
    }
    const std::function<QWidget*()> kinds[] = { [] { return new QLineEdit("abc"); }, [] { return new QTextEdit("abc"); },
                                                [] { return new QPlainTextEdit("abc"); } };
    for (const auto& make : kinds) {
        QMainWindow other;
        QWidget* edit = make();
        SCOPED_TRACE(edit->metaObject()->className());
        const char* property = qobject_cast<QLineEdit*>(edit) ? "text" : "plainText";
        ASSERT_NO_FATAL_FAILURE(showFocused(other, edit));
        EXPECT_EQ(editCommandApplies("FileQuit"), std::nullopt);
        runSteps([](const char* command, bool applies) { EXPECT_EQ(performEditCommand(command), applies) << command; },
                 [edit, property] { return edit->property(property).toString().toStdString(); });
    }
}

// Guards: "Cmd+" not mapped to the platform's primary modifier, other notations misread, or unreadable shortcut
// text accepted and silently giving no shortcut (or refused without naming the text and its owner).
TEST(KeyboardShortcut, ReadsTheKeyItNamesAndRefusesTextItCannotRead)
{
    const std::pair<const char*, QKeySequence> readable[] = {
        { "", {} }, { "Cmd+Q", Qt::CTRL | Qt::Key_Q }, { "cmd+a", Qt::CTRL | Qt::Key_A }, { "Option+X", Qt::ALT | Qt::Key_X },
        { "Shift+Cmd+Z", Qt::CTRL | Qt::SHIFT | Qt::Key_Z }, { "Ctrl+Delete", Qt::CTRL | Qt::Key_Delete }, { "F5", Qt::Key_F5 },
        { "Cmd++", Qt::CTRL | Qt::Key_Plus }, { "+", Qt::Key_Plus }
    };
    for (const auto& [text, key] : readable)
        EXPECT_EQ(shortcutFromText(text, "test"), key) << text;
    for (const char* text : { "Cmd+", "Hyper+Q", "Cmd+NotAKey", "+Q", "Cmd+Shift", "Cmd++Q" }) {
        const std::string what = failureOf([text] { shortcutFromText(text, "menu item \"X\""); });
        EXPECT_NE(what.find(text), std::string::npos) << what;
        EXPECT_NE(what.find("menu item \"X\""), std::string::npos) << what;
    }
}

// Deliveries as Qt makes them, from a window's Qt window, a control's widget and a menu's entry.
// Guards: handlers run for an object still being made or already going, or a hold taken on it that deletes it a
// second time; a menu item whose handler drops its last reference deleting its Qt entry while that entry is still
// delivering the choice (the delivery's own hold let go outside its count); a delivery of one kind not counted while
// another runs inside it, so Qt objects are deleted under a delivery still running; the depth left raised by a
// failing handler; a later failure replacing the first one.
TEST_F(MenuOnWindow, DeliveriesHoldTheirReceiverCountTheirDepthAndKeepTheFirstFailure)
{
    ClassRecord plain("Plain", nullptr), dropping("Dropping", &MenuItem::Lookup());
    const auto unheld = std::make_unique<Object>(plain);
    EventLoop::deliver(*unheld, [] { ADD_FAILURE() << "delivered to an object nobody holds"; });
    EXPECT_EQ(unheld->refCount(), 0);
    Ref<Object> held;
    const auto drop = [&](Object& self) { held = nullptr; EXPECT_GT(self.refCount(), 0) << "held by the delivery"; return true; };
    dropping.setEventHandler(MenuItem::Events::Action, makeCode<bool(Object&)>(drop));
    held = newItem("Dropping", dropping);
    const long live = Object::liveInstances();
    QPointer<QAction> entry = &entryOf(held);
    entry->trigger();
    EXPECT_EQ(Object::liveInstances(), live - 1) << "gone once its handler returned";
    EXPECT_TRUE(entry) << "its Qt entry was deleted while delivering";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(entry);
    int depthInMenu = -1;
    ClassRecord failingItem("FailingItem", &MenuItem::Lookup()), typed("Typed", &Window::Lookup());
    const auto fail = [&](Object&) -> bool { depthInMenu = EventLoop::deliveryDepth(); throw RuntimeException("first"); };
    failingItem.setEventHandler(MenuItem::Events::Action, makeCode<bool(Object&)>(fail));
    const Ref<Object> item = newItem("FailingItem", failingItem), typedWindow = RuntimeNewObject(typed);
    const Ref<Object> button = testsupport::addControl(typedWindow, PushButton::Lookup(), "Button");
    const auto press = [&](Object&) { entryOf(item).trigger(); throw RuntimeException("second"); };
    InstallInstanceEventHandler(*button, "Action", makeCode<void(Object&)>(press));
    auto& pushButton = static_cast<PushButton&>(*button);
    const auto type = [&](Object&, const String&) -> bool { pushButton.press(); throw RuntimeException("third"); };
    typed.setEventHandler(Window::Events::KeyDown, makeCode<bool(Object&, const String&)>(type));
    QTest::keyClick(Window::from(*typedWindow).contentArea(), Qt::Key_A);
    EXPECT_EQ(depthInMenu, 3) << "the window's, the button's and the menu's";
    EXPECT_EQ(EventLoop::deliveryDepth(), 0);
    EXPECT_EQ(failureOf(EventLoop::rethrowPendingException), "first");
}

}
