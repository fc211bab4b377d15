#pragma once

#include "ClassEvent.h"
#include "ClassRecord.h"
#include "String.h"
#include "Object.h"
#include "Ref.h"

#include <cstdint>

namespace platform {

// The application object. The program's application class is a record over this storage.
class Application final : public Object {
public:
    enum Slot : std::size_t {
        SlotNewDocument, SlotOpenDocument, SlotDoEvents, SlotAddMenuHandler, SlotAddPollableObject,
        SlotRemovePollableObject, SlotAddTrayItem, SlotRemoveTrayItem, SlotYieldToNextThread,
        SlotSleepCurrentThread, SlotDoSingleEvent, SlotEnableMenuItems, SlotCallOpen, SlotHandleMenuCommand,
        SlotLoadPictureFromBundle, SlotLoadBundleSound, SlotDependencyList, SlotCount
    };

    // Events, in table order.
    struct Events {
        static constexpr ClassEvent<void()> Open { "Open" };
        static constexpr ClassEvent<void()> Close { "Close" };
        static constexpr ClassEvent<void()> EnableMenuItems { "EnableMenuItems" };
        static constexpr ClassEvent<void()> NewDocument { "NewDocument" };
        static constexpr ClassEvent<void(const Ref<Object>& item)> OpenDocument { "OpenDocument" };
        static constexpr ClassEvent<bool(const Ref<Object>& event, const String& eventClass, const String& eventID)>
            HandleAppleEvent { "HandleAppleEvent" };
        static constexpr ClassEvent<void()> Activate { "Activate" };
        static constexpr ClassEvent<void()> Deactivate { "Deactivate" };
        static constexpr ClassEvent<bool(const Ref<Object>& error)> UnhandledException { "UnhandledException" };
        static constexpr ClassEvent<bool()> CancelClose { "CancelClose" };
    };

    static const ClassRecord& Lookup();

    // Application.MenuBar
    static void MenuBarSet(Object& app, std::int32_t index, const Ref<Object>& menuBar);
    static Ref<Object> MenuBarGet(Object& app);

    static Application& from(Object& object);

private:
    explicit Application(const ClassRecord& record);
    friend struct StorageMaker<Application>;
    Ref<Object> m_menuBar;
};

// _RuntimeRegisterAppObject: the runtime keeps the object as the application.
void RuntimeRegisterAppObject(const Ref<Object>& app);
Ref<Object> RuntimeAppObject();
// Releases the application object at shut-down.
void RuntimeReleaseAppObject();

}
