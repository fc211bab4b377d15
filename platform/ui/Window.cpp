#include "Window.h"

#include "ClassEvent.h"
#include "Control.h"
#include "EventLoop.h"
#include "MenuItemView.h"
#include "OutOfBoundsException.h"
#include "PropertyTable.h"
#include "QtColor.h"
#include "QtText.h"
#include "RectControl.h"
#include "StorageCast.h"
#include "UnsupportedOperationException.h"
#include "WindowSchema.h"
#include "WindowSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <array>

namespace platform {

namespace {

constexpr std::array<const char*, Window::SlotCount> slotNames {
    "Show", "ShowWithin", "ShowModalWithin", "Hide", "Close", "Refresh", "RefreshRect", "ShowModal", "NewDragItem",
    "AcceptTextDrop", "AcceptPictureDrop", "AcceptFileDrop", "AcceptMacDataDrop", "AcceptRawDataDrop", "Control",
    "SetFocus", "DrawInto", "_DrawBackground", "UpdateNow", "_AddControl", "_AddMenuHandler", "Window",
    "Operator_Convert", "__New", "_Move", "Maximize", "Minimize", "Restore", "_Update", "_CallMoved",
    "_EnableMenuItems", "_CallActivated", "_CallDeactivated", "_HandleMenuCommand", "_UnifiedClose",
    "_CallMouseDown", "_CallResized", "_CallResizing", "_RemoveControl", "_MouseEnter", "_MouseExit", "_MouseMove",
    "_Paint", "_MouseWheel", "_KeyDown", "__DependencyList", "Constructor", "TrueWindow", "FocusNext",
    "FocusPrevious",
};

constexpr std::array<const char*, 33> eventNames {
    "Layout", "CreateControls", "AddMenuHandlers", "SetupBindings", "Open", "Close", "CancelClose", "KeyDown",
    "KeyUp", "MouseMove", "MouseEnter", "MouseExit", "Paint", "MouseDown", "MouseDrag", "MouseUp",
    "EnableMenuItems", "Resized", "Resizing", "Moved", "DropObject", "Activate", "Deactivate", "Minimize",
    "Maximize", "Restore", "MouseWheel", "ConstructContextualMenu", "ContextualMenuAction", "DragEnter",
    "DragExit", "DragOver", "ContentsChanged",
};

template<class Signature>
Code unsupported(const char* name)
{
    return unsupportedCode<Signature>(std::string("Window.") + name);
}

void checkNotSelf(const Window& self, const Window& parent, const char* operation)
{
    if (&self == &parent)
        throw RuntimeException(std::string("Window.") + operation + ": a window cannot be shown within itself");
}

// The parent a window is shown within keeps it in front, as Qt's transient parent.
void setTransientParent(QMainWindow& window, QMainWindow* parent)
{
    window.winId();
    if (parent)
        parent->winId();
    window.windowHandle()->setTransientParent(parent ? parent->windowHandle() : nullptr);
}

}

// The Qt window. What the user does to it reaches the window's events through its method table,
// at the framework's boundary.
class Window::Widget final : public QMainWindow {
public:
    explicit Widget(Window& owner)
        : m_owner(owner)
    {
    }
    ~Widget() override
    {
        if (m_content)
            m_content->removeEventFilter(this);
    }

    void watchContent(QWidget* content)
    {
        m_content = content;
        content->setMouseTracking(true);
        content->installEventFilter(this);
    }

    bool moveFocus(bool next) { return focusNextPrevChild(next); }

    QEventLoop* modalLoop = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override
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
                [&] { mayClose = w.record().callSlot<bool(Object&, bool)>(SlotUnifiedClose, w, false); });
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

    void hideEvent(QHideEvent* event) override
    {
        QMainWindow::hideEvent(event);
        if (modalLoop && !isVisible())
            modalLoop->exit();
    }

    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        dispatch(SlotCallMoved);
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        dispatch(SlotCallResized);
    }

    void changeEvent(QEvent* event) override
    {
        QMainWindow::changeEvent(event);
        if (event->type() == QEvent::ActivationChange) {
            dispatch(isActiveWindow() ? SlotCallActivated : SlotCallDeactivated);
        } else if (event->type() == QEvent::WindowStateChange) {
            const ::Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
            const ::Qt::WindowStates now = windowState();
            const char* raised = nullptr;
            if ((now & ::Qt::WindowMinimized) && !(before & ::Qt::WindowMinimized))
                raised = "Minimize";
            else if ((now & ::Qt::WindowMaximized) && !(now & ::Qt::WindowMinimized) && !(before & ::Qt::WindowMaximized))
                raised = "Maximize";
            else if (!(now & (::Qt::WindowMinimized | ::Qt::WindowMaximized))
                     && (before & (::Qt::WindowMinimized | ::Qt::WindowMaximized)))
                raised = "Restore";
            if (raised)
                deliver([&] { raiseClassEvent<void>(m_owner, raised); });
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_content)
            return false;
        Window& w = m_owner;
        const ClassRecord& r = w.record();
        bool handled = false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            deliver([&] { handled = r.callSlot<bool(Object&, std::int32_t, std::int32_t)>(SlotCallMouseDown, w, p.x(), p.y()); });
            m_mouseCaptured = handled;
            return handled;
        }
        case QEvent::MouseMove: {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (m_mouseCaptured)
                deliver([&] { raiseClassEvent<void, std::int32_t, std::int32_t>(w, "MouseDrag", p.x(), p.y()); });
            else
                deliver([&] { r.callSlot<void(Object&, std::int32_t, std::int32_t)>(SlotMouseMove, w, p.x(), p.y()); });
            return m_mouseCaptured;
        }
        case QEvent::MouseButtonRelease: {
            if (!m_mouseCaptured)
                return false;
            m_mouseCaptured = false;
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            deliver([&] { raiseClassEvent<void, std::int32_t, std::int32_t>(w, "MouseUp", p.x(), p.y()); });
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
            deliver([&] {
                handled = r.callSlot<bool(Object&, std::int32_t, std::int32_t, std::int32_t, std::int32_t)>(
                    SlotMouseWheel, w, p.x(), p.y(), steps.x(), steps.y());
            });
            return handled;
        }
        case QEvent::KeyPress: {
            const String key = fromQString(static_cast<QKeyEvent*>(event)->text());
            deliver([&] { handled = r.callSlot<bool(Object&, const String&)>(SlotKeyDown, w, key); });
            return handled;
        }
        case QEvent::KeyRelease: {
            const String key = fromQString(static_cast<QKeyEvent*>(event)->text());
            deliver([&] { raiseClassEvent<void, const String&>(w, "KeyUp", key); });
            return false;
        }
        default:
            return false;
        }
    }

private:
    void deliver(const std::function<void()>& handler)
    {
        // A window nobody holds is still being made or already going: it has no events to raise.
        if (m_owner.refCount() == 0)
            return;
        Ref<Object> keep(&m_owner);
        EventLoop::deliver(handler);
    }
    void dispatch(Window::Slot slot)
    {
        deliver([&] { m_owner.record().callSlot<void(Object&)>(slot, m_owner); });
    }

    Window& m_owner;
    QWidget* m_content = nullptr;
    bool m_mouseCaptured = false;
};

struct Window::Qt {
    Widget* window;
    QWidget* content;
};

struct WindowMaker {
    static Object* make(const ClassRecord& record) { return new Window(record); }
};

const ClassRecord& Window::Lookup()
{
    using I32 = std::int32_t;
    using Obj = const Ref<Object>&;
    using Str = const String&;
    static const ClassRecord* record = [] {
        auto* r = new ClassRecord("Window", nullptr, &WindowMaker::make);
        RuntimeNewVtable(*r, SlotCount);
        const auto set = [&](Slot slot, Code code) { r->setSlot(slot, slotNames[slot], std::move(code)); };
        set(SlotShow, makeCode<void(Object&)>(&Window::Show));
        set(SlotShowWithin, makeCode<void(Object&, Obj)>(&Window::ShowWithin));
        set(SlotShowModalWithin, makeCode<void(Object&, Obj)>(&Window::ShowModalWithin));
        set(SlotHide, makeCode<void(Object&)>(&Window::Hide));
        set(SlotClose, makeCode<void(Object&)>(&Window::Close));
        set(SlotRefresh, makeCode<void(Object&)>(&Window::Refresh));
        set(SlotRefreshRect, makeCode<void(Object&, I32, I32, I32, I32)>(&Window::RefreshRect));
        set(SlotShowModal, makeCode<void(Object&)>(&Window::ShowModal));
        // Drags and drops need a drag item and drop events, which this framework does not have.
        set(SlotNewDragItem, unsupported<Ref<Object>(Object&, I32, I32, I32, I32)>("NewDragItem"));
        set(SlotAcceptTextDrop, unsupported<void(Object&)>("AcceptTextDrop"));
        set(SlotAcceptPictureDrop, unsupported<void(Object&)>("AcceptPictureDrop"));
        set(SlotAcceptFileDrop, unsupported<void(Object&, Str)>("AcceptFileDrop"));
        set(SlotAcceptMacDataDrop, unsupported<void(Object&, Str)>("AcceptMacDataDrop"));
        set(SlotAcceptRawDataDrop, unsupported<void(Object&, Str)>("AcceptRawDataDrop"));
        set(SlotControl, makeCode<Ref<Object>(Object&, I32)>(&Window::ControlAt));
        set(SlotSetFocus, makeCode<void(Object&)>(&Window::SetFocus));
        // A window's widgets cannot be drawn into a page's graphics, which hold only text and lines.
        set(SlotDrawInto, unsupported<void(Object&, Obj, I32, I32)>("DrawInto"));
        set(SlotDrawBackground, unsupported<void(Object&, Obj)>("_DrawBackground"));
        set(SlotUpdateNow, makeCode<void(Object&)>(&Window::UpdateNow));
        set(SlotAddControl, makeCode<void(Object&, Str, Obj)>(&Window::AddControl));
        // Menu choices reach their items' Action handlers; windows keep no menu handlers.
        set(SlotAddMenuHandler, unsupported<void(Object&, Str, Obj)>("_AddMenuHandler"));
        set(SlotWindow, makeCode<Ref<Object>(Object&)>(&Window::WindowOf));
        set(SlotOperatorConvert, unsupported<Ref<Object>(Object&)>("Operator_Convert"));
        set(SlotNew, makeCode<Ref<Object>(Object&, const ClassRecord&)>(&Window::New));
        set(SlotMove, makeCode<void(Object&, I32, I32)>(&Window::Move));
        set(SlotMaximize, makeCode<void(Object&)>(&Window::Maximize));
        set(SlotMinimize, makeCode<void(Object&)>(&Window::Minimize));
        set(SlotRestore, makeCode<void(Object&)>(&Window::Restore));
        set(SlotUpdate, unsupported<void(Object&)>("_Update"));
        set(SlotCallMoved, makeCode<void(Object&)>(&Window::CallMoved));
        set(SlotEnableMenuItems, makeCode<void(Object&)>(&Window::EnableMenuItems));
        set(SlotCallActivated, makeCode<void(Object&)>(&Window::CallActivated));
        set(SlotCallDeactivated, makeCode<void(Object&)>(&Window::CallDeactivated));
        set(SlotHandleMenuCommand, unsupported<bool(Object&, Str)>("_HandleMenuCommand"));
        set(SlotUnifiedClose, makeCode<bool(Object&, bool)>(&Window::UnifiedClose));
        set(SlotCallMouseDown, makeCode<bool(Object&, I32, I32)>(&Window::CallMouseDown));
        set(SlotCallResized, makeCode<void(Object&)>(&Window::CallResized));
        set(SlotCallResizing, makeCode<void(Object&)>(&Window::CallResizing));
        set(SlotRemoveControl, makeCode<void(Object&, Obj)>(&Window::RemoveControl));
        set(SlotMouseEnter, makeCode<void(Object&)>(&Window::MouseEnter));
        set(SlotMouseExit, makeCode<void(Object&)>(&Window::MouseExit));
        set(SlotMouseMove, makeCode<void(Object&, I32, I32)>(&Window::MouseMove));
        set(SlotPaint, unsupported<void(Object&, Obj)>("_Paint"));
        set(SlotMouseWheel, makeCode<bool(Object&, I32, I32, I32, I32)>(&Window::MouseWheel));
        set(SlotKeyDown, makeCode<bool(Object&, Str)>(&Window::KeyDown));
        // Belongs to ahead-of-time linking, which this framework does not do.
        set(SlotDependencyList, unsupported<void(Object&)>("__DependencyList"));
        set(SlotConstructor, makeCode<void(Object&)>(&Window::Constructor));
        set(SlotTrueWindow, makeCode<Ref<Object>(Object&)>(&Window::TrueWindow));
        set(SlotFocusNext, makeCode<void(Object&)>(&Window::FocusNext));
        set(SlotFocusPrevious, makeCode<void(Object&)>(&Window::FocusPrevious));
        for (const char* e : eventNames)
            r->events().push_back(EventEntry { e, nullptr });
        return r;
    }();
    return *record;
}

Window::Window(const ClassRecord& record)
    : Object(record)
    , m_qt(std::make_unique<Qt>())
{
    m_qt->window = new Widget(*this);
    m_qt->content = new QWidget(m_qt->window);
    m_qt->window->setCentralWidget(m_qt->content);
    m_qt->window->watchContent(m_qt->content);
}

Window::~Window()
{
    // Widgets go first, so no Qt signal can reach a control being released.
    delete m_qt->window;
    for (Control* c : m_made)
        c->m_window = nullptr;
}

Window& Window::from(Object& object)
{
    return storageAs<Window>(object, "a Window");
}

QMainWindow* Window::qtWindow() const noexcept
{
    return m_qt->window;
}

QWidget* Window::contentArea() const noexcept
{
    return m_qt->content;
}

void Window::Show(Object& window)
{
    Window& self = from(window);
    QMainWindow& qw = *self.m_qt->window;
    self.m_closed = false;
    qw.show();
    qw.raise();
    qw.activateWindow();
}

void Window::ShowWithin(Object& window, const Ref<Object>& parent)
{
    Window& self = from(window);
    Window& p = from(parent.object());
    checkNotSelf(self, p, "ShowWithin");
    setTransientParent(*self.m_qt->window, p.m_qt->window);
    Show(window);
}

void Window::ShowModal(Object& window)
{
    from(window).showModal(nullptr);
}

void Window::ShowModalWithin(Object& window, const Ref<Object>& parent)
{
    Window& self = from(window);
    Window& p = from(parent.object());
    checkNotSelf(self, p, "ShowModalWithin");
    self.showModal(&p);
}

void Window::showModal(Window* parent)
{
    Widget& qw = *m_qt->window;
    if (qw.modalLoop)
        throw RuntimeException("Window.ShowModal: the window " + record().name().toStdString()
                               + " is already shown modally");
    Ref<Object> keep(this);
    if (parent)
        setTransientParent(qw, parent->m_qt->window);
    const bool wasVisible = qw.isVisible();
    // Qt takes a change of modality only while the window is hidden.
    if (wasVisible)
        qw.hide();
    qw.setWindowModality(parent ? ::Qt::WindowModal : ::Qt::ApplicationModal);
    QEventLoop loop;
    qw.modalLoop = &loop;
    struct EndModal {
        Widget& qw;
        ~EndModal()
        {
            qw.modalLoop = nullptr;
            const bool visible = qw.isVisible();
            if (visible)
                qw.hide();
            qw.setWindowModality(::Qt::NonModal);
            if (visible)
                qw.show();
        }
    } endModal { qw };
    Show(*this);
    if (qw.isVisible())
        loop.exec(QEventLoop::DialogExec);
    // A handler that failed while the window was modal ended the loop; its caller hears of it.
    EventLoop::rethrowPendingException();
}

void Window::Hide(Object& window)
{
    from(window).m_qt->window->hide();
}

void Window::Close(Object& window)
{
    Window& self = from(window);
    Ref<Object> keep(&window);
    if (self.m_closed || self.m_closing)
        return;
    self.m_closing = true;
    bool mayClose = false;
    try {
        mayClose = window.record().callSlot<bool(Object&, bool)>(SlotUnifiedClose, window, false);
    } catch (...) {
        self.m_closing = false;
        throw;
    }
    self.m_closing = false;
    if (!mayClose)
        return;
    self.m_closeApproved = true;
    self.m_qt->window->close();
    // A window Qt never had on screen gets no close event.
    if (!self.m_closed)
        self.closed();
}

void Window::closed()
{
    m_closed = true;
    m_closeApproved = false;
    WindowSupport::windowClosed(*this);
}

void Window::Refresh(Object& window)
{
    Window& self = from(window);
    self.m_qt->window->update();
    for (QWidget* w : self.m_qt->window->findChildren<QWidget*>())
        w->update();
}

void Window::RefreshRect(Object& window, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    Window& self = from(window);
    if (width < 0 || height < 0)
        throw OutOfBoundsException("Window.RefreshRect: width " + std::to_string(width) + " and height "
                                   + std::to_string(height) + " must not be negative");
    // Controls lie over the content area; Qt repaints those the rectangle touches with it.
    self.m_qt->content->update(QRect(left, top, width, height));
}

Ref<Object> Window::ControlAt(Object& window, std::int32_t index)
{
    Window& self = from(window);
    if (index < 0 || static_cast<std::size_t>(index) >= self.m_controls.size())
        throw OutOfBoundsException("Window.Control: index " + std::to_string(index) + " is outside 0 to "
                                   + std::to_string(static_cast<long>(self.m_controls.size()) - 1) + " of "
                                   + self.record().name().toStdString());
    return self.m_controls[static_cast<std::size_t>(index)].control;
}

void Window::SetFocus(Object& window)
{
    Window& self = from(window);
    self.m_qt->window->activateWindow();
    self.m_qt->content->setFocus(::Qt::OtherFocusReason);
}

void Window::UpdateNow(Object& window)
{
    from(window).m_qt->window->repaint();
}

Ref<Object> Window::New(Object& window, const ClassRecord& record)
{
    Window& self = from(window);
    Ref<Object> made = RuntimeNewObject(record);
    if (auto* control = dynamic_cast<Control*>(made.get())) {
        self.m_made.push_back(control);
        control->attachTo(self);
    }
    return made;
}

void Window::Constructor(Object& window)
{
    Window& self = from(window);
    Ref<Object> keep(&window);
    // Held from here on: the framework, not the caller, keeps a constructed window open. A window
    // whose construction fails is not kept, so the next request builds a whole one.
    WindowSupport::registerWindow(keep);
    struct Unregister {
        Object* window;
        ~Unregister()
        {
            if (window)
                WindowSupport::unregisterWindow(*window);
        }
    } onFailure { &window };
    raiseClassEvent<void>(window, "Layout");
    raiseClassEvent<void>(window, "CreateControls");
    raiseClassEvent<void>(window, "Open");
    onFailure.window = nullptr;
    self.m_contentsChanged = false;
}

void Window::AddControl(Object& window, const String& name, const Ref<Object>& control)
{
    Window& self = from(window);
    Control& c = Control::from(control.object());
    if (c.window() != &self)
        throw RuntimeException("Window._AddControl: control " + name.toStdString() + " was not made for this window");
    if (std::any_of(self.m_controls.begin(), self.m_controls.end(),
                    [&](const Entry& e) { return e.control.get() == &c; }))
        throw RuntimeException("Window._AddControl: control " + name.toStdString() + " is in the window already");
    // A control taken out of the window comes back on screen with it.
    if (auto* rc = dynamic_cast<RectControl*>(&c); rc && rc->widget() && !rc->widget()->parent())
        c.attachTo(self);
    c.m_name = name;
    self.m_controls.push_back(Entry { name, control });
}

void Window::RemoveControl(Object& window, const Ref<Object>& control)
{
    Window& self = from(window);
    Control& c = Control::from(control.object());
    auto it = std::find_if(self.m_controls.begin(), self.m_controls.end(),
                           [&](const Entry& e) { return e.control.get() == &c; });
    if (it == self.m_controls.end())
        throw RuntimeException("Window._RemoveControl: control " + c.name().toStdString() + " is not in the window");
    // Released after the list is consistent again: it may be the control's last reference.
    Ref<Object> removed = std::move(it->control);
    self.m_controls.erase(it);
    if (auto* rc = dynamic_cast<RectControl*>(&c); rc && rc->widget()) {
        rc->widget()->hide();
        rc->widget()->setParent(nullptr);
    }
}

Ref<Object> Window::WindowOf(Object& window)
{
    return Ref<Object>(&from(window));
}

Ref<Object> Window::TrueWindow(Object& window)
{
    return Ref<Object>(&from(window));
}

void Window::Move(Object& window, std::int32_t left, std::int32_t top)
{
    from(window).m_qt->window->move(left, top);
}

void Window::Maximize(Object& window)
{
    from(window).m_qt->window->showMaximized();
}

void Window::Minimize(Object& window)
{
    from(window).m_qt->window->showMinimized();
}

void Window::Restore(Object& window)
{
    from(window).m_qt->window->showNormal();
}

void Window::FocusNext(Object& window)
{
    from(window).m_qt->window->moveFocus(true);
}

void Window::FocusPrevious(Object& window)
{
    from(window).m_qt->window->moveFocus(false);
}

void Window::CallMoved(Object& window)
{
    raiseClassEvent<void>(window, "Moved");
}

void Window::CallResized(Object& window)
{
    raiseClassEvent<void>(window, "Resized");
}

void Window::CallResizing(Object& window)
{
    raiseClassEvent<void>(window, "Resizing");
}

void Window::CallActivated(Object& window)
{
    raiseClassEvent<void>(window, "Activate");
}

void Window::CallDeactivated(Object& window)
{
    raiseClassEvent<void>(window, "Deactivate");
}

void Window::EnableMenuItems(Object& window)
{
    raiseClassEvent<void>(window, "EnableMenuItems");
}

bool Window::UnifiedClose(Object& window, bool appQuitting)
{
    if (raiseClassEvent<bool>(window, "CancelClose", appQuitting))
        return false;
    raiseClassEvent<void>(window, "Close");
    return true;
}

bool Window::CallMouseDown(Object& window, std::int32_t x, std::int32_t y)
{
    return raiseClassEvent<bool>(window, "MouseDown", x, y);
}

void Window::MouseEnter(Object& window)
{
    raiseClassEvent<void>(window, "MouseEnter");
}

void Window::MouseExit(Object& window)
{
    raiseClassEvent<void>(window, "MouseExit");
}

void Window::MouseMove(Object& window, std::int32_t x, std::int32_t y)
{
    raiseClassEvent<void>(window, "MouseMove", x, y);
}

bool Window::MouseWheel(Object& window, std::int32_t x, std::int32_t y, std::int32_t deltaX, std::int32_t deltaY)
{
    return raiseClassEvent<bool>(window, "MouseWheel", x, y, deltaX, deltaY);
}

bool Window::KeyDown(Object& window, const String& key)
{
    return raiseClassEvent<bool, const String&>(window, "KeyDown", key);
}

void Window::MenuBarSet(Object& window, std::int32_t, const Ref<Object>& menuBar)
{
    Window& self = from(window);
    attachMenuBar(*self.m_qt->window, menuBar);
    self.m_menuBar = menuBar;
}

Ref<Object> Window::MenuBarGet(Object& window)
{
    return from(window).m_menuBar;
}

namespace {

// The content area is what the size properties describe, within Qt's widget limits; the menu
// bar sits above it.
constexpr PropertyRange windowExtent { 0, QWIDGETSIZE_MAX };

QSize chrome(Window& w)
{
    QWidget* bar = w.qtWindow()->menuWidget();
    return QSize(0, bar && !bar->isHidden() ? bar->sizeHint().height() : 0);
}

std::int32_t storedInt(Window& w, std::string_view name, std::int32_t fallback)
{
    if (auto v = w.propertyStore().get(name))
        return std::get<std::int32_t>(*v);
    return fallback;
}

bool storedBool(Window& w, std::string_view name, bool fallback)
{
    if (auto v = w.propertyStore().get(name))
        return std::get<bool>(*v);
    return fallback;
}

void applySize(Object& window)
{
    Window& w = Window::from(window);
    QMainWindow& qw = *w.qtWindow();
    const QSize extra = chrome(w);
    const QSize size(storedInt(w, "Width", qw.width()), storedInt(w, "Height", qw.height() - extra.height()));
    if (!storedBool(w, "Resizeable", true)) {
        qw.setFixedSize(size + extra);
        return;
    }
    const QSize minimum(storedInt(w, "MinWidth", 0), storedInt(w, "MinHeight", 0));
    const QSize maximum(std::min(storedInt(w, "MaxWidth", QWIDGETSIZE_MAX), QWIDGETSIZE_MAX),
                        std::min(storedInt(w, "MaxHeight", QWIDGETSIZE_MAX), QWIDGETSIZE_MAX));
    qw.setMinimumSize((minimum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    qw.setMaximumSize((maximum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    qw.resize(size + extra);
}

void applyFlags(Object& window)
{
    Window& w = Window::from(window);
    QMainWindow& qw = *w.qtWindow();
    const bool wasVisible = qw.isVisible();
    ::Qt::WindowFlags flags =
        ::Qt::Window | ::Qt::CustomizeWindowHint | ::Qt::WindowTitleHint | ::Qt::WindowSystemMenuHint;
    if (storedBool(w, "CloseButton", true))
        flags |= ::Qt::WindowCloseButtonHint;
    if (storedBool(w, "MinimizeButton", true))
        flags |= ::Qt::WindowMinimizeButtonHint;
    if (storedBool(w, "MaximizeButton", true))
        flags |= ::Qt::WindowMaximizeButtonHint;
    if (qw.windowFlags() != flags) {
        qw.setWindowFlags(flags);
        // Qt hides a window whose flags change.
        if (wasVisible)
            qw.show();
    }
}

void applyBackground(Object& window)
{
    Window& w = Window::from(window);
    QWidget& content = *w.contentArea();
    const bool has = storedBool(w, "HasBackColor", false);
    content.setAutoFillBackground(has);
    if (auto c = w.propertyStore().get("BackColor"); c && has)
        setPaletteColor(content, QPalette::Window, std::get<Color>(*c));
}

void applyVisibility(Object& window)
{
    Window& w = Window::from(window);
    QMainWindow& qw = *w.qtWindow();
    if (!storedBool(w, "Visible", false)) {
        qw.hide();
        return;
    }
    if (storedBool(w, "FullScreen", false))
        qw.showFullScreen();
    else
        qw.show();
}

void setMenuBarVisible(Object& window, bool visible)
{
    if (QWidget* bar = Window::from(window).qtWindow()->menuWidget())
        bar->setVisible(visible);
    applySize(window);
}

}

// Most window properties are kept, and what Qt shows is worked out again from all of them.
const PropertyTable& Window::properties()
{
    static const PropertyTable table(windowSchema, nullptr, {
        PropertyRow::kept("Placement"),
        PropertyRow::kept("Width", windowExtent, applySize),
        PropertyRow::kept("Height", windowExtent, applySize),
        PropertyRow::kept("MinWidth", windowExtent, applySize),
        PropertyRow::kept("MinHeight", windowExtent, applySize),
        PropertyRow::kept("MaxWidth", windowExtent, applySize),
        PropertyRow::kept("MaxHeight", windowExtent, applySize),
        PropertyRow::kept("Frame"),
        PropertyRow::kept("MacProcId"),
        PropertyRow::kept("Composite"),
        PropertyRow::kept("HasBackColor", applyBackground),
        PropertyRow::kept("Visible", applyVisibility, [](Object& o) { return !from(o).qtWindow()->isHidden(); }),
        PropertyRow::kept("FullScreen", applyVisibility),
        PropertyRow::kept("MenuBarVisible", setMenuBarVisible),
        PropertyRow::kept("CloseButton", applyFlags),
        PropertyRow::kept("Resizeable", applySize),
        PropertyRow::kept("LiveResize"),
        PropertyRow::kept("MaximizeButton", applyFlags),
        PropertyRow::kept("MinimizeButton", applyFlags),
        PropertyRow::kept("BackColor", applyBackground),
        { "Title", [](Object& o, const String& title) { from(o).qtWindow()->setWindowTitle(toQString(title)); },
          [](Object& o) { return fromQString(from(o).qtWindow()->windowTitle()); } },
    }, {}, { .storeOf = [](Object& o) -> PropertyStore& { return from(o).propertyStore(); } });
    return table;
}

Ref<Object> Window::controlByName(std::string_view name) const
{
    for (const Entry& e : m_controls) {
        if (e.name.bytes() == name)
            return e.control;
    }
    return nullptr;
}

Ref<Object> RuntimeWindowControlByName(const Ref<Object>& window, const String& name)
{
    return Window::from(window.object()).controlByName(name.bytes());
}

void RuntimeSwapSelfAndMe(Ref<Object>& self, Ref<Object>& me)
{
    me = self;
    if (auto* control = dynamic_cast<Control*>(me.get()))
        self = Ref<Object>(control->window());
}

}
