#include "platform/RectControl.h"

#include "platform/IllegalCastException.h"
#include "platform/UnsupportedOperationException.h"
#include "platform/Window.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace platform {

struct RectControl::Qt {
    QPointer<QWidget> widget;
};

const ClassRecord& RectControl::Lookup()
{
    static const ClassRecord* record = [] {
        auto* r = new ClassRecord("RectControl", &Control::Lookup());
        RuntimeNewVtable(*r, SlotCount);
        r->setSlot(SlotConstructor, "Constructor", makeCode<void(Object&)>(&RectControl::Constructor));
        r->setSlot(SlotSetFocus, "SetFocus", makeCode<void(Object&)>(&RectControl::SetFocus));
        return r;
    }();
    return *record;
}

ClassRecord* RectControl::makeRecord(const char* name, const ClassRecord& parent, ClassRecord::Factory factory)
{
    return new ClassRecord(name, &parent, std::move(factory));
}

RectControl::RectControl(const ClassRecord& record, QWidget* widget)
    : Control(record)
    , m_qt(std::make_unique<Qt>())
{
    m_qt->widget = widget;
    m_textSize = static_cast<float>(widget->font().pointSizeF());
}

RectControl::~RectControl()
{
    // A control never added to a window still owns its widget.
    if (m_qt->widget && !m_qt->widget->parent())
        delete m_qt->widget;
}

RectControl& RectControl::from(Object& object)
{
    if (auto* c = dynamic_cast<RectControl*>(&object))
        return *c;
    throw IllegalCastException("an object of class " + object.record().name().toStdString()
                               + " is not a RectControl");
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
    if (QWidget* w = from(control).widget())
        w->setFocus(::Qt::OtherFocusReason);
}

void RectControl::TextSizeSet(Object& control, std::int32_t, float size)
{
    RectControl& self = from(control);
    self.m_textSize = size;
    // Unit 0 measures text in the same units as positions and sizes, so a layout keeps its
    // proportions whatever the screen's resolution.
    if (QWidget* w = self.widget(); w && size > 0) {
        QFont f = w->font();
        f.setPixelSize(std::max(1, qRound(size)));
        w->setFont(f);
    }
}

float RectControl::TextSizeGet(Object& control)
{
    return from(control).m_textSize;
}

void RectControl::TextUnitSet(Object& control, std::int32_t, std::uint8_t unit)
{
    if (unit != 0)
        throw UnsupportedOperationException("text unit " + std::to_string(unit) + " is not supported; only 0 (points)");
    from(control).m_textUnit = unit;
}

std::uint8_t RectControl::TextUnitGet(Object& control)
{
    return from(control).m_textUnit;
}

}
