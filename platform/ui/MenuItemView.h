#pragma once

// The Qt side of menus. Private to the framework: only platform .cpp files (and the framework's
// own tests) include it, so the layers above never see Qt.

#include "Ref.h"

#include <QPointer>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace platform {

class MenuItem;
class Object;

// What one menu item shows: an entry in its parent's menu, and a drop-down of its own once it holds
// entries (a top menu always has one). A menu bar shows its top menus in every window it is attached
// to. The Qt objects are made on first need and follow the item's properties and entries from then on.
class MenuItemView {
public:
    explicit MenuItemView(MenuItem& item);
    ~MenuItemView();

    MenuItemView(const MenuItemView&) = delete;
    MenuItemView& operator=(const MenuItemView&) = delete;

    // The entry standing for this item in its parent: the drop-down's own entry when it has one.
    QAction& shownAction();
    QMenu& menu();

    // Only for a menu bar: shows its top menus in bar, and keeps them there.
    void attach(QMenuBar& bar);

    void propertiesChanged();
    void childInserted(std::size_t position);
    void childRemoved(MenuItem& child);

    // Decides, as a menu is about to open, which of its entries are enabled.
    void enableEntries();
    // Shows the item's drop-down as a popup at (x, y), or at the mouse, and returns the chosen entry.
    Ref<Object> popUp(std::optional<std::pair<std::int32_t, std::int32_t>> at);

    // Choosing an item: its Action handler first, then the framework's own command of its name.
    static void choose(MenuItem& item);

private:
    bool wantsMenu() const;
    QAction* existingShownAction() const;
    std::vector<QWidget*> containers() const;
    void replaceShown(QAction& old, QAction& now);
    void apply(QAction& action) const;

    MenuItem& m_item;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QAction> m_action; // only while the item shows as a plain entry
    std::vector<QPointer<QMenuBar>> m_bars;
};

}
