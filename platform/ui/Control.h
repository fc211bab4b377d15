#pragma once

#include "Callable.h"
#include "ClassEvent.h"
#include "ClassRecord.h"
#include "PropertyStore.h"
#include "Object.h"
#include "Ref.h"
#include "String.h"

#include <cstdint>
#include <map>
#include <string>

namespace platform {

class PropertyTable;
class Window;

// Something that lives in a window. It knows its window but does not keep it alive: the window
// owns its controls.
class Control : public Object {
public:
    // Control has no operations of its own; its subclasses' slots start here.
    static constexpr std::size_t SlotCount = 0;

    static const ClassRecord& Lookup();

    ~Control() override;

    // Control.Window: the window the control was made for, or nil.
    static Ref<Object> WindowGet(Object& control);
    static String NameGet(Object& control);
    static void NameSet(Object& control, std::int32_t index, const String& name);

    Window* window() const noexcept { return m_window; }
    const String& name() const noexcept { return m_name; }

    // _InstallInstanceEventHandler: code called with this control when it raises the event. An
    // event its class does not declare, or a handler of another signature, is refused.
    void installEventHandler(const std::string& event, Code code);
    Code eventHandler(const std::string& event) const;
    // Runs the installed handler, if any, at Qt's boundary.
    void raiseEvent(const ClassEvent<void()>& event);

    PropertyStore& propertyStore() noexcept { return m_propertyStore; }
    // The properties a property string can set on a control, with their accessors.
    static const PropertyTable& properties();

    static Control& from(Object& object);

protected:
    using Object::Object;
    // Called when the control is made for a window, and again when it is added to it: a control
    // already on screen there stays as it is.
    virtual void attachTo(Window& window);
    // Called when the control is taken out of its window: it goes off screen.
    virtual void detach() {}

private:
    friend class Window;
    Window* m_window = nullptr;
    String m_name;
    std::map<std::string, Code> m_handlers;
    PropertyStore m_propertyStore;
};

void InstallInstanceEventHandler(Object& object, const String& event, Code code);

}
