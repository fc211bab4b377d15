#pragma once

#include "Object.h"
#include "Ref.h"
#include "String.h"

#include <vector>

namespace platform {

// The framework's module globals about windows. Each list is nil until initialised and again
// after its finaliser; a window that opens while a list is nil starts it.
class WindowSupport {
public:
    // _WindowSupport.Windows.__Init
    static void WindowsInit();
    // _WindowSupport.Windows.__Exit (which releases the closed windows too), _WindowSupport.mDirtyWindows.__Exit, _mImplicitWindowList.__Exit
    static void WindowsExit();
    static void DirtyWindowsExit();
    static void ImplicitWindowListExit();

    static bool windowsInitialised() noexcept;
    static bool implicitWindowListInitialised() noexcept;
    static std::size_t openWindowCount() noexcept;

    // A constructed window is held here until it closes.
    static void registerWindow(const Ref<Object>& window);
    // The window's construction failed: the framework lets it go at once.
    static void unregisterWindow(Object& window);
    // The window closed on screen. It leaves every list now, but the lists' references are
    // released later (releaseLater), so it never dies inside its own close event.
    static void windowClosed(Object& window);
    // Releases the reference on the event loop's next turn, or at WindowsExit if that comes first.
    static void releaseLater(Ref<Object> window);
    // Releases now what waits for the loop's next turn.
    static void releaseClosedWindows();
};

// _GetImplicitWindow: the open implicit window of the class name, or nil.
Ref<Object> GetImplicitWindow(const String& className);

}
