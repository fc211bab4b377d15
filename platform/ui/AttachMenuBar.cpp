#include "AttachMenuBar.h"

#include "EventLoop.h"
#include "IllegalCastException.h"
#include "MenuItem.h"
#include "MenuItemView.h"
#include "QtApplication.h"

#include <QMainWindow>
#include <QMenuBar>

namespace platform {

namespace {

// Inside a delivery the old bar may be the one delivering, as when a menu choice replaces it: it
// goes on the loop's next turn then.
void disposeWidget(QWidget* widget)
{
    if (!widget)
        return;
    if (EventLoop::deliveryDepth() == 0) {
        delete widget;
        return;
    }
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

}

void attachMenuBar(QMainWindow& window, const Ref<Object>& menuBar)
{
    MenuItem* bar = menuBar ? &MenuItem::from(*menuBar) : nullptr;
    if (bar && !bar->isMenuBar())
        throw IllegalCastException(bar->where() + " is a menu item, not a MenuBar, and cannot be a window's menu bar");
    disposeWidget(window.menuWidget());
    if (!bar)
        return;
    requireApplication("a menu bar");
    auto* shown = new QMenuBar(&window);
    window.setMenuBar(shown);
    bar->view().attach(*shown);
}

}
