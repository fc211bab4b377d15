#include "SharedMenuBar.h"

#include "RuntimeException.h"

namespace Window1 {

namespace {
MenuBarAccessor s_accessor = nullptr;
}

void setSharedMenuBarAccessor(MenuBarAccessor accessor)
{
    s_accessor = accessor;
}

platform::Ref<platform::Object> sharedMenuBar()
{
    if (!s_accessor)
        throw platform::RuntimeException("no shared menu bar was provided to the window");
    return s_accessor();
}

}
