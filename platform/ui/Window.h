#pragma once

#include "ClassEvent.h"
#include "ClassRecord.h"
#include "PropertyStore.h"
#include "Object.h"
#include "Ref.h"
#include "String.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMainWindow;
class QWidget;

namespace platform {

class Control;
class PropertyTable;

// A top-level window: it holds its controls by name and its menu bar, and shows itself as a
// QMainWindow whose central area hosts the controls at their own coordinates.
//
// Event handlers, by event: CancelClose bool(Object&, bool appQuitting), true to keep the window
// open; KeyDown bool(Object&, const String& key) and MouseDown bool(Object&, int32 x, int32 y),
// true when handled (a handled MouseDown is followed by MouseDrag and MouseUp, each
// void(Object&, int32 x, int32 y)); KeyUp void(Object&, const String& key); MouseMove
// void(Object&, int32 x, int32 y); MouseWheel bool(Object&, int32 x, int32 y, int32 deltaX,
// int32 deltaY), deltas in wheel steps, positive scrolling right and down; every other event
// void(Object&). Mouse positions are in the content area's coordinates. Paint, DropObject, the
// contextual-menu and the drag events are never raised: this framework draws no window content
// of its own and takes no drops.
class Window : public Object {
public:
    // The method table, in its fixed order.
    enum Slot : std::size_t {
        SlotShow, SlotShowWithin, SlotShowModalWithin, SlotHide, SlotClose, SlotRefresh, SlotRefreshRect,
        SlotShowModal, SlotNewDragItem, SlotAcceptTextDrop, SlotAcceptPictureDrop, SlotAcceptFileDrop,
        SlotAcceptMacDataDrop, SlotAcceptRawDataDrop, SlotControl, SlotSetFocus, SlotDrawInto, SlotDrawBackground,
        SlotUpdateNow, SlotAddControl, SlotAddMenuHandler, SlotWindow, SlotOperatorConvert, SlotNew, SlotMove,
        SlotMaximize, SlotMinimize, SlotRestore, SlotUpdate, SlotCallMoved, SlotEnableMenuItems, SlotCallActivated,
        SlotCallDeactivated, SlotHandleMenuCommand, SlotUnifiedClose, SlotCallMouseDown, SlotCallResized,
        SlotCallResizing, SlotRemoveControl, SlotMouseEnter, SlotMouseExit, SlotMouseMove, SlotPaint, SlotMouseWheel,
        SlotKeyDown, SlotDependencyList, SlotConstructor, SlotTrueWindow, SlotFocusNext, SlotFocusPrevious,
        SlotCount
    };

    // Events, in table order.
    struct Events {
        using I32 = slotParameters::I32;
        static constexpr ClassEvent<void()> Layout { "Layout" };
        static constexpr ClassEvent<void()> CreateControls { "CreateControls" };
        static constexpr ClassEvent<void()> AddMenuHandlers { "AddMenuHandlers" };
        static constexpr ClassEvent<void()> SetupBindings { "SetupBindings" };
        static constexpr ClassEvent<void()> Open { "Open" };
        static constexpr ClassEvent<void()> Close { "Close" };
        static constexpr ClassEvent<bool(bool appQuitting)> CancelClose { "CancelClose" };
        static constexpr ClassEvent<bool(const String& key)> KeyDown { "KeyDown" };
        static constexpr ClassEvent<void(const String& key)> KeyUp { "KeyUp" };
        static constexpr ClassEvent<void(I32 x, I32 y)> MouseMove { "MouseMove" };
        static constexpr ClassEvent<void()> MouseEnter { "MouseEnter" };
        static constexpr ClassEvent<void()> MouseExit { "MouseExit" };
        static constexpr ClassEvent<void(const Ref<Object>& graphics)> Paint { "Paint" };
        static constexpr ClassEvent<bool(I32 x, I32 y)> MouseDown { "MouseDown" };
        static constexpr ClassEvent<void(I32 x, I32 y)> MouseDrag { "MouseDrag" };
        static constexpr ClassEvent<void(I32 x, I32 y)> MouseUp { "MouseUp" };
        static constexpr ClassEvent<void()> EnableMenuItems { "EnableMenuItems" };
        static constexpr ClassEvent<void()> Resized { "Resized" };
        static constexpr ClassEvent<void()> Resizing { "Resizing" };
        static constexpr ClassEvent<void()> Moved { "Moved" };
        static constexpr ClassEvent<void(const Ref<Object>& item)> DropObject { "DropObject" };
        static constexpr ClassEvent<void()> Activate { "Activate" };
        static constexpr ClassEvent<void()> Deactivate { "Deactivate" };
        static constexpr ClassEvent<void()> Minimize { "Minimize" };
        static constexpr ClassEvent<void()> Maximize { "Maximize" };
        static constexpr ClassEvent<void()> Restore { "Restore" };
        static constexpr ClassEvent<bool(I32 x, I32 y, I32 deltaX, I32 deltaY)> MouseWheel { "MouseWheel" };
        static constexpr ClassEvent<bool(const Ref<Object>& base, I32 x, I32 y)> ConstructContextualMenu {
            "ConstructContextualMenu"
        };
        static constexpr ClassEvent<bool(const Ref<Object>& hitItem)> ContextualMenuAction { "ContextualMenuAction" };
        static constexpr ClassEvent<bool(const Ref<Object>& item)> DragEnter { "DragEnter" };
        static constexpr ClassEvent<void(const Ref<Object>& item)> DragExit { "DragExit" };
        static constexpr ClassEvent<bool(const Ref<Object>& item, I32 x, I32 y)> DragOver { "DragOver" };
        static constexpr ClassEvent<void()> ContentsChanged { "ContentsChanged" };
    };

    static const ClassRecord& Lookup();

    ~Window() override;

    // Slot code. Each takes the window first; what else it takes and returns is its slot's signature.
    static void Show(Object& window);
    // Shown in front of parent and kept there, as its transient window.
    static void ShowWithin(Object& window, const Ref<Object>& parent);
    // Modal for the application until the window is hidden or closed; returns then.
    static void ShowModal(Object& window);
    // Modal for parent only, shown in front of it.
    static void ShowModalWithin(Object& window, const Ref<Object>& parent);
    static void Hide(Object& window);
    // Asks CancelClose (appQuitting false), then raises Close, closes the window on screen and lets
    // the framework release it. Nothing happens to a window already closed.
    static void Close(Object& window);
    // Repaint the whole window, or a rectangle of its content area, at the next chance.
    static void Refresh(Object& window);
    static void RefreshRect(Object& window, std::int32_t left, std::int32_t top, std::int32_t width,
                            std::int32_t height);
    // Window.Control: the control added at index (from 0, in the order added).
    static Ref<Object> ControlAt(Object& window, std::int32_t index);
    // Keyboard focus to the window itself, away from any of its controls.
    static void SetFocus(Object& window);
    // Repaints what is due now rather than at the next turn of the event loop.
    static void UpdateNow(Object& window);
    // Window.__New: an object of the given class made for this window, not yet constructed.
    static Ref<Object> New(Object& window, const ClassRecord& record);
    // Window._AddControl: the window keeps the control and finds it under the name from now on.
    static void AddControl(Object& window, const String& name, const Ref<Object>& control);
    // Window._RemoveControl: the window lets the control go and takes it off screen.
    static void RemoveControl(Object& window, const Ref<Object>& control);
    // Window.Window and Window.TrueWindow: the window a window's code works on is itself.
    static Ref<Object> WindowOf(Object& window);
    // Window._Move: the window's top-left corner to left, top on the screen.
    static void Move(Object& window, std::int32_t left, std::int32_t top);
    static void Maximize(Object& window);
    static void Minimize(Object& window);
    static void Restore(Object& window);
    // Keyboard focus to the next or previous control in tab order, wrapping at the ends.
    static void FocusNext(Object& window);
    static void FocusPrevious(Object& window);
    // Window.Constructor: registers the window with the framework, raises Layout, CreateControls
    // and Open once each in that order, and clears ContentsChanged.
    static void Constructor(Object& window);

    // The dispatchers through which Qt's window events reach the window's own events, by slot,
    // so a class can replace them; those that only raise their event are made in the record.
    // CancelClose, then Close unless cancelled; true when the window may close.
    static bool UnifiedClose(Object& window, bool appQuitting);

    static bool ContentsChangedGet(Object& window) { return from(window).m_contentsChanged; }
    static void MenuBarSet(Object& window, std::int32_t index, const Ref<Object>& menuBar);
    static Ref<Object> MenuBarGet(Object& window);

    Ref<Object> controlByName(std::string_view name) const;
    std::size_t controlCount() const noexcept { return m_controls.size(); }
    const Ref<Object>& controlAt(std::size_t i) const { return m_controls.at(i).control; }
    const String& controlNameAt(std::size_t i) const { return m_controls.at(i).name; }
    bool isClosed() const noexcept { return m_closed; }
    // Between the start of Constructor and the end of its Open event; the window is not shown
    // until then, whatever its properties say.
    bool isUnderConstruction() const noexcept { return m_underConstruction; }

    QMainWindow* qtWindow() const noexcept;
    QWidget* contentArea() const noexcept;

    PropertyStore& propertyStore() noexcept { return m_propertyStore; }
    // The properties a property string can set on a window, with their accessors.
    static const PropertyTable& properties();

    // The storage of a window object; anything else is refused.
    static Window& from(Object& object);

private:
    explicit Window(const ClassRecord& record);
    friend struct StorageMaker<Window>;
    friend class Control;

    void showModal(Window* parent);
    // The window has closed on screen: the framework lets it go, once Qt is done with it.
    void closed();

    struct Entry {
        String name;
        Ref<Object> control;
    };
    class Widget;
    struct QtParts;
    std::unique_ptr<QtParts> m_qt;
    std::vector<Entry> m_controls;
    std::vector<Control*> m_made; // every control made for this window, added or not
    Ref<Object> m_menuBar;
    bool m_contentsChanged = false;
    bool m_underConstruction = false;
    bool m_closing = false;       // its CancelClose and Close are being raised
    bool m_closeApproved = false; // the program's Close has raised them; Qt need not again
    bool m_closed = false;
    PropertyStore m_propertyStore;
};

// The control added to the window under the name, or nil.
Ref<Object> RuntimeWindowControlByName(const Ref<Object>& window, const String& name);

// Afterwards me holds the receiver and self the object the routine works on: a control's window
// when the receiver is a control, otherwise the receiver itself.
void RuntimeSwapSelfAndMe(Ref<Object>& self, Ref<Object>& me);

}
