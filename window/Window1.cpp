#include "Window1.h"

#include "Invoker.h"
#include "RectControl.h"
#include "Runtime.h"
#include "WindowSupport.h"
#include "MenuItemAccessors.h"
#include "PrintAction.h"
#include "WindowConstruction.h"

#include <string>

namespace Window1 {

using namespace platform;

ClassCache ctbl;

namespace {

constexpr const char* className = "Window1.Window1";

using Method = void (*)(Object&);

Code method(Method fn)
{
    return makeCode<void(Object&)>(fn);
}

Code menuItemAccessorCode(const MenuItemAccessor& accessor)
{
    return makeCode<Ref<Object>(Object&)>([&accessor](Object& w) { return menuItemNamed(w, accessor); });
}

Code controlLookupCode()
{
    return makeCode<Ref<Object>(Object&, const String&)>(
        [](Object& w, const String& name) { return RuntimeWindowControlByName(Ref<Object>(&w), name); });
}

// The row of a menu-item accessor, named after the item it returns.
SlotRow accessorRow(Slot slot)
{
    const MenuItemAccessor& accessor = menuItemAccessors[slot - SlotEditMenu];
    return { slot, accessor.name, menuItemAccessorCode(accessor) };
}

}

void ctblinit()
{
    ctbl.build(&Window::Lookup, className, SlotCount, [](ClassRecord& r) {
        r.declareSlots<Window::SlotCount, SlotCount>({
            { SlotLayout, "Layout", method(&Layout) },
            { SlotCreateControls, "CreateControls", method(&CreateControls) },
            { SlotCreateControls0, "_CreateControls0", method(&CreateControls0) },
            { SlotPushButton1Action, "PushButton1_Action", method(&PushButton1_Action) },
            accessorRow(SlotEditMenu),
            accessorRow(SlotEditSelectAll),
            accessorRow(SlotUntitledMenu0),
            accessorRow(SlotEditClear),
            accessorRow(SlotEditPaste),
            accessorRow(SlotEditCopy),
            accessorRow(SlotEditCut),
            accessorRow(SlotUntitledMenu1),
            accessorRow(SlotEditUndo),
            accessorRow(SlotFileMenu),
            accessorRow(SlotFileQuit),
            { SlotEventOpen, "Event_Open", method(&Event_Open) },
            { SlotEventClose, "Event_Close", method(&Event_Close) },
        });

        publishMember(r, "Layout", "%%", r.slot(SlotLayout).code);
        publishMember(r, "CreateControls", "%%", r.slot(SlotCreateControls).code);
        publishMember(r, "_CreateControls0", "%%", r.slot(SlotCreateControls0).code, true);
        publishMember(r, "PushButton1", "%o<PushButton>%s", controlLookupCode());
        publishMember(r, "TextField1", "%o<TextField>%s", controlLookupCode());
        publishMember(r, "StaticText1", "%o<StaticText>%s", controlLookupCode());
        publishMember(r, "StaticText2", "%o<StaticText>%s", controlLookupCode());
        publishMember(r, "StaticText3", "%o<StaticText>%s", controlLookupCode());
        publishMember(r, "PopupMenu1", "%o<PopupMenu>%s", controlLookupCode());
        publishMember(r, "PushButton1_Action", "%%", r.slot(SlotPushButton1Action).code);
        for (std::size_t i = 0; i < menuItemAccessors.size(); ++i)
            publishMember(r, menuItemAccessors[i].name, menuItemAccessors[i].quitItem ? "%o<QuitMenuItem>%" : "%o<MenuItem>%",
                    r.slot(SlotEditMenu + i).code);
        publishMember(r, "Event_Open", "%%", r.slot(SlotEventOpen).code);
        publishMember(r, "Event_Close", "%%", r.slot(SlotEventClose).code);

        // Each handler is the operation itself, not its place in the table.
        r.setEventHandler(Window::Events::Layout, r.slot(SlotLayout).code);
        r.setEventHandler(Window::Events::CreateControls, r.slot(SlotCreateControls).code);
        r.setEventHandler(Window::Events::Open, r.slot(SlotEventOpen).code);
        r.setEventHandler(Window::Events::Close, r.slot(SlotEventClose).code);

        r.attributes().push_back(Attribute { "__Scope", String("Public") });
    });
}

const ClassRecord& Lookup()
{
    return ctbl.lookup(&ctblinit);
}

Ref<Object> implicitInstance()
{
    Ref<Object> window = GetImplicitWindow(className);
    if (!window) {
        window = RuntimeNewObject(Lookup());
        window->record().callSlot<void(Object&)>(Window::SlotConstructor, *window);
    }
    return RuntimeCheckCast(window, Lookup());
}

void Event_Open(Object& window)
{
    Ref<Object> self(&window);
    Ref<Object> field = RuntimeWindowControlByName(self, "TextField1");
    if (!field)
        RaiseNilObjectException();
    field->record().callSlot<void(Object&)>(RectControl::SlotSetFocus, *field);
}

void Event_Close(Object& window)
{
    Ref<Object> self(&window);
    Quit(0);
}

}
