#include "WindowSupport.h"

#include "ClassRecord.h"
#include "NoDestructor.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>
#include <memory>

namespace platform {

namespace {

using List = std::vector<Ref<Object>>;

NoDestructor<std::unique_ptr<List>> s_windows;
NoDestructor<std::unique_ptr<List>> s_implicitWindows;

// Never destroyed: windows still waiting here when the process ends are not released after Qt is gone.
List& closedWindows()
{
    static NoDestructor<List> list;
    return *list;
}

List& ensure(std::unique_ptr<List>& list)
{
    if (!list)
        list = std::make_unique<List>();
    return *list;
}

// Moves the window's entries out into removed: releasing the last reference may run the
// window's destructor, which must not happen while the list is being changed.
void removeFrom(std::unique_ptr<List>& list, Object& window, List& removed)
{
    if (!list)
        return;
    auto it = std::remove_if(list->begin(), list->end(), [&](const Ref<Object>& w) { return w.get() == &window; });
    std::move(it, list->end(), std::back_inserter(removed));
    list->erase(it, list->end());
}

// Cleared list by list, outside the list, for the same reason.
void release(std::unique_ptr<List>& list)
{
    std::unique_ptr<List> dying = std::move(list);
}

// The window's entries, taken off both lists; released by the caller, after the lists are whole.
List takeOff(Object& window)
{
    List removed;
    removeFrom(*s_implicitWindows, window, removed);
    removeFrom(*s_windows, window, removed);
    return removed;
}

}

void WindowSupport::WindowsInit()
{
    *s_windows = std::make_unique<List>();
}

void WindowSupport::WindowsExit()
{
    release(*s_windows);
    releaseClosedWindows();
}

// No window waits here for a repaint (Qt repaints them itself), so there is nothing to release;
// the step stays in its place in the exit order.
void WindowSupport::DirtyWindowsExit()
{
}

void WindowSupport::ImplicitWindowListExit()
{
    release(*s_implicitWindows);
}

bool WindowSupport::windowsInitialised() noexcept
{
    return static_cast<bool>(*s_windows);
}

bool WindowSupport::implicitWindowListInitialised() noexcept
{
    return static_cast<bool>(*s_implicitWindows);
}

std::size_t WindowSupport::openWindowCount() noexcept
{
    return *s_windows ? (*s_windows)->size() : 0;
}

void WindowSupport::registerWindow(const Ref<Object>& window)
{
    ensure(*s_windows).push_back(window);
    ensure(*s_implicitWindows).push_back(window);
}

void WindowSupport::unregisterWindow(Object& window)
{
    takeOff(window);
}

void WindowSupport::windowClosed(Object& window)
{
    for (Ref<Object>& w : takeOff(window))
        releaseLater(std::move(w));
}

void WindowSupport::releaseLater(Ref<Object> window)
{
    if (!window)
        return;
    closedWindows().push_back(std::move(window));
    // The call captures no reference: if the loop never turns again, WindowsExit releases them.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &WindowSupport::releaseClosedWindows, Qt::QueuedConnection);
}

void WindowSupport::releaseClosedWindows()
{
    List dying;
    dying.swap(closedWindows());
}

Ref<Object> GetImplicitWindow(const String& className)
{
    if (!*s_implicitWindows)
        return nullptr;
    for (const Ref<Object>& w : **s_implicitWindows) {
        if (w->record().name() == className)
            return w;
    }
    return nullptr;
}

}
