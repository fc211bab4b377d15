#include "RectControl.h"

#include "ControlWidget.h"
#include "OutOfBoundsException.h"
#include "StorageCast.h"
#include "UnsupportedOperationException.h"
#include "Window.h"

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <string>

namespace platform {

struct RectControl::QtParts {
    QPointer<QWidget> widget;
};

const ClassRecord& RectControl::Lookup()
{
    static ClassCache cache;
    return cache.build(&Control::Lookup, "RectControl", SlotCount, [](ClassRecord& r) {
        r.declareSlots<Control::SlotCount, SlotCount>({
            { SlotConstructor, "Constructor", makeCode<void(Object&)>(&RectControl::Constructor) },
            { SlotSetFocus, "SetFocus", makeCode<void(Object&)>(&RectControl::SetFocus) },
        });
    });
}

RectControl::RectControl(const ClassRecord& record, QWidget* widget)
    : Control(record)
    , m_qt(std::make_unique<QtParts>())
{
    m_qt->widget = widget;
}

RectControl::~RectControl()
{
    // The widget goes with its control, also from a window that lives on (a control made but never
    // added, say): left behind it would show a control nobody holds and signal into freed storage.
    delete m_qt->widget;
}

RectControl& RectControl::from(Object& object)
{
    return storageAs<RectControl>(object, "a RectControl");
}

QWidget* RectControl::widget() const noexcept
{
    return m_qt->widget;
}

void RectControl::attachTo(Window& window)
{
    Control::attachTo(window);
    if (m_qt->widget) {
        m_qt->widget->setParent(window.contentArea());
        // A control added to a window already on screen must show too.
        m_qt->widget->show();
    }
}

void RectControl::Constructor(Object& control)
{
    from(control);
}

void RectControl::SetFocus(Object& control)
{
    controlWidget<RectControl>(control, "a RectControl").setFocus(Qt::OtherFocusReason);
}

void RectControl::TextSizeSet(Object& control, std::int32_t, float size)
{
    RectControl& self = from(control);
    // Checked before any use: a float out of int's range converts with undefined behaviour.
    if (!std::isfinite(size) || size < 0 || size > MaxTextSize)
        throw OutOfBoundsException("text size " + std::to_string(size) + " of " + self.name().toStdString()
                                   + " is outside 0 to " + std::to_string(static_cast<int>(MaxTextSize)));
    QWidget& w = controlWidget<RectControl>(control, "a RectControl");
    QFont f = w.font();
    if (size == 0) {
        // The platform's size, in whichever unit it has one; with no usable fonts it may have
        // neither, and the control keeps the size it has.
        const QFont platform = QApplication::font(&w);
        if (platform.pixelSize() > 0)
            f.setPixelSize(platform.pixelSize());
        else if (platform.pointSizeF() > 0)
            f.setPointSizeF(platform.pointSizeF());
    } else {
        f.setPixelSize(std::max(1, qRound(size)));
    }
    w.setFont(f);
    self.m_textSize = size;
}

float RectControl::TextSizeGet(Object& control)
{
    return from(control).m_textSize;
}

void RectControl::TextUnitSet(Object& control, std::int32_t, std::uint8_t unit)
{
    if (unit != 0)
        throw UnsupportedOperationException("text unit " + std::to_string(unit) + " of " + from(control).name().toStdString()
                                            + " is not supported; only 0 (layout units)");
    from(control).m_textUnit = unit;
}

std::uint8_t RectControl::TextUnitGet(Object& control)
{
    return from(control).m_textUnit;
}

}
