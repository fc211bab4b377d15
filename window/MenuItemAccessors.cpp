#include "MenuItemAccessors.h"

#include "MenuItem.h"
#include "Window.h"

namespace Window1 {

using namespace platform;

const std::array<MenuItemAccessor, 11> menuItemAccessors { {
    { "EditMenu", false },
    { "EditSelectAll", false },
    { "UntitledMenu0", false },
    { "EditClear", false },
    { "EditPaste", false },
    { "EditCopy", false },
    { "EditCut", false },
    { "UntitledMenu1", false },
    { "EditUndo", false },
    { "FileMenu", false },
    { "FileQuit", true },
} };

Ref<Object> menuItemNamed(Object& window, const MenuItemAccessor& accessor)
{
    Ref<Object> self(&window);
    Ref<Object> menuBar = Window::MenuBarGet(*self);
    if (!menuBar)
        RaiseNilObjectException();
    Ref<Object> item = menuBar->record().callSlot<Ref<Object>(Object&, const String&)>(MenuItem::SlotLookup, *menuBar,
                                                                                       accessor.name);
    return RuntimeCheckCast(item, accessor.quitItem ? QuitMenuItem::Lookup() : MenuItem::Lookup());
}

}
