#include "WindowFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include <string>
#include <vector>

using namespace platform;

namespace {

using Str = const String&;

// What the user does to a window's Qt window, as the window's own events.
class WindowWidgetTest : public WindowTest {};

// Guards: the user's close not raising Close, or the window dying inside Qt's close event when
// the close drops its last reference (a use after free), or never being released at all.
TEST_F(WindowWidgetTest, TheUsersCloseRaisesCloseAndReleasesTheWindowAfterTheCloseEvent)
{
    Ref<Object> held = newWindow();
    logEvent("Open");
    record.setEventHandler("Close", makeCode<void(Object&)>([&](Object&) {
                               log.push_back("Close");
                               held = nullptr; // the program lets go of the window while Qt closes it
                           }));
    held->record().callSlot<void(Object&)>(Window::SlotConstructor, *held);
    Window::Show(*held);
    QMainWindow* shown = &qt(held);
    const long live = Object::liveInstances();

    EXPECT_TRUE(shown->close());
    EXPECT_EQ(log, (std::vector<std::string> { "Open", "Close" }));
    EXPECT_FALSE(held);
    EXPECT_FALSE(GetImplicitWindow(record.name())) << "a closed window is no longer found";
    EXPECT_EQ(Object::liveInstances(), live) << "still alive until Qt is done";
    QApplication::sendPostedEvents();
    EXPECT_EQ(Object::liveInstances(), live - 1) << "released on the loop's next turn";
}

// Guards: a failing Close handler letting the exception into Qt, or leaving a window the user cannot close.
TEST_F(WindowWidgetTest, AFailingCloseHandlerStopsTheLoopAndTheWindowStillCloses)
{
    record.setEventHandler("Close", makeCode<void(Object&)>([](Object&) { throw RuntimeException("close failed"); }));
    const Ref<Object> w = newWindow();
    Window::Show(*w);
    qt(w).close();
    EXPECT_TRUE(Window::from(*w).isClosed());
    EXPECT_FALSE(qt(w).isVisible());
    EXPECT_THROW(EventLoop::rethrowPendingException(), RuntimeException);
}

struct MouseCase {
    const char* how;
    bool mouseDownHandled;
    std::vector<std::string> events;
};

// Guards: mouse presses on the window not reaching MouseDown, or drag and release reported to a
// window that did not take the press.
TEST_F(WindowWidgetTest, MousePressesOnTheWindowRaiseItsMouseEvents)
{
    const std::vector<MouseCase> cases {
        { "handled", true, { "MouseDown 5,6", "MouseDrag 9,9", "MouseUp 9,9" } },
        { "not handled", false, { "MouseDown 5,6", "MouseMove 9,9" } },
    };
    for (const MouseCase& c : cases) {
        log.clear();
        for (const char* e : { "MouseDown", "MouseDrag", "MouseUp", "MouseMove" })
            logPointEvent(e, c.mouseDownHandled);
        const Ref<Object> w = newWindow();
        activate(w);
        QWidget* content = Window::from(*w).contentArea();
        QTest::mousePress(content, Qt::LeftButton, {}, QPoint(5, 6));
        QMouseEvent drag(QEvent::MouseMove, QPointF(9, 9), content->mapToGlobal(QPointF(9, 9)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(content, &drag);
        QTest::mouseRelease(content, Qt::LeftButton, {}, QPoint(9, 9));
        EXPECT_EQ(log, c.events) << c.how;
    }
}

// Guards: typing on the window itself not reaching KeyDown and KeyUp.
TEST_F(WindowWidgetTest, KeysTypedOnTheWindowRaiseKeyDownAndKeyUp)
{
    record.setEventHandler("KeyDown", makeCode<bool(Object&, Str)>([&](Object&, Str key) {
                               log.push_back("KeyDown " + key.toStdString());
                               return true;
                           }));
    record.setEventHandler("KeyUp", makeCode<void(Object&, Str)>(
                                        [&](Object&, Str key) { log.push_back("KeyUp " + key.toStdString()); }));
    const Ref<Object> w = newWindow();
    activate(w);
    Window::SetFocus(*w);
    QTest::keyClick(Window::from(*w).contentArea(), Qt::Key_A);
    EXPECT_EQ(log, (std::vector<std::string> { "KeyDown a", "KeyUp a" }));
}

}
