#include "RectControl.h"

#include "ClassSchemas.h"
#include "ControlWidget.h"
#include "OutOfBoundsException.h"
#include "PropertyTable.h"
#include "QtText.h"
#include "StorageCast.h"
#include "UnsupportedOperationException.h"
#include "Window.h"

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <string>
#include <utility>

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
    // Reparenting hides a widget: one already in the content area keeps its own visibility.
    if (m_qt->widget && m_qt->widget->parentWidget() != window.contentArea()) {
        m_qt->widget->setParent(window.contentArea());
        // A control added to a window already on screen must show too.
        m_qt->widget->show();
    }
}

void RectControl::detach()
{
    if (m_qt->widget) {
        m_qt->widget->hide();
        m_qt->widget->setParent(nullptr);
    }
}

void RectControl::Constructor(Object& control)
{
    from(control);
}

void RectControl::SetFocus(Object& control)
{
    shown(control).setFocus(Qt::OtherFocusReason);
}

void RectControl::TextSizeSet(Object& control, std::int32_t, float size)
{
    RectControl& self = from(control);
    checkTextSize(size, self.name().toStdString() + ".TextSize");
    QWidget& w = shown(control);
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
}

std::uint8_t RectControl::TextUnitGet(Object& control)
{
    from(control);
    return 0;
}

namespace {

enum class GeometryPart { Left, Top, Width, Height };

// Positions and sizes stay within Qt's widget limits, so no coordinate arithmetic can overflow.
constexpr PropertyRange position { -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX };
constexpr PropertyRange extent { 0, QWIDGETSIZE_MAX };

template<GeometryPart part>
void setGeometryPart(Object& control, std::int32_t value)
{
    QWidget& w = shown(control);
    QRect r = w.geometry();
    if constexpr (part == GeometryPart::Left)
        r.moveLeft(value);
    else if constexpr (part == GeometryPart::Top)
        r.moveTop(value);
    else if constexpr (part == GeometryPart::Width)
        r.setWidth(std::max(0, value));
    else
        r.setHeight(std::max(0, value));
    w.setGeometry(r);
}

template<GeometryPart part>
std::int32_t geometryPart(Object& control)
{
    const QRect r = shown(control).geometry();
    if constexpr (part == GeometryPart::Left)
        return r.left();
    else if constexpr (part == GeometryPart::Top)
        return r.top();
    else if constexpr (part == GeometryPart::Width)
        return r.width();
    else
        return r.height();
}

// Tab order follows TabIndex across the window's controls; ties keep the order of adding.
void reorderTabs(Object& control)
{
    Window* window = Control::from(control).window();
    if (!window)
        return;
    std::vector<std::pair<std::int32_t, QWidget*>> order;
    for (std::size_t i = 0; i < window->controlCount(); ++i) {
        Object& c = *window->controlAt(i);
        if (auto* rect = dynamic_cast<RectControl*>(&c); rect && rect->widget())
            order.emplace_back(rect->propertyStore().valueOr<std::int32_t>("TabIndex", 0), rect->widget());
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void setTabStop(Object& control, bool on)
{
    QWidget& w = shown(control);
    const int policy = w.focusPolicy();
    w.setFocusPolicy(static_cast<Qt::FocusPolicy>(on ? (policy | Qt::TabFocus) : (policy & ~Qt::TabFocus)));
}

template<class Change>
void changeFont(Object& control, Change change)
{
    QWidget& w = shown(control);
    QFont f = w.font();
    change(f);
    w.setFont(f);
}

void setTextFont(Object& control, const String& family)
{
    // An empty name or the system font keeps the platform's; a family the machine lacks is
    // matched by fontconfig to a metric-compatible one (Arial to Liberation Sans).
    const std::string name = family.toStdString();
    changeFont(control, [&](QFont& f) {
        if (name.empty() || name == "System" || name == "SmallSystem")
            f.setFamilies({ QApplication::font().family() });
        else
            f.setFamilies({ toQString(family) });
    });
}

}

const PropertyTable& RectControl::properties()
{
    using enum GeometryPart;
    static const PropertyTable table(rectControlSchema, &Control::properties(), {
        { "Left", position, setGeometryPart<Left>, geometryPart<Left> },
        { "Top", position, setGeometryPart<Top>, geometryPart<Top> },
        { "Width", extent, setGeometryPart<Width>, geometryPart<Width> },
        { "Height", extent, setGeometryPart<Height>, geometryPart<Height> },
        PropertyRow::kept("TabIndex", reorderTabs),
        PropertyRow::kept("LockLeft"),
        PropertyRow::kept("LockTop"),
        PropertyRow::kept("LockRight"),
        PropertyRow::kept("LockBottom"),
        { "TabStop", setTabStop, [](Object& o) { return (shown(o).focusPolicy() & Qt::TabFocus) != 0; } },
        { "Enabled", [](Object& o, bool on) { shown(o).setEnabled(on); },
          [](Object& o) { return shown(o).isEnabled(); } },
        { "Visible", [](Object& o, bool on) { shown(o).setVisible(on); },
          [](Object& o) { return !shown(o).isHidden(); } },
        PropertyRow::kept("AutoDeactivate"),
        { "HelpTag", [](Object& o, const String& tag) { shown(o).setToolTip(toQString(tag)); },
          [](Object& o) { return fromQString(shown(o).toolTip()); } },
        PropertyRow::kept("InitialParent"),
    }, {}, { .ready = [](Object& o) { shown(o); } });
    return table;
}

std::vector<PropertyRow> RectControl::textStyleRows()
{
    return {
        PropertyRow::kept("TextFont", setTextFont),
        { "Bold", [](Object& o, bool on) { changeFont(o, [&](QFont& f) { f.setBold(on); }); },
          [](Object& o) { return shown(o).font().bold(); } },
        { "Italic", [](Object& o, bool on) { changeFont(o, [&](QFont& f) { f.setItalic(on); }); },
          [](Object& o) { return shown(o).font().italic(); } },
        { "Underline", [](Object& o, bool on) { changeFont(o, [&](QFont& f) { f.setUnderline(on); }); },
          [](Object& o) { return shown(o).font().underline(); } },
    };
}

}
