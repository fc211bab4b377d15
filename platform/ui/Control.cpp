#include "Control.h"

#include "ClassSchemas.h"
#include "EventLoop.h"
#include "PropertyTable.h"
#include "StorageCast.h"
#include "Window.h"

#include <algorithm>

namespace platform {

const ClassRecord& Control::Lookup()
{
    static ClassCache cache;
    return cache.build(nullptr, "Control", SlotCount, [](ClassRecord&) {});
}

Control::~Control()
{
    if (m_window) {
        auto& made = m_window->m_made;
        made.erase(std::remove(made.begin(), made.end(), this), made.end());
    }
}

Control& Control::from(Object& object)
{
    return storageAs<Control>(object, "a Control");
}

void Control::attachTo(Window& window)
{
    m_window = &window;
}

Ref<Object> Control::WindowGet(Object& control)
{
    return Ref<Object>(from(control).m_window);
}

String Control::NameGet(Object& control)
{
    return from(control).m_name;
}

void Control::NameSet(Object& control, std::int32_t, const String& name)
{
    from(control).m_name = name;
}

void Control::installEventHandler(const std::string& event, Code code)
{
    record().checkHandler(event, code);
    m_handlers[event] = std::move(code);
}

Code Control::eventHandler(const std::string& event) const
{
    auto it = m_handlers.find(event);
    return it == m_handlers.end() ? nullptr : it->second;
}

void Control::raiseEvent(const ClassEvent<void()>& event)
{
    Code handler = eventHandler(event.name);
    if (!handler)
        return;
    EventLoop::deliver(*this, [&] { handler->call<void(Object&)>(CallSite(m_name.bytes(), event.name), *this); });
}

void InstallInstanceEventHandler(Object& object, const String& event, Code code)
{
    Control::from(object).installEventHandler(event.toStdString(), std::move(code));
}

const PropertyTable& Control::properties()
{
    static const PropertyTable table(controlSchema, nullptr, {
        { "Name", &Control::NameSet, &Control::NameGet },
        PropertyRow::kept("Index"),
        PropertyRow::kept("TabPanelIndex"),
    }, {}, { .storeOf = [](Object& o) -> PropertyStore& { return from(o).propertyStore(); } });
    return table;
}

}
