#include "platform/Window.h"

#include "platform/Control.h"
#include "platform/EventLoop.h"
#include "platform/IllegalCastException.h"
#include "platform/MenuItemView.h"
#include "platform/UnsupportedOperationException.h"
#include "platform/WindowSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QWidget>

#include <algorithm>
#include <array>

namespace platform {

namespace {

// The Qt window. Closing it raises the window's Close event at the framework's boundary.
class WindowWidget final : public QMainWindow {
public:
    explicit WindowWidget(Window& owner)
        : m_owner(owner)
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        Ref<Object> keep(&m_owner);
        EventLoop::deliver([&] {
            if (Code handler = m_owner.record().eventHandler("Close"))
                handler->call<void(Object&)>("Window.Close", m_owner);
        });
        event->accept();
        // The framework lets the window go once Qt has finished closing it, not inside its handler.
        QMetaObject::invokeMethod(
            qApp, [owner = Ref<Object>(&m_owner)] { WindowSupport::unregisterWindow(*owner); }, ::Qt::QueuedConnection);
    }

private:
    Window& m_owner;
};

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

void raise(Object& window, const char* event)
{
    if (Code handler = window.record().eventHandler(event))
        handler->call<void(Object&)>(std::string("Window.") + event, window);
}

Code unsupported(const char* name)
{
    return unsupportedCode<void(Object&)>(std::string("Window.") + name);
}

}

struct Window::Qt {
    WindowWidget* window;
    QWidget* content;
};

struct WindowMaker {
    static Object* make(const ClassRecord& record) { return new Window(record); }
};

const ClassRecord& Window::Lookup()
{
    static const ClassRecord* record = [] {
        auto* r = new ClassRecord("Window", nullptr, &WindowMaker::make);
        RuntimeNewVtable(*r, SlotCount);
        for (std::size_t i = 0; i < SlotCount; ++i)
            r->setSlot(i, slotNames[i], unsupported(slotNames[i]));
        r->setSlot(SlotNew, "__New", makeCode<Ref<Object>(Object&, const ClassRecord&)>(&Window::New));
        r->setSlot(SlotAddControl, "_AddControl",
                   makeCode<void(Object&, const String&, const Ref<Object>&)>(&Window::AddControl));
        r->setSlot(SlotConstructor, "Constructor", makeCode<void(Object&)>(&Window::Constructor));
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
    m_qt->window = new WindowWidget(*this);
    m_qt->content = new QWidget(m_qt->window);
    m_qt->window->setCentralWidget(m_qt->content);
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
    if (auto* w = dynamic_cast<Window*>(&object))
        return *w;
    throw IllegalCastException("an object of class " + object.record().name().toStdString() + " is not a Window");
}

QMainWindow* Window::qtWindow() const noexcept
{
    return m_qt->window;
}

QWidget* Window::contentArea() const noexcept
{
    return m_qt->content;
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
    raise(window, "Layout");
    raise(window, "CreateControls");
    raise(window, "Open");
    onFailure.window = nullptr;
    self.m_contentsChanged = false;
}

void Window::AddControl(Object& window, const String& name, const Ref<Object>& control)
{
    Window& self = from(window);
    Control& c = Control::from(control.object());
    if (c.window() != &self)
        throw RuntimeException("control " + name.toStdString() + " was not made for this window");
    c.m_name = name;
    self.m_controls.push_back(Entry { name, control });
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
