#include "WindowWidget.h"

#include "ClassEvent.h"
#include "EventLoop.h"
#include "QtText.h"
#include "WindowSupport.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>

namespace platform {

Window::Widget::Widget(Window& owner)
    : m_owner(owner)
{
}

Window::Widget::~Widget()
{
    if (m_content)
        m_content->removeEventFilter(this);
}

void Window::Widget::watchContent(QWidget* content)
{
    m_content = content;
    content->setMouseTracking(true);
    content->installEventFilter(this);
}

void Window::Widget::closeEvent(QCloseEvent* event)
{
    Window& w = m_owner;
    // Whatever the handlers release, the window outlives this event; the framework lets the
    // reference go on the loop's next turn.
    Ref<Object> keep(&w);
    if (w.m_closed) {
        event->accept();
    } else if (w.m_closeApproved || w.m_closing) {
        event->accept();
        w.closed();
    } else {
        // A failing handler does not keep the window on screen: the user asked to close it.
        bool mayClose = true;
        w.m_closing = true;
        EventLoop::deliver(
            w, [&] { mayClose = w.record().callSlot<bool(Object&, bool)>(SlotUnifiedClose, w, false); });
        w.m_closing = false;
        if (mayClose) {
            event->accept();
            w.closed();
        } else {
            event->ignore();
        }
    }
    WindowSupport::releaseLater(std::move(keep));
}

void Window::Widget::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (modalLoop && !isVisible())
        modalLoop->exit();
}

void Window::Widget::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    dispatch(SlotCallMoved);
}

void Window::Widget::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    dispatch(SlotCallResized);
}

void Window::Widget::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        dispatch(isActiveWindow() ? SlotCallActivated : SlotCallDeactivated);
    } else if (event->type() == QEvent::WindowStateChange) {
        const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        const Qt::WindowStates now = windowState();
        const ClassEvent<void()>* raised = nullptr;
        if ((now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized))
            raised = &Events::Minimize;
        else if ((now & Qt::WindowMaximized) && !(now & Qt::WindowMinimized) && !(before & Qt::WindowMaximized))
            raised = &Events::Maximize;
        else if (!(now & (Qt::WindowMinimized | Qt::WindowMaximized))
                 && (before & (Qt::WindowMinimized | Qt::WindowMaximized)))
            raised = &Events::Restore;
        if (raised)
            EventLoop::deliver(m_owner, [&] { raiseEvent(m_owner, *raised); });
    }
}

bool Window::Widget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_content)
        return false;
    Window& w = m_owner;
    const ClassRecord& r = w.record();
    bool handled = false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        EventLoop::deliver(w, [&] {
            handled = r.callSlot<bool(Object&, std::int32_t, std::int32_t)>(SlotCallMouseDown, w, p.x(), p.y());
        });
        m_mouseCaptured = handled;
        return handled;
    }
    case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (m_mouseCaptured)
            EventLoop::deliver(w, [&] { raiseEvent(w, Events::MouseDrag, p.x(), p.y()); });
        else
            EventLoop::deliver(
                w, [&] { r.callSlot<void(Object&, std::int32_t, std::int32_t)>(SlotMouseMove, w, p.x(), p.y()); });
        return m_mouseCaptured;
    }
    case QEvent::MouseButtonRelease: {
        if (!m_mouseCaptured)
            return false;
        m_mouseCaptured = false;
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        EventLoop::deliver(w, [&] { raiseEvent(w, Events::MouseUp, p.x(), p.y()); });
        return true;
    }
    case QEvent::Enter:
        dispatch(SlotMouseEnter);
        return false;
    case QEvent::Leave:
        dispatch(SlotMouseExit);
        return false;
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint p = wheel->position().toPoint();
        // One step of an ordinary wheel is 120; the sign follows the content, not the wheel.
        const QPoint steps = -wheel->angleDelta() / 120;
        EventLoop::deliver(w, [&] {
            handled = r.callSlot<bool(Object&, std::int32_t, std::int32_t, std::int32_t, std::int32_t)>(
                SlotMouseWheel, w, p.x(), p.y(), steps.x(), steps.y());
        });
        return handled;
    }
    case QEvent::KeyPress: {
        const String key = fromQString(static_cast<QKeyEvent*>(event)->text());
        EventLoop::deliver(w, [&] { handled = r.callSlot<bool(Object&, const String&)>(SlotKeyDown, w, key); });
        return handled;
    }
    case QEvent::KeyRelease: {
        const String key = fromQString(static_cast<QKeyEvent*>(event)->text());
        EventLoop::deliver(w, [&] { raiseEvent(w, Events::KeyUp, key); });
        return false;
    }
    default:
        return false;
    }
}

void Window::Widget::dispatch(Window::Slot slot)
{
    EventLoop::deliver(m_owner, [&] { m_owner.record().callSlot<void(Object&)>(slot, m_owner); });
}

}
