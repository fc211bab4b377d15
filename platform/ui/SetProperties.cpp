#include "SetProperties.h"

#include "Control.h"
#include "PopupMenu.h"
#include "PropertyStringException.h"
#include "PropertyTable.h"
#include "PushButton.h"
#include "RectControl.h"
#include "StaticText.h"
#include "TextEdit.h"
#include "TextField.h"
#include "UnsupportedOperationException.h"
#include "Window.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

namespace {

// The framework classes whose objects take property strings. An object takes the table of its
// own class or of its nearest ancestor among them.
const PropertyTable& tableOf(Object& target)
{
    using Properties = const PropertyTable& (*)();
    static constexpr Properties classes[] = {
        &Window::properties,   &Control::properties,  &RectControl::properties, &PushButton::properties,
        &TextEdit::properties, &TextField::properties, &StaticText::properties, &PopupMenu::properties,
    };
    for (const ClassRecord* r = &target.record(); r; r = r->parent()) {
        for (Properties properties : classes) {
            if (const PropertyTable& table = properties(); table.schema().className() == r->name().bytes())
                return table;
        }
    }
    throw UnsupportedOperationException("an object of class " + target.record().name().toStdString()
                                        + " takes no property strings");
}

[[noreturn]] void refuse(Object& target, const PropertyEntry& entry, std::size_t number, const std::string& what)
{
    throw PropertyStringException("bad property string for " + target.record().name().toStdString() + ": entry "
                                      + std::to_string(number) + " '" + std::string(entry.entryName) + "' at byte "
                                      + std::to_string(entry.offset) + ": " + what,
                                  number, std::string(entry.entryName), entry.offset);
}

}

void SetProperties(Object& target, const String& propertyString)
{
    Ref<Object> keep(&target);
    const PropertyTable& table = tableOf(target);
    const std::vector<PropertyEntry> entries = PropertyString::decode(propertyString, table.schema());

    // Everything that could fail part way is checked before the first value is applied, so a string
    // that cannot be applied whole changes nothing.
    table.checkReady(target);
    std::vector<const PropertyRow*> rows;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PropertyEntry& entry = entries[i];
        const PropertyRow& row = table.row(entry.name);
        const std::optional<PropertyRange> range = row.range(target, std::span(entries).first(i));
        if (range && !range->contains(entry.asInt32()))
            refuse(target, entry, i + 1,
                   std::to_string(entry.asInt32()) + " is outside " + std::to_string(range->low) + " to "
                       + std::to_string(range->high));
        rows.push_back(&row);
    }

    PropertyStore& store = table.storeOf(target);
    for (std::size_t i = 0; i < entries.size(); ++i)
        rows[i]->apply(target, store, entries[i].value);
}

PropertyValue GetProperty(Object& target, std::string_view name)
{
    const PropertyTable& table = tableOf(target);
    const std::optional<PropertyInfo> info = table.schema().find(name);
    if (!info)
        throw UnsupportedOperationException("an object of class " + target.record().name().toStdString()
                                            + " has no property " + std::string(name));
    if (auto value = table.row(info->name).read(target, table.storeOf(target)))
        return *value;
    throw RuntimeException("the property " + std::string(name) + " has not been set");
}

}
