#include "platform/WindowSupport.h"

#include "platform/ClassRecord.h"

#include <algorithm>
#include <memory>

namespace platform {

namespace {

using List = std::vector<Ref<Object>>;

std::unique_ptr<List> s_windows;
std::unique_ptr<List> s_dirtyWindows;
std::unique_ptr<List> s_implicitWindows;

List& ensure(std::unique_ptr<List>& list)
{
    if (!list)
        list = std::make_unique<List>();
    return *list;
}

void removeFrom(std::unique_ptr<List>& list, Object& window)
{
    if (!list)
        return;
    // Moved out first: releasing the last reference may run the window's destructor.
    List keep;
    auto it = std::remove_if(list->begin(), list->end(), [&](const Ref<Object>& w) { return w.get() == &window; });
    std::move(it, list->end(), std::back_inserter(keep));
    list->erase(it, list->end());
}

// Cleared list by list, outside the list, for the same reason.
void release(std::unique_ptr<List>& list)
{
    std::unique_ptr<List> dying = std::move(list);
}

}

void WindowSupport::WindowsInit()
{
    s_windows = std::make_unique<List>();
}

void WindowSupport::WindowsExit()
{
    release(s_windows);
}

void WindowSupport::DirtyWindowsExit()
{
    release(s_dirtyWindows);
}

void WindowSupport::ImplicitWindowListExit()
{
    release(s_implicitWindows);
}

bool WindowSupport::windowsInitialised() noexcept
{
    return static_cast<bool>(s_windows);
}

bool WindowSupport::implicitWindowListInitialised() noexcept
{
    return static_cast<bool>(s_implicitWindows);
}

std::size_t WindowSupport::openWindowCount() noexcept
{
    return s_windows ? s_windows->size() : 0;
}

void WindowSupport::registerWindow(const Ref<Object>& window)
{
    ensure(s_windows).push_back(window);
    ensure(s_implicitWindows).push_back(window);
}

void WindowSupport::unregisterWindow(Object& window)
{
    Ref<Object> keep(&window);
    removeFrom(s_implicitWindows, window);
    removeFrom(s_dirtyWindows, window);
    removeFrom(s_windows, window);
}

Ref<Object> GetImplicitWindow(const String& className)
{
    if (!s_implicitWindows)
        return nullptr;
    for (const Ref<Object>& w : *s_implicitWindows) {
        if (w->record().name() == className)
            return w;
    }
    return nullptr;
}

}
