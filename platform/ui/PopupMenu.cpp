#include "PopupMenu.h"

#include "ClassSchemas.h"
#include "ControlWidget.h"
#include "OutOfBoundsException.h"
#include "PropertyTable.h"
#include "QtText.h"

#include <QComboBox>

namespace platform {

namespace {

QComboBox& combo(Object& o)
{
    return controlWidget<PopupMenu, QComboBox>(o, "a PopupMenu");
}

// Items are separated, not terminated, by carriage returns; the empty string has none.
QStringList itemsOf(const String& items)
{
    return items.isEmpty() ? QStringList() : toQString(items).split(u'\r');
}

}

const ClassRecord& PopupMenu::Lookup()
{
    static ClassCache cache;
    return cache.build(&RectControl::Lookup, "PopupMenu", RectControl::SlotCount, [](ClassRecord&) {}, &StorageMaker<PopupMenu>::make);
}

PopupMenu::PopupMenu(const ClassRecord& record)
    : RectControl(record, new QComboBox)
{
}

String PopupMenu::TextGet(Object& o)
{
    QComboBox& c = combo(o);
    return c.currentIndex() < 0 ? String() : fromQString(c.currentText());
}

void PopupMenu::InitialValueSet(Object& o, std::int32_t, const String& items)
{
    QComboBox& c = combo(o);
    c.clear();
    c.addItems(itemsOf(items));
}

std::int32_t PopupMenu::ListCount(Object& o)
{
    return combo(o).count();
}

String PopupMenu::ListGet(Object& o, std::int32_t row)
{
    QComboBox& c = combo(o);
    if (row < 0 || row >= c.count())
        throw OutOfBoundsException("popup row " + std::to_string(row) + " is outside 0 to " + std::to_string(c.count() - 1));
    return fromQString(c.itemText(row));
}

void PopupMenu::ListIndexSet(Object& o, std::int32_t, std::int32_t row)
{
    QComboBox& c = combo(o);
    if (row < -1 || row >= c.count())
        throw OutOfBoundsException("popup ListIndex " + std::to_string(row) + " is outside -1 to "
                                   + std::to_string(c.count() - 1));
    c.setCurrentIndex(row);
}

std::int32_t PopupMenu::ListIndexGet(Object& o)
{
    return combo(o).currentIndex();
}

namespace {

// ListIndex selects one of the items the popup has by then: an InitialValue earlier in the same
// string replaces them.
PropertyRange listIndexRange(Object& popup, std::span<const PropertyEntry> earlier)
{
    std::int32_t items = PopupMenu::ListCount(popup);
    for (const PropertyEntry& entry : earlier) {
        if (entry.name == "InitialValue")
            items = static_cast<std::int32_t>(itemsOf(entry.asString()).size());
    }
    return { -1, items - 1 };
}

}

const PropertyTable& PopupMenu::properties()
{
    static const PropertyTable table(popupMenuSchema, &RectControl::properties(), {
        PropertyRow::kept("InitialValue", &PopupMenu::InitialValueSet),
        PropertyRow::kept("DataSource"),
        PropertyRow::kept("DataField"),
        { "ListIndex", listIndexRange, &PopupMenu::ListIndexSet, &PopupMenu::ListIndexGet },
    }, textStyleRows());
    return table;
}

}
