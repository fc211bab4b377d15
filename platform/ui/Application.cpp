#include "Application.h"

#include "ClassEvent.h"
#include "NoDestructor.h"
#include "StorageCast.h"
#include "String.h"
#include "UnsupportedOperationException.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <array>
#include <string>

namespace platform {

struct ApplicationMaker {
    static Object* make(const ClassRecord& record) { return new Application(record); }
};

namespace {

// The runtime releases it at shut-down, while Qt is still there.
NoDestructor<Ref<Object>> s_appObject;

constexpr std::array<const char*, 10> eventNames { "Open", "Close", "EnableMenuItems", "NewDocument",
                                                  "OpenDocument", "HandleAppleEvent", "Activate",
                                                  "Deactivate", "UnhandledException", "CancelClose" };

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
    static const ClassRecord* record = [] {
        auto* r = new ClassRecord("Application", nullptr, &ApplicationMaker::make);
        RuntimeNewVtable(*r, SlotCount);
        r->setSlot(SlotNewDocument, "NewDocument", makeCode<void(Object&)>([](Object& a) { raiseClassEvent<void>(a, "NewDocument"); }));
        r->setSlot(SlotOpenDocument, "OpenDocument", unsupported<void(Object&, const Ref<Object>&)>("OpenDocument"));
        r->setSlot(SlotDoEvents, "DoEvents",
                   makeCode<void(Object&, std::int32_t)>([](Object&, std::int32_t ms) { processEventsFor(ms); }));
        r->setSlot(SlotAddMenuHandler, "_AddMenuHandler",
                   unsupported<void(Object&, const String&, const Code&)>("_AddMenuHandler"));
        r->setSlot(SlotAddPollableObject, "_AddPollableObject",
                   unsupported<void(Object&, const Ref<Object>&)>("_AddPollableObject"));
        r->setSlot(SlotRemovePollableObject, "_RemovePollableObject",
                   unsupported<void(Object&, const Ref<Object>&)>("_RemovePollableObject"));
        r->setSlot(SlotAddTrayItem, "AddTrayItem", unsupported<bool(Object&, const Ref<Object>&)>("AddTrayItem"));
        r->setSlot(SlotRemoveTrayItem, "RemoveTrayItem",
                   unsupported<void(Object&, const Ref<Object>&)>("RemoveTrayItem"));
        r->setSlot(SlotYieldToNextThread, "YieldToNextThread",
                   makeCode<void(Object&)>([](Object&) { QThread::yieldCurrentThread(); }));
        r->setSlot(SlotSleepCurrentThread, "SleepCurrentThread", makeCode<void(Object&, std::int32_t)>([](Object&, std::int32_t ms) {
                       if (ms > 0)
                           QThread::msleep(static_cast<unsigned long>(ms));
                   }));
        r->setSlot(SlotDoSingleEvent, "_DoSingleEvent",
                   makeCode<void(Object&, bool)>([](Object&, bool) { processEventsFor(0); }));
        r->setSlot(SlotEnableMenuItems, "_EnableMenuItems",
                   unsupported<void(Object&, const Ref<Object>&)>("_EnableMenuItems"));
        r->setSlot(SlotCallOpen, "_CallOpen", makeCode<void(Object&)>([](Object& a) { raiseClassEvent<void>(a, "Open"); }));
        // No menu handlers are installed on the application, so no command is ever handled here.
        r->setSlot(SlotHandleMenuCommand, "_HandleMenuCommand",
                   makeCode<bool(Object&, const Ref<Object>&)>([](Object&, const Ref<Object>&) { return false; }));
        r->setSlot(SlotLoadPictureFromBundle, "_LoadPictureFromBundle",
                   unsupported<Ref<Object>(Object&, const String&)>("_LoadPictureFromBundle"));
        r->setSlot(SlotLoadBundleSound, "_LoadBundleSound",
                   unsupported<Ref<Object>(Object&, const String&)>("_LoadBundleSound"));
        // Belongs to ahead-of-time linking, which this framework does not do.
        r->setSlot(SlotDependencyList, "__DependencyList", unsupported<void(Object&)>("__DependencyList"));
        for (const char* e : eventNames)
            r->events().push_back(EventEntry { e, nullptr });
        return r;
    }();
    return *record;
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
    *s_appObject = nullptr;
}

}
