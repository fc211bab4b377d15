#include "AttachMenuBar.h"

#include "EventLoop.h"
#include "IllegalCastException.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "QtApplication.h"

#include <QMainWindow>
#include <QMenuBar>

namespace platform {

void attachMenuBar(QMainWindow& window, const Ref<Object>& menuBar)
{
    MenuItem* bar = menuBar ? &MenuItem::from(*menuBar) : nullptr;
    if (bar && !bar->isMenuBar())
        throw IllegalCastException(bar->where() + " is a menu item, not a MenuBar, and cannot be a window's menu bar");
    // The old bar may be the one delivering, as when a menu choice replaces it.
    QWidget* old = window.menuWidget();
    EventLoop::dispose(old, [old] {
        old->hide();
        old->setParent(nullptr);
    });
    if (!bar)
        return;
    requireApplication("a menu bar");
    auto* shown = new QMenuBar(&window);
    window.setMenuBar(shown);
    bar->view().attach(*shown);
}

}
