#include "Window.h"

#include "AttachMenuBar.h"
#include "ClassEvent.h"
#include "ClassSchemas.h"
#include "Control.h"
#include "EventLoop.h"
#include "OutOfBoundsException.h"
#include "PropertyTable.h"
#include "QtColor.h"
#include "QtText.h"
#include "StorageCast.h"
#include "UnsupportedOperationException.h"
#include "WindowSupport.h"
#include "WindowWidget.h"

#include <QEventLoop>
#include <QMainWindow>
#include <QScopeGuard>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace platform {

namespace {

// Shows or hides the window as its Visible and FullScreen properties say.
void applyVisibility(Object& window);

// The code of a dispatcher slot whose whole work is to raise its event: the slot takes the
// window and the event's arguments and returns what the handler returns.
template<class R, class... A>
Code raiserOf(const ClassEvent<R(A...)>& event)
{
    return makeCode<R(Object&, A...)>(
        [&event](Object& window, A... args) { return raiseEvent(window, event, args...); });
}

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

struct Window::QtParts {
    Widget* window;
    QWidget* content;
};

const ClassRecord& Window::Lookup()
{
    using namespace slotParameters;
    static ClassCache cache;
    return cache.build(nullptr, "Window", SlotCount, [](ClassRecord& r) {
        r.declareSlots<0, SlotCount>({
            { SlotShow, "Show", makeCode<void(Object&)>(&Window::Show) },
            { SlotShowWithin, "ShowWithin", makeCode<void(Object&, Obj)>(&Window::ShowWithin) },
            { SlotShowModalWithin, "ShowModalWithin", makeCode<void(Object&, Obj)>(&Window::ShowModalWithin) },
            { SlotHide, "Hide", makeCode<void(Object&)>(&Window::Hide) },
            { SlotClose, "Close", makeCode<void(Object&)>(&Window::Close) },
            { SlotRefresh, "Refresh", makeCode<void(Object&)>(&Window::Refresh) },
            { SlotRefreshRect, "RefreshRect", makeCode<void(Object&, I32, I32, I32, I32)>(&Window::RefreshRect) },
            { SlotShowModal, "ShowModal", makeCode<void(Object&)>(&Window::ShowModal) },
            // Drags and drops need a drag item and drop events, which this framework does not have.
            { SlotNewDragItem, "NewDragItem", unsupported<Ref<Object>(Object&, I32, I32, I32, I32)>("NewDragItem") },
            { SlotAcceptTextDrop, "AcceptTextDrop", unsupported<void(Object&)>("AcceptTextDrop") },
            { SlotAcceptPictureDrop, "AcceptPictureDrop", unsupported<void(Object&)>("AcceptPictureDrop") },
            { SlotAcceptFileDrop, "AcceptFileDrop", unsupported<void(Object&, Str)>("AcceptFileDrop") },
            { SlotAcceptMacDataDrop, "AcceptMacDataDrop", unsupported<void(Object&, Str)>("AcceptMacDataDrop") },
            { SlotAcceptRawDataDrop, "AcceptRawDataDrop", unsupported<void(Object&, Str)>("AcceptRawDataDrop") },
            { SlotControl, "Control", makeCode<Ref<Object>(Object&, I32)>(&Window::ControlAt) },
            { SlotSetFocus, "SetFocus", makeCode<void(Object&)>(&Window::SetFocus) },
            // A window's widgets cannot be drawn into a page's graphics, which hold only text and lines.
            { SlotDrawInto, "DrawInto", unsupported<void(Object&, Obj, I32, I32)>("DrawInto") },
            { SlotDrawBackground, "_DrawBackground", unsupported<void(Object&, Obj)>("_DrawBackground") },
            { SlotUpdateNow, "UpdateNow", makeCode<void(Object&)>(&Window::UpdateNow) },
            { SlotAddControl, "_AddControl", makeCode<void(Object&, Str, Obj)>(&Window::AddControl) },
            // Menu choices reach their items' Action handlers; windows keep no menu handlers.
            { SlotAddMenuHandler, "_AddMenuHandler", unsupported<void(Object&, Str, Obj)>("_AddMenuHandler") },
            { SlotWindow, "Window", makeCode<Ref<Object>(Object&)>(&Window::WindowOf) },
            { SlotOperatorConvert, "Operator_Convert", unsupported<Ref<Object>(Object&)>("Operator_Convert") },
            { SlotNew, "__New", makeCode<Ref<Object>(Object&, const ClassRecord&)>(&Window::New) },
            { SlotMove, "_Move", makeCode<void(Object&, I32, I32)>(&Window::Move) },
            { SlotMaximize, "Maximize", makeCode<void(Object&)>(&Window::Maximize) },
            { SlotMinimize, "Minimize", makeCode<void(Object&)>(&Window::Minimize) },
            { SlotRestore, "Restore", makeCode<void(Object&)>(&Window::Restore) },
            { SlotUpdate, "_Update", unsupported<void(Object&)>("_Update") },
            { SlotCallMoved, "_CallMoved", raiserOf(Events::Moved) },
            { SlotEnableMenuItems, "_EnableMenuItems", raiserOf(Events::EnableMenuItems) },
            { SlotCallActivated, "_CallActivated", raiserOf(Events::Activate) },
            { SlotCallDeactivated, "_CallDeactivated", raiserOf(Events::Deactivate) },
            { SlotHandleMenuCommand, "_HandleMenuCommand", unsupported<bool(Object&, Str)>("_HandleMenuCommand") },
            { SlotUnifiedClose, "_UnifiedClose", makeCode<bool(Object&, bool)>(&Window::UnifiedClose) },
            { SlotCallMouseDown, "_CallMouseDown", raiserOf(Events::MouseDown) },
            { SlotCallResized, "_CallResized", raiserOf(Events::Resized) },
            { SlotCallResizing, "_CallResizing", raiserOf(Events::Resizing) },
            { SlotRemoveControl, "_RemoveControl", makeCode<void(Object&, Obj)>(&Window::RemoveControl) },
            { SlotMouseEnter, "_MouseEnter", raiserOf(Events::MouseEnter) },
            { SlotMouseExit, "_MouseExit", raiserOf(Events::MouseExit) },
            { SlotMouseMove, "_MouseMove", raiserOf(Events::MouseMove) },
            { SlotPaint, "_Paint", unsupported<void(Object&, Obj)>("_Paint") },
            { SlotMouseWheel, "_MouseWheel", raiserOf(Events::MouseWheel) },
            { SlotKeyDown, "_KeyDown", raiserOf(Events::KeyDown) },
            // Belongs to ahead-of-time linking, which this framework does not do.
            { SlotDependencyList, "__DependencyList", unsupported<void(Object&)>("__DependencyList") },
            { SlotConstructor, "Constructor", makeCode<void(Object&)>(&Window::Constructor) },
            { SlotTrueWindow, "TrueWindow", makeCode<Ref<Object>(Object&)>(&Window::WindowOf) },
            { SlotFocusNext, "FocusNext", makeCode<void(Object&)>(&Window::FocusNext) },
            { SlotFocusPrevious, "FocusPrevious", makeCode<void(Object&)>(&Window::FocusPrevious) },
        });
        using E = Events;
        r.declareEvents(E::Layout, E::CreateControls, E::AddMenuHandlers, E::SetupBindings, E::Open, E::Close,
                        E::CancelClose, E::KeyDown, E::KeyUp, E::MouseMove, E::MouseEnter, E::MouseExit, E::Paint,
                        E::MouseDown, E::MouseDrag, E::MouseUp, E::EnableMenuItems, E::Resized, E::Resizing,
                        E::Moved, E::DropObject, E::Activate, E::Deactivate, E::Minimize, E::Maximize, E::Restore,
                        E::MouseWheel, E::ConstructContextualMenu, E::ContextualMenuAction, E::DragEnter,
                        E::DragExit, E::DragOver, E::ContentsChanged);
    }, &StorageMaker<Window>::make);
}

Window::Window(const ClassRecord& record)
    : Object(record)
    , m_qt(std::make_unique<QtParts>())
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
    qw.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    QEventLoop loop;
    qw.modalLoop = &loop;
    const auto endModal = qScopeGuard([&qw] {
        qw.modalLoop = nullptr;
        const bool visible = qw.isVisible();
        if (visible)
            qw.hide();
        qw.setWindowModality(Qt::NonModal);
        if (visible)
            qw.show();
    });
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
    {
        const auto closing = qScopeGuard([&self] { self.m_closing = false; });
        if (!window.record().callSlot<bool(Object&, bool)>(SlotUnifiedClose, window, false))
            return;
    }
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
    self.m_qt->content->setFocus(Qt::OtherFocusReason);
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
    auto onFailure = qScopeGuard([&window] { WindowSupport::unregisterWindow(window); });
    // Shown once complete: a window mapped during its Layout is laid out again for every control
    // that CreateControls adds.
    {
        self.m_underConstruction = true;
        const auto built = qScopeGuard([&self] { self.m_underConstruction = false; });
        raiseEvent(window, Events::Layout);
        raiseEvent(window, Events::CreateControls);
        raiseEvent(window, Events::Open);
    }
    onFailure.dismiss();
    self.m_contentsChanged = false;
    applyVisibility(window);
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
    c.detach();
}

Ref<Object> Window::WindowOf(Object& window)
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

bool Window::UnifiedClose(Object& window, bool appQuitting)
{
    if (raiseEvent(window, Events::CancelClose, appQuitting))
        return false;
    raiseEvent(window, Events::Close);
    return true;
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

void applySize(Object& window)
{
    Window& w = Window::from(window);
    const PropertyStore& store = w.propertyStore();
    QMainWindow& qw = *w.qtWindow();
    const QSize extra = chrome(w);
    const QSize size(store.valueOr("Width", qw.width()), store.valueOr("Height", qw.height() - extra.height()));
    if (!store.valueOr("Resizeable", true)) {
        qw.setFixedSize(size + extra);
        return;
    }
    const QSize minimum(store.valueOr("MinWidth", 0), store.valueOr("MinHeight", 0));
    const QSize maximum(std::min(store.valueOr("MaxWidth", QWIDGETSIZE_MAX), QWIDGETSIZE_MAX),
                        std::min(store.valueOr("MaxHeight", QWIDGETSIZE_MAX), QWIDGETSIZE_MAX));
    qw.setMinimumSize((minimum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    qw.setMaximumSize((maximum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    qw.resize(size + extra);
}

void applyFlags(Object& window)
{
    Window& w = Window::from(window);
    QMainWindow& qw = *w.qtWindow();
    const bool wasVisible = qw.isVisible();
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (w.propertyStore().valueOr("CloseButton", true))
        flags |= Qt::WindowCloseButtonHint;
    if (w.propertyStore().valueOr("MinimizeButton", true))
        flags |= Qt::WindowMinimizeButtonHint;
    if (w.propertyStore().valueOr("MaximizeButton", true))
        flags |= Qt::WindowMaximizeButtonHint;
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
    const bool has = w.propertyStore().valueOr("HasBackColor", false);
    content.setAutoFillBackground(has);
    if (auto c = w.propertyStore().get("BackColor"); c && has)
        setPaletteColor(content, QPalette::Window, std::get<Color>(*c));
}

void applyVisibility(Object& window)
{
    Window& w = Window::from(window);
    QMainWindow& qw = *w.qtWindow();
    if (w.isUnderConstruction())
        return;
    if (!w.propertyStore().valueOr("Visible", false)) {
        qw.hide();
        return;
    }
    if (w.propertyStore().valueOr("FullScreen", false))
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
        PropertyRow::kept("Visible", applyVisibility, [](Object& o) {
            Window& w = from(o);
            return w.isUnderConstruction() ? w.propertyStore().valueOr("Visible", false) : !w.qtWindow()->isHidden();
        }),
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
