#pragma once

#include "ClassRecord.h"
#include "Object.h"
#include "Ref.h"
#include "Window.h"

namespace Window1 {

// The practice sheet window's own operations follow Window's in its method table, in this order.
enum Slot : std::size_t {
    SlotLayout = platform::Window::SlotCount,
    SlotCreateControls,
    SlotCreateControls0,
    SlotPushButton1Action,
    SlotEditMenu,
    SlotEditSelectAll,
    SlotUntitledMenu0,
    SlotEditClear,
    SlotEditPaste,
    SlotEditCopy,
    SlotEditCut,
    SlotUntitledMenu1,
    SlotEditUndo,
    SlotFileMenu,
    SlotFileQuit,
    SlotEventOpen,
    SlotEventClose,
    SlotCount
};

// Window1.Window1.__ctbl, nil until built.
extern platform::ClassCache ctbl;
// Window1.Window1.__ctblinit: builds the class record once.
void ctblinit();
// Window1.Window1.__Lookup
const platform::ClassRecord& Lookup();
// Window1.Window1%o<Window1.Window1>%: the one window, made and constructed on first use.
platform::Ref<platform::Object> implicitInstance();

void Event_Open(platform::Object& window);
void Event_Close(platform::Object& window);

}
