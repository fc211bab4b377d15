#pragma once

#include "Control.h"
#include "TextSize.h"

#include <cstdint>
#include <memory>
#include <vector>

class QWidget;

namespace platform {

class PropertyRow;
class PropertyTable;

// A control with a rectangle on screen, shown by one Qt widget inside its window's content area.
class RectControl : public Control {
public:
    // Control's slots (none), then these.
    enum Slot : std::size_t { SlotConstructor = Control::SlotCount, SlotSetFocus, SlotCount };

    static const ClassRecord& Lookup();

    ~RectControl() override;

    // RectControl.Constructor: the default construction of a control.
    static void Constructor(Object& control);
    // RectControl.SetFocus: keyboard focus to the control.
    static void SetFocus(Object& control);

    // With unit 0 the size is in layout units, the units of positions and sizes, so text keeps its
    // place in a layout on any screen; 0 is the platform's own size. A size that is negative, not
    // finite or beyond MaxTextSize raises OutOfBoundsException and changes nothing.
    static void TextSizeSet(Object& control, std::int32_t index, float size);
    static float TextSizeGet(Object& control);
    // Only unit 0 is supported; any other raises UnsupportedOperationException.
    static void TextUnitSet(Object& control, std::int32_t index, std::uint8_t unit);
    static std::uint8_t TextUnitGet(Object& control);

    QWidget* widget() const noexcept;

    // The properties a property string can set on a control with a rectangle.
    static const PropertyTable& properties();

    static RectControl& from(Object& object);

protected:
    // Takes ownership of a new top-level widget until the control is made for a window.
    RectControl(const ClassRecord& record, QWidget* widget);
    void attachTo(Window& window) override;
    void detach() override;

    // The rows of the text style properties, which each class of control with text declares itself.
    static std::vector<PropertyRow> textStyleRows();

private:
    struct QtParts;
    std::unique_ptr<QtParts> m_qt;
    float m_textSize = 0;
};

}
