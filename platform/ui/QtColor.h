#pragma once

// Private to the framework: colour properties on Qt's palettes.

#include "ControlWidget.h"
#include "PropertyType.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <cstdint>

namespace platform {

inline void setPaletteColor(QWidget& widget, QPalette::ColorRole role, Color c)
{
    QPalette palette = widget.palette();
    palette.setColor(role, QColor(c.red, c.green, c.blue));
    widget.setPalette(palette);
}

inline Color paletteColor(const QWidget& widget, QPalette::ColorRole role)
{
    const QColor c = widget.palette().color(role);
    return Color { static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue()) };
}

// The accessors of a control's colour in one role of its palette.
template<QPalette::ColorRole role>
void setControlColor(Object& control, Color c)
{
    setPaletteColor(shown(control), role, c);
}

template<QPalette::ColorRole role>
Color controlColor(Object& control)
{
    return paletteColor(shown(control), role);
}

}
