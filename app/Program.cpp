#include "Program.h"

#include "App.h"
#include "MenuBar1.h"
#include "Application.h"
#include "Delegate.h"
#include "Graphics.h"
#include "IntList.h"
#include "Introspection.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "PopupMenu.h"
#include "PushButton.h"
#include "Random.h"
#include "Runtime.h"
#include "StaticText.h"
#include "TextField.h"
#include "Window.h"
#include "WindowSupport.h"
#include "SharedMenuBar.h"
#include "Window1.h"

namespace Program {

using namespace platform;

Ref<Object> pluginEntrypoints;

std::int32_t main_()
{
    RuntimeInit();
    initialize();
    Main();
    finalize();
    return RuntimeExit();
}

void initialize()
{
    // The framework's classes that this program uses; the window list is started after Window's.
    Control::Lookup();
    Window::Lookup();
    WindowSupport::WindowsInit();
    RectControl::Lookup();
    PushButton::Lookup();
    TextEdit::Lookup();
    TextField::Lookup();
    StaticText::Lookup();
    PopupMenu::Lookup();
    MenuItem::Lookup();
    QuitMenuItem::Lookup();
    MenuBar::Lookup();
    Application::Lookup();
    Delegate::Lookup();
    Random::Lookup();
    IntList::Lookup();
    Graphics::Lookup();

    App::ctblinit();
    Window1::ctblinit();
    MenuBar1::ctblinit();

    Window1::setSharedMenuBarAccessor(&MenuBar1::implicitInstance);
}

void Main()
{
    Ref<Object> startup;
    try {
        startup = RuntimeCreateDelegate(&Delegate::Invoke, makeCode<void()>(&Startup), nullptr, String::ascii("(  )"));
        RunFrameworkInitialization(startup ? static_cast<Delegate&>(*startup).code() : nullptr);
        startup = nullptr;
        RuntimeRun();
    } catch (...) {
        // The program's one handler: whatever escaped start-up or the event loop is reported,
        // and shut-down proceeds as after a normal quit.
        UnhandledException(std::current_exception());
    }
}

void Startup()
{
    RuntimeInitExternalClasses();
    PluginEntrypointsHook(&InitPluginEntrypoints);
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
}

void InitFileTypes()
{
}

void NewAppInstance()
{
    Ref<Object> app = RuntimeNewObject(App::Lookup());
    if (!app)
        RaiseNilObjectException();
    {
        Ref<Object> menuBar = MenuBar1::implicitInstance();
        Application::MenuBarSet(*app, 0, menuBar);
    }
    RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers()
{
}

void MakeDefaultView()
{
    Window1::implicitInstance();
}

void InitPluginEntrypoints()
{
    pluginEntrypoints = RuntimeAllocatePluginEntrypointsTable(0);
}

void finalize()
{
    WindowSupport::ImplicitWindowListExit();
    WindowSupport::DirtyWindowsExit();
    WindowSupport::WindowsExit();
    Introspection::ArrayMapExit();
    Introspection::ClassFQNToRefMapExit();
    Introspection::ClassRefMapExit();
    MenuBar1::implicitInstanceExit();
}

}
