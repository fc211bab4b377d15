#include "WindowConstruction.h"

#include "Delegate.h"
#include "PopupMenu.h"
#include "PushButton.h"
#include "SetProperties.h"
#include "StaticText.h"
#include "TextField.h"
#include "Window.h"
#include "PropertyStrings.h"
#include "SharedMenuBar.h"
#include "Window1.h"

#include <array>

namespace Window1 {

using namespace platform;

namespace {

struct ControlRow {
    const char* name;
    const ClassRecord& (*lookup)();
    String (*properties)();
};

const std::array<ControlRow, 6> controls { {
    { "PushButton1", &PushButton::Lookup, &PropertyStrings::pushButton1 },
    { "TextField1", &TextField::Lookup, &PropertyStrings::textField1 },
    { "StaticText1", &StaticText::Lookup, &PropertyStrings::staticText1 },
    { "StaticText2", &StaticText::Lookup, &PropertyStrings::staticText2 },
    { "StaticText3", &StaticText::Lookup, &PropertyStrings::staticText3 },
    { "PopupMenu1", &PopupMenu::Lookup, &PropertyStrings::popupMenu1 },
} };

// Each step finds the control anew by name: the window, not this routine, holds it.
Ref<Object> controlAsItsClass(const Ref<Object>& window, const ControlRow& row)
{
    return RuntimeCheckCast(RuntimeWindowControlByName(window, row.name), row.lookup());
}

void installPrintAction(const Ref<Object>& window, const ControlRow& row)
{
    Ref<Object> button = controlAsItsClass(window, row);
    const Code& action = window->record().slot(SlotPushButton1Action).code;
    Ref<Object> delegate = RuntimeCreateDelegate(&Delegate::IM_Invoke, action, window, String::ascii("(  )"));
    Code code = delegate ? static_cast<Delegate&>(*delegate).code() : nullptr;
    InstallInstanceEventHandler(button.object(), "Action", code);
}

}

void Layout(Object& window)
{
    Ref<Object> self(&window);
    {
        Ref<Object> menuBar = sharedMenuBar();
        Window::MenuBarSet(*self, 0, menuBar);
    }
    SetProperties(*self, PropertyStrings::window1());
}

void CreateControls(Object& window)
{
    Ref<Object> self(&window);
    self->record().callSlot<void(Object&)>(SlotCreateControls0, *self);
}

void CreateControls0(Object& window)
{
    Ref<Object> self(&window);
    for (const ControlRow& row : controls) {
        {
            Ref<Object> made = self->record().callSlot<Ref<Object>(Object&, const ClassRecord&)>(Window::SlotNew, *self,
                                                                                             row.lookup());
            made->record().callSlot<void(Object&)>(RectControl::SlotConstructor, *made);
            self->record().callSlot<void(Object&, const String&, const Ref<Object>&)>(Window::SlotAddControl, *self,
                                                                                     row.name, made);
        }
        RectControl::TextSizeSet(controlAsItsClass(self, row).object(), 0, 12.0f);
        RectControl::TextUnitSet(controlAsItsClass(self, row).object(), 0, 0);
        SetProperties(controlAsItsClass(self, row).object(), row.properties());
        if (std::string_view(row.name) == "PushButton1")
            installPrintAction(self, row);
    }
}

}
