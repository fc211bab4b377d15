#pragma once

#include "platform/ClassRecord.h"
#include "platform/PropertyStore.h"
#include "platform/Object.h"
#include "platform/Ref.h"
#include "platform/String.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMainWindow;
class QWidget;

namespace platform {

class Control;

// A top-level window: it holds its controls by name and its menu bar, and shows itself as a
// QMainWindow whose central area hosts the controls at their own coordinates.
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

    static const ClassRecord& Lookup();

    ~Window() override;

    // Window.__New: an object of the given class made for this window, not yet constructed.
    static Ref<Object> New(Object& window, const ClassRecord& record);
    // Window._AddControl: the window keeps the control and finds it under the name from now on.
    static void AddControl(Object& window, const String& name, const Ref<Object>& control);
    // Window.Constructor: registers the window with the framework, raises Layout, CreateControls
    // and Open once each in that order, and clears ContentsChanged.
    static void Constructor(Object& window);
    static bool ContentsChangedGet(Object& window) { return from(window).m_contentsChanged; }
    static void MenuBarSet(Object& window, std::int32_t index, const Ref<Object>& menuBar);
    static Ref<Object> MenuBarGet(Object& window);

    Ref<Object> controlByName(std::string_view name) const;
    std::size_t controlCount() const noexcept { return m_controls.size(); }
    const Ref<Object>& controlAt(std::size_t i) const { return m_controls.at(i).control; }
    const String& controlNameAt(std::size_t i) const { return m_controls.at(i).name; }

    QMainWindow* qtWindow() const noexcept;
    QWidget* contentArea() const noexcept;

    PropertyStore& propertyStore() noexcept { return m_propertyStore; }

    // The storage of a window object; anything else is refused.
    static Window& from(Object& object);

private:
    explicit Window(const ClassRecord& record);
    friend struct WindowMaker;
    friend class Control;

    struct Entry {
        String name;
        Ref<Object> control;
    };
    struct Qt;
    std::unique_ptr<Qt> m_qt;
    std::vector<Entry> m_controls;
    std::vector<Control*> m_made; // every control made for this window, added or not
    Ref<Object> m_menuBar;
    bool m_contentsChanged = false;
    PropertyStore m_propertyStore;
};

// The control added to the window under the name, or nil.
Ref<Object> RuntimeWindowControlByName(const Ref<Object>& window, const String& name);

// Afterwards me holds the receiver and self the object the routine works on: a control's window
// when the receiver is a control, otherwise the receiver itself.
void RuntimeSwapSelfAndMe(Ref<Object>& self, Ref<Object>& me);

}
