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

const String className = "Window1.Window1";

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

void publish(ClassRecord& record, const char* name, const char* signature, Code code, bool hidden = false)
{
    MemberRecord member;
    member.name = name;
    member.signature = signature;
    member.code = std::move(code);
    member.invoker = &Invoker::forSignature(signature);
    member.flags = MemberPublic | MemberInstance;
    RuntimeAllocateAttributeTable(member, hidden ? 2 : 1);
    member.attributes[0] = Attribute { "__Scope", String("Public") };
    if (hidden)
        member.attributes[1] = Attribute { "Hidden", std::nullopt };
    record.members().push_back(std::move(member));
}

}

void ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(&Window::Lookup());
    ClassRecord& r = *ctbl;
    r.setName(className);

    RuntimeNewVtable(r, SlotCount);
    r.setSlot(SlotLayout, "Layout", method(&Layout));
    r.setSlot(SlotCreateControls, "CreateControls", method(&CreateControls));
    r.setSlot(SlotCreateControls0, "_CreateControls0", method(&CreateControls0));
    r.setSlot(SlotPushButton1Action, "PushButton1_Action", method(&PushButton1_Action));
    for (std::size_t i = 0; i < menuItemAccessors.size(); ++i)
        r.setSlot(SlotEditMenu + i, menuItemAccessors[i].name, menuItemAccessorCode(menuItemAccessors[i]));
    r.setSlot(SlotEventOpen, "Event_Open", method(&Event_Open));
    r.setSlot(SlotEventClose, "Event_Close", method(&Event_Close));

    publish(r, "Layout", "%%", r.slot(SlotLayout).code);
    publish(r, "CreateControls", "%%", r.slot(SlotCreateControls).code);
    publish(r, "_CreateControls0", "%%", r.slot(SlotCreateControls0).code, true);
    publish(r, "PushButton1", "%o<PushButton>%s", controlLookupCode());
    publish(r, "TextField1", "%o<TextField>%s", controlLookupCode());
    publish(r, "StaticText1", "%o<StaticText>%s", controlLookupCode());
    publish(r, "StaticText2", "%o<StaticText>%s", controlLookupCode());
    publish(r, "StaticText3", "%o<StaticText>%s", controlLookupCode());
    publish(r, "PopupMenu1", "%o<PopupMenu>%s", controlLookupCode());
    publish(r, "PushButton1_Action", "%%", r.slot(SlotPushButton1Action).code);
    for (std::size_t i = 0; i < menuItemAccessors.size(); ++i)
        publish(r, menuItemAccessors[i].name, menuItemAccessors[i].quitItem ? "%o<QuitMenuItem>%" : "%o<MenuItem>%",
                r.slot(SlotEditMenu + i).code);
    publish(r, "Event_Open", "%%", r.slot(SlotEventOpen).code);
    publish(r, "Event_Close", "%%", r.slot(SlotEventClose).code);

    // Each handler is the operation itself, not its place in the table.
    r.setEventHandler("Layout", r.slot(SlotLayout).code);
    r.setEventHandler("CreateControls", r.slot(SlotCreateControls).code);
    r.setEventHandler("Open", r.slot(SlotEventOpen).code);
    r.setEventHandler("Close", r.slot(SlotEventClose).code);

    r.attributes().push_back(Attribute { "__Scope", String("Public") });
}

const ClassRecord& Lookup()
{
    if (!ctbl)
        ctblinit();
    return *ctbl;
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
