#include "EventLoop.h"

#include "Control.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "PushButton.h"
#include "RuntimeException.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <string>

using namespace platform;

namespace {

// Deliveries as Qt makes them: from a window's Qt window, a control's widget and a menu's entry.
class EventLoopDelivery : public ::testing::Test {
protected:
    void SetUp() override { m_liveBefore = Object::liveInstances(); }
    void TearDown() override
    {
        EventLoop::takePendingException();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(EventLoop::deliveryDepth(), 0);
        EXPECT_EQ(Object::liveInstances(), m_liveBefore);
    }

    static Ref<Object> newItem(const ClassRecord& record)
    {
        Ref<Object> item = RuntimeNewObject(record);
        item->record().callSlot<void(Object&)>(MenuItem::SlotConstructor, *item);
        return item;
    }
    static QAction& entryOf(const Ref<Object>& item) { return MenuItem::from(*item).view().shownAction(); }

private:
    long m_liveBefore = 0;
};

// Guards: handlers run for an object still being made or already going, or a hold taken on it
// that deletes it a second time.
TEST_F(EventLoopDelivery, AReceiverNobodyHoldsGetsNothing)
{
    ClassRecord plain("Plain", nullptr);
    auto* unheld = new Object(plain);
    bool ran = false;
    EventLoop::deliver(*unheld, [&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_EQ(unheld->refCount(), 0);
    delete unheld;
}

// Guards: a menu item whose handler drops its last reference deleting its Qt entry while that
// entry is still delivering the choice (the delivery's own hold let go outside its count).
TEST_F(EventLoopDelivery, AReceiverReleasedByItsOwnHandlerDiesAfterItAndLeavesItsQtObjectsToTheLoop)
{
    Ref<Object> held;
    ClassRecord dropping("Dropping", &MenuItem::Lookup());
    dropping.setEventHandler(MenuItem::Events::Action, makeCode<bool(Object&)>([&](Object& self) {
                                 held = nullptr;
                                 EXPECT_GT(self.refCount(), 0) << "held by the delivery";
                                 return true;
                             }));
    held = newItem(dropping);
    const long live = Object::liveInstances();
    QPointer<QAction> entry = &entryOf(held);
    entry->trigger();
    EXPECT_EQ(Object::liveInstances(), live - 1) << "gone once its handler returned";
    EXPECT_TRUE(entry) << "its Qt entry was deleted while delivering";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(entry);
}

// Guards: a delivery of one kind not counted while another runs inside it, so Qt objects are
// deleted under a delivery still running; the depth left raised by a failing handler; a later
// failure replacing the first one.
TEST_F(EventLoopDelivery, NestedDeliveriesOfWindowControlAndMenuAreCountedAndKeepTheFirstFailure)
{
    int depthInMenu = -1;
    ClassRecord failingItem("FailingItem", &MenuItem::Lookup());
    failingItem.setEventHandler(MenuItem::Events::Action, makeCode<bool(Object&)>([&](Object&) -> bool {
                                    depthInMenu = EventLoop::deliveryDepth();
                                    throw RuntimeException("first");
                                }));
    const Ref<Object> item = newItem(failingItem);

    ClassRecord typed("Typed", &Window::Lookup());
    const Ref<Object> window = RuntimeNewObject(typed);
    const Ref<Object> button = Window::New(*window, PushButton::Lookup());
    RectControl::Constructor(*button);
    Window::AddControl(*window, "Button", button);
    InstallInstanceEventHandler(*button, "Action", makeCode<void(Object&)>([&](Object&) {
                                    entryOf(item).trigger();
                                    throw RuntimeException("second");
                                }));
    typed.setEventHandler(Window::Events::KeyDown, makeCode<bool(Object&, const String&)>([&](Object&, const String&) -> bool {
                              static_cast<PushButton&>(*button).press();
                              throw RuntimeException("third");
                          }));

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(Window::from(*window).contentArea(), &key);
    EXPECT_EQ(depthInMenu, 3) << "the window's, the button's and the menu's";
    EXPECT_EQ(EventLoop::deliveryDepth(), 0);
    try {
        EventLoop::rethrowPendingException();
        ADD_FAILURE() << "no failure kept";
    } catch (const RuntimeException& e) {
        EXPECT_STREQ(e.what(), "first");
    }
}

}
