#include "MenuItemView.h"

#include "ClassEvent.h"
#include "EditCommands.h"
#include "EventLoop.h"
#include "KeyboardShortcut.h"
#include "MenuItem.h"
#include "QtApplication.h"
#include "QtText.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>

namespace platform {

namespace {

void detachEverywhere(QAction& action)
{
    const QObjectList shownIn = action.associatedObjects();
    for (QObject* object : shownIn) {
        if (auto* widget = qobject_cast<QWidget*>(object))
            widget->removeAction(&action);
    }
}

// Lets go of a menu or an entry; one still delivering is first disconnected and taken off every
// widget showing it.
template<class T>
void dispose(std::unique_ptr<T>& owned)
{
    T* object = owned.release();
    EventLoop::dispose(object, [object] {
        QObject::disconnect(object, nullptr, nullptr, nullptr);
        if constexpr (std::is_same_v<T, QMenu>) {
            object->hide();
            detachEverywhere(*object->menuAction());
        } else {
            detachEverywhere(*object);
        }
    });
}


}

MenuItemView::MenuItemView(MenuItem& item)
    : m_item(item)
{
}

MenuItemView::~MenuItemView()
{
    for (const QPointer<QMenuBar>& bar : m_bars) {
        if (bar)
            bar->clear();
    }
    dispose(m_action);
    dispose(m_menu);
}

bool MenuItemView::wantsMenu() const
{
    const MenuItem* parent = m_item.parentItem();
    return !m_item.children().empty() || (parent && parent->isMenuBar());
}

QAction* MenuItemView::existingShownAction() const
{
    return m_menu ? m_menu->menuAction() : m_action.get();
}

QAction& MenuItemView::shownAction()
{
    if (m_menu || wantsMenu())
        return *menu().menuAction();
    if (!m_action) {
        m_action = std::make_unique<QAction>();
        MenuItem* item = &m_item;
        QObject::connect(m_action.get(), &QAction::triggered, m_action.get(),
                         [item] { EventLoop::deliver(*item, [item] { choose(*item); }); });
        apply(*m_action);
    }
    return *m_action;
}

QMenu& MenuItemView::menu()
{
    if (m_menu)
        return *m_menu;
    requireApplication("a menu");
    auto menu = std::make_unique<QMenu>();
    QObject::connect(menu.get(), &QMenu::aboutToShow, menu.get(),
                     [this] { EventLoop::deliver(m_item, [this] { enableEntries(); }); });
    for (const Ref<MenuItem>& child : m_item.children())
        menu->addAction(&child->view().shownAction());
    m_menu = std::move(menu);
    apply(*m_menu->menuAction());
    // An entry that gains entries of its own becomes a drop-down in the same place.
    if (m_action) {
        if (MenuItem* parent = m_item.parentItem(); parent && parent->existingView())
            parent->existingView()->replaceShown(*m_action, *m_menu->menuAction());
        dispose(m_action);
    }
    return *m_menu;
}

std::vector<QWidget*> MenuItemView::containers() const
{
    std::vector<QWidget*> shownIn;
    for (const QPointer<QMenuBar>& bar : m_bars) {
        if (bar)
            shownIn.push_back(bar.data());
    }
    if (m_menu)
        shownIn.push_back(m_menu.get());
    return shownIn;
}

void MenuItemView::replaceShown(QAction& old, QAction& now)
{
    for (QWidget* container : containers()) {
        if (container->actions().contains(&old)) {
            container->insertAction(&old, &now);
            container->removeAction(&old);
        }
    }
}

void MenuItemView::apply(QAction& action) const
{
    const bool separator = &action == m_action.get() && m_item.isSeparator();
    action.setSeparator(separator);
    action.setText(separator ? QString() : toQString(m_item.text()));
    action.setShortcut(shortcutFromText(m_item.keyboardShortcut().bytes(), m_item.where()));
    action.setEnabled(m_item.enabled());
}

void MenuItemView::propertiesChanged()
{
    if (QAction* action = existingShownAction())
        apply(*action);
}

void MenuItemView::attach(QMenuBar& bar)
{
    std::erase_if(m_bars, [](const QPointer<QMenuBar>& b) { return b.isNull(); });
    m_bars.emplace_back(&bar);
    for (const Ref<MenuItem>& child : m_item.children())
        bar.addAction(&child->view().shownAction());
}

void MenuItemView::childInserted(std::size_t position)
{
    if (!m_menu && m_action) {
        menu();
        return;
    }
    const std::vector<QWidget*> shownIn = containers();
    if (shownIn.empty())
        return;
    const std::vector<Ref<MenuItem>>& children = m_item.children();
    QAction& entry = children[position]->view().shownAction();
    QAction* before = position + 1 < children.size() ? &children[position + 1]->view().shownAction() : nullptr;
    for (QWidget* container : shownIn)
        container->insertAction(before, &entry);
}

void MenuItemView::childRemoved(MenuItem& child)
{
    const MenuItemView* view = child.existingView();
    QAction* entry = view ? view->existingShownAction() : nullptr;
    if (!entry)
        return;
    for (QWidget* container : containers())
        container->removeAction(entry);
}

void MenuItemView::enableEntries()
{
    Ref<MenuItem> keep(&m_item);
    // A copy: an EnableMenu handler may change the menu while it is being enabled.
    const std::vector<Ref<MenuItem>> entries = m_item.children();
    for (const Ref<MenuItem>& entry : entries)
        entry->record().callSlot<void(Object&)>(MenuItem::SlotSelfEnable, *entry);
}

Ref<Object> MenuItemView::popUp(std::optional<std::pair<std::int32_t, std::int32_t>> at)
{
    Ref<MenuItem> keep(&m_item);
    QMenu& shown = menu();
    const QPoint where = at ? QPoint(at->first, at->second) : QCursor::pos();
    const bool pendingBefore = EventLoop::hasPendingException();
    QAction* chosen = shown.exec(where);
    // What a chosen entry's handler raised belongs to the caller of PopUp.
    if (!pendingBefore)
        EventLoop::rethrowPendingException();
    if (!chosen)
        return nullptr;
    std::vector<const MenuItem*> pending { &m_item };
    while (!pending.empty()) {
        const MenuItem* item = pending.back();
        pending.pop_back();
        for (const Ref<MenuItem>& child : item->children()) {
            if (const MenuItemView* view = child->existingView(); view && view->existingShownAction() == chosen)
                return Ref<Object>(child.get());
            pending.push_back(child.get());
        }
    }
    return nullptr;
}

void MenuItemView::choose(MenuItem& item)
{
    Ref<MenuItem> keep(&item);
    if (!raiseEvent(item, MenuItem::Events::Action))
        performEditCommand(item.name().bytes());
}

}
