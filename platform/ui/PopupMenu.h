#pragma once

#include "RectControl.h"

namespace platform {

// A popup menu of text items, one of them selected.
class PopupMenu final : public RectControl {
public:
    static const ClassRecord& Lookup();

    // PopupMenu.Text: the selected item's text, empty when none is selected.
    static String TextGet(Object& popup);
    // The items, separated by carriage returns.
    static void InitialValueSet(Object& popup, std::int32_t index, const String& items);
    static std::int32_t ListCount(Object& popup);
    static String ListGet(Object& popup, std::int32_t row);
    // Rows count from 0; -1 selects nothing.
    static void ListIndexSet(Object& popup, std::int32_t index, std::int32_t row);
    static std::int32_t ListIndexGet(Object& popup);

    // The properties a property string can set on a popup menu.
    static const PropertyTable& properties();

private:
    explicit PopupMenu(const ClassRecord& record);
    friend struct StorageMaker<PopupMenu>;
};

}
