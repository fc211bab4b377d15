#include "Application.h"

#include "ClassEvent.h"
#include "NoDestructor.h"
#include "StorageCast.h"
#include "String.h"
#include "UnsupportedOperationException.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <string>

namespace platform {

namespace {

// The runtime releases it at shut-down, while Qt is still there.
NoDestructor<Ref<Object>> s_appObject;

template<class Sig>
Code unsupported(const char* name)
{
    return unsupportedCode<Sig>(std::string("Application.") + name);
}

void processEventsFor(std::int32_t milliseconds)
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds > 0 ? milliseconds : 0);
}

}

const ClassRecord& Application::Lookup()
{
    using namespace slotParameters;
    static ClassCache cache;
    return cache.build(nullptr, "Application", SlotCount, [](ClassRecord& r) {
        r.declareSlots<0, SlotCount>({
            { SlotNewDocument, "NewDocument",
              makeCode<void(Object&)>([](Object& a) { raiseEvent(a, Events::NewDocument); }) },
            { SlotOpenDocument, "OpenDocument", unsupported<void(Object&, Obj)>("OpenDocument") },
            { SlotDoEvents, "DoEvents", makeCode<void(Object&, I32)>([](Object&, I32 ms) { processEventsFor(ms); }) },
            { SlotAddMenuHandler, "_AddMenuHandler", unsupported<void(Object&, Str, const Code&)>("_AddMenuHandler") },
            { SlotAddPollableObject, "_AddPollableObject", unsupported<void(Object&, Obj)>("_AddPollableObject") },
            { SlotRemovePollableObject, "_RemovePollableObject", unsupported<void(Object&, Obj)>("_RemovePollableObject") },
            { SlotAddTrayItem, "AddTrayItem", unsupported<bool(Object&, Obj)>("AddTrayItem") },
            { SlotRemoveTrayItem, "RemoveTrayItem", unsupported<void(Object&, Obj)>("RemoveTrayItem") },
            { SlotYieldToNextThread, "YieldToNextThread",
              makeCode<void(Object&)>([](Object&) { QThread::yieldCurrentThread(); }) },
            { SlotSleepCurrentThread, "SleepCurrentThread", makeCode<void(Object&, I32)>([](Object&, I32 ms) {
                  if (ms > 0)
                      QThread::msleep(static_cast<unsigned long>(ms));
              }) },
            { SlotDoSingleEvent, "_DoSingleEvent", makeCode<void(Object&, bool)>([](Object&, bool) { processEventsFor(0); }) },
            { SlotEnableMenuItems, "_EnableMenuItems", unsupported<void(Object&, Obj)>("_EnableMenuItems") },
            { SlotCallOpen, "_CallOpen", makeCode<void(Object&)>([](Object& a) { raiseEvent(a, Events::Open); }) },
            // No menu handlers are installed on the application, so no command is ever handled here.
            { SlotHandleMenuCommand, "_HandleMenuCommand", makeCode<bool(Object&, Obj)>([](Object&, Obj) { return false; }) },
            { SlotLoadPictureFromBundle, "_LoadPictureFromBundle",
              unsupported<Ref<Object>(Object&, Str)>("_LoadPictureFromBundle") },
            { SlotLoadBundleSound, "_LoadBundleSound", unsupported<Ref<Object>(Object&, Str)>("_LoadBundleSound") },
            // Belongs to ahead-of-time linking, which this framework does not do.
            { SlotDependencyList, "__DependencyList", unsupported<void(Object&)>("__DependencyList") },
        });
        using E = Events;
        r.declareEvents(E::Open, E::Close, E::EnableMenuItems, E::NewDocument, E::OpenDocument, E::HandleAppleEvent,
                        E::Activate, E::Deactivate, E::UnhandledException, E::CancelClose);
    }, &StorageMaker<Application>::make);
}

Application::Application(const ClassRecord& record)
    : Object(record)
{
}

Application& Application::from(Object& object)
{
    return storageAs<Application>(object, "an Application");
}

void Application::MenuBarSet(Object& app, std::int32_t, const Ref<Object>& menuBar)
{
    from(app).m_menuBar = menuBar;
}

Ref<Object> Application::MenuBarGet(Object& app)
{
    return from(app).m_menuBar;
}

void RuntimeRegisterAppObject(const Ref<Object>& app)
{
    Application::from(app.object());
    *s_appObject = app;
}

Ref<Object> RuntimeAppObject()
{
    return *s_appObject;
}

void RuntimeReleaseAppObject()
{
    Ref<Object> dying = std::move(*s_appObject);
}

}
