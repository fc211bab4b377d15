#include "SetProperties.h"

#include "Control.h"
#include "ControlWidget.h"
#include "PopupMenu.h"
#include "PropertySchema.h"
#include "PropertyStringException.h"
#include "PushButton.h"
#include "QtText.h"
#include "RectControl.h"
#include "StaticText.h"
#include "TextEdit.h"
#include "TextField.h"
#include "UnsupportedOperationException.h"
#include "Window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

namespace {

using Setter = std::function<void(Object&, const PropertyEntry&)>;
using Getter = std::function<PropertyValue(Object&)>;

struct Accessor {
    Setter set;
    Getter get; // empty: read back what was stored
};

using Table = std::map<std::string_view, Accessor>;

QWidget& widgetOf(Object& o)
{
    return controlWidget<RectControl>(o, "a RectControl");
}

QColor toQColor(Color c)
{
    return QColor(c.red, c.green, c.blue);
}

Color fromQColor(const QColor& c)
{
    return Color { static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue()) };
}

// ---- controls

void setGeometryPart(Object& o, std::int32_t value, int which)
{
    QWidget& w = widgetOf(o);
    QRect r = w.geometry();
    switch (which) {
    case 0:
        r.moveLeft(value);
        break;
    case 1:
        r.moveTop(value);
        break;
    case 2:
        r.setWidth(std::max(0, value));
        break;
    default:
        r.setHeight(std::max(0, value));
        break;
    }
    w.setGeometry(r);
}

std::int32_t tabIndexOf(Object& control)
{
    if (auto v = Control::from(control).propertyStore().get("TabIndex"))
        return std::get<std::int32_t>(*v);
    return 0;
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
            order.emplace_back(tabIndexOf(c), rect->widget());
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void setFontPart(Object& o, const std::function<void(QFont&)>& change)
{
    QWidget& w = widgetOf(o);
    QFont f = w.font();
    change(f);
    w.setFont(f);
}

void setTextFont(QFont& f, const String& family)
{
    // An empty name or the system font keeps the platform's; a family the machine lacks is
    // matched by fontconfig to a metric-compatible one (Arial to Liberation Sans).
    const std::string name = family.toStdString();
    if (name.empty() || name == "System" || name == "SmallSystem")
        f.setFamilies({ QApplication::font().family() });
    else
        f.setFamilies({ toQString(family) });
}

void setLabelAlignment(QLabel& label, std::int32_t align, bool multiLine)
{
    Qt::Alignment h = Qt::AlignLeft;
    if (align == 1)
        h = Qt::AlignHCenter;
    else if (align == 2)
        h = Qt::AlignRight;
    label.setAlignment(h | (multiLine ? Qt::AlignTop : Qt::AlignVCenter));
}

std::int32_t labelAlignment(const QLabel& label)
{
    const Qt::Alignment a = label.alignment();
    if (a & Qt::AlignHCenter)
        return 1;
    if (a & Qt::AlignRight)
        return 2;
    return 0;
}

template<class W>
W& widgetAs(Object& o, const char* property)
{
    if (auto* w = qobject_cast<W*>(&widgetOf(o)))
        return *w;
    throw UnsupportedOperationException(std::string("the property ") + property + " does not apply to a "
                                        + o.record().name().toStdString());
}

void setPaletteColor(QWidget& w, QPalette::ColorRole role, Color c)
{
    QPalette p = w.palette();
    p.setColor(role, toQColor(c));
    w.setPalette(p);
}

QPalette::ColorRole textRole(QWidget& w)
{
    return qobject_cast<QLabel*>(&w) ? QPalette::WindowText : QPalette::Text;
}

const Table& controlTable()
{
    static const Table table = [] {
        Table t;
        t["Name"] = { [](Object& o, const PropertyEntry& e) { Control::NameSet(o, 0, e.asString()); },
                      [](Object& o) -> PropertyValue { return Control::NameGet(o); } };
        t["Index"] = { nullptr, nullptr };
        t["TabPanelIndex"] = { nullptr, nullptr };
        t["Left"] = { [](Object& o, const PropertyEntry& e) { setGeometryPart(o, e.asInt32(), 0); },
                      [](Object& o) -> PropertyValue { return widgetOf(o).geometry().left(); } };
        t["Top"] = { [](Object& o, const PropertyEntry& e) { setGeometryPart(o, e.asInt32(), 1); },
                     [](Object& o) -> PropertyValue { return widgetOf(o).geometry().top(); } };
        t["Width"] = { [](Object& o, const PropertyEntry& e) { setGeometryPart(o, e.asInt32(), 2); },
                       [](Object& o) -> PropertyValue { return widgetOf(o).geometry().width(); } };
        t["Height"] = { [](Object& o, const PropertyEntry& e) { setGeometryPart(o, e.asInt32(), 3); },
                        [](Object& o) -> PropertyValue { return widgetOf(o).geometry().height(); } };
        t["TabIndex"] = { [](Object& o, const PropertyEntry& e) {
                             Control::from(o).propertyStore().set("TabIndex", e.asInt32());
                             reorderTabs(o);
                         },
                          nullptr };
        for (const char* lock : { "LockLeft", "LockTop", "LockRight", "LockBottom", "AutoDeactivate", "InitialParent",
                                  "DataSource", "DataField", "Format", "UseFocusRing", "AcceptTabs" })
            t[lock] = { nullptr, nullptr };
        t["TabStop"] = { [](Object& o, const PropertyEntry& e) {
                            QWidget& w = widgetOf(o);
                            const int policy = w.focusPolicy();
                            w.setFocusPolicy(static_cast<Qt::FocusPolicy>(e.asBoolean() ? (policy | Qt::TabFocus)
                                                                                         : (policy & ~Qt::TabFocus)));
                        },
                         [](Object& o) -> PropertyValue { return (widgetOf(o).focusPolicy() & Qt::TabFocus) != 0; } };
        t["Enabled"] = { [](Object& o, const PropertyEntry& e) { widgetOf(o).setEnabled(e.asBoolean()); },
                         [](Object& o) -> PropertyValue { return widgetOf(o).isEnabled(); } };
        t["Visible"] = { [](Object& o, const PropertyEntry& e) { widgetOf(o).setVisible(e.asBoolean()); },
                         [](Object& o) -> PropertyValue { return !widgetOf(o).isHidden(); } };
        t["HelpTag"] = { [](Object& o, const PropertyEntry& e) { widgetOf(o).setToolTip(toQString(e.asString())); },
                         [](Object& o) -> PropertyValue { return fromQString(widgetOf(o).toolTip()); } };
        t["Caption"] = { [](Object& o, const PropertyEntry& e) { PushButton::CaptionSet(o, 0, e.asString()); },
                         [](Object& o) -> PropertyValue { return PushButton::CaptionGet(o); } };
        t["TextFont"] = { [](Object& o, const PropertyEntry& e) {
                             setFontPart(o, [&](QFont& f) { setTextFont(f, e.asString()); });
                             Control::from(o).propertyStore().set("TextFont", e.asString());
                         },
                          nullptr };
        t["Bold"] = { [](Object& o, const PropertyEntry& e) { setFontPart(o, [&](QFont& f) { f.setBold(e.asBoolean()); }); },
                      [](Object& o) -> PropertyValue { return widgetOf(o).font().bold(); } };
        t["Italic"] = { [](Object& o, const PropertyEntry& e) { setFontPart(o, [&](QFont& f) { f.setItalic(e.asBoolean()); }); },
                        [](Object& o) -> PropertyValue { return widgetOf(o).font().italic(); } };
        t["Underline"] = { [](Object& o, const PropertyEntry& e) {
                              setFontPart(o, [&](QFont& f) { f.setUnderline(e.asBoolean()); });
                          },
                           [](Object& o) -> PropertyValue { return widgetOf(o).font().underline(); } };
        t["Default"] = { [](Object& o, const PropertyEntry& e) { PushButton::DefaultSet(o, 0, e.asBoolean()); },
                         [](Object& o) -> PropertyValue { return PushButton::DefaultGet(o); } };
        t["Cancel"] = { [](Object& o, const PropertyEntry& e) {
                           auto& button = widgetAs<QPushButton>(o, "Cancel");
                           auto* shortcut = button.findChild<QShortcut*>(QStringLiteral("cancelShortcut"));
                           if (e.asBoolean() && !shortcut) {
                               // Escape presses the cancel button wherever the focus is in its window.
                               shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &button);
                               shortcut->setObjectName(QStringLiteral("cancelShortcut"));
                               shortcut->setContext(Qt::WindowShortcut);
                               QObject::connect(shortcut, &QShortcut::activated, &button, &QAbstractButton::click);
                           } else if (!e.asBoolean()) {
                               delete shortcut;
                           }
                       },
                        [](Object& o) -> PropertyValue {
                            return widgetOf(o).findChild<QShortcut*>(QStringLiteral("cancelShortcut")) != nullptr;
                        } };
        t["Text"] = { [](Object& o, const PropertyEntry& e) {
                         if (dynamic_cast<StaticText*>(&o))
                             StaticText::TextSet(o, 0, e.asString());
                         else
                             TextEdit::TextSet(o, 0, e.asString());
                     },
                      [](Object& o) -> PropertyValue {
                          return dynamic_cast<StaticText*>(&o) ? StaticText::TextGet(o) : TextEdit::TextGet(o);
                      } };
        t["Mask"] = { [](Object& o, const PropertyEntry& e) { TextField::MaskSet(o, 0, e.asString()); },
                      [](Object& o) -> PropertyValue { return TextField::MaskGet(o); } };
        t["Border"] = { [](Object& o, const PropertyEntry& e) { widgetAs<QLineEdit>(o, "Border").setFrame(e.asBoolean()); },
                        [](Object& o) -> PropertyValue { return widgetAs<QLineEdit>(o, "Border").hasFrame(); } };
        t["ReadOnly"] = { [](Object& o, const PropertyEntry& e) {
                             widgetAs<QLineEdit>(o, "ReadOnly").setReadOnly(e.asBoolean());
                         },
                          [](Object& o) -> PropertyValue { return widgetAs<QLineEdit>(o, "ReadOnly").isReadOnly(); } };
        t["Password"] = { [](Object& o, const PropertyEntry& e) {
                             widgetAs<QLineEdit>(o, "Password").setEchoMode(e.asBoolean() ? QLineEdit::Password : QLineEdit::Normal);
                         },
                          [](Object& o) -> PropertyValue {
                              return widgetAs<QLineEdit>(o, "Password").echoMode() == QLineEdit::Password;
                          } };
        t["CueText"] = { [](Object& o, const PropertyEntry& e) {
                            widgetAs<QLineEdit>(o, "CueText").setPlaceholderText(toQString(e.asString()));
                        },
                         [](Object& o) -> PropertyValue { return fromQString(widgetAs<QLineEdit>(o, "CueText").placeholderText()); } };
        t["LimitText"] = { [](Object& o, const PropertyEntry& e) {
                              // 0 is no limit, which is Qt's own default length.
                              const std::int32_t n = e.asInt32();
                              widgetAs<QLineEdit>(o, "LimitText").setMaxLength(n > 0 ? n : 32767);
                              Control::from(o).propertyStore().set("LimitText", n);
                          },
                           nullptr };
        t["Alignment"] = { [](Object& o, const PropertyEntry& e) {
                              const std::int32_t a = e.asInt32();
                              widgetAs<QLineEdit>(o, "Alignment")
                                  .setAlignment((a == 2 ? Qt::AlignHCenter : a == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
                              Control::from(o).propertyStore().set("Alignment", a);
                          },
                           nullptr };
        t["TextColor"] = { [](Object& o, const PropertyEntry& e) {
                              QWidget& w = widgetOf(o);
                              setPaletteColor(w, textRole(w), e.asColor());
                          },
                           [](Object& o) -> PropertyValue {
                               QWidget& w = widgetOf(o);
                               return fromQColor(w.palette().color(textRole(w)));
                           } };
        t["BackColor"] = { [](Object& o, const PropertyEntry& e) { setPaletteColor(widgetOf(o), QPalette::Base, e.asColor()); },
                           [](Object& o) -> PropertyValue { return fromQColor(widgetOf(o).palette().color(QPalette::Base)); } };
        t["TextAlign"] = { [](Object& o, const PropertyEntry& e) {
                              QLabel& label = widgetAs<QLabel>(o, "TextAlign");
                              setLabelAlignment(label, e.asInt32(), label.wordWrap());
                          },
                           [](Object& o) -> PropertyValue { return labelAlignment(widgetAs<QLabel>(o, "TextAlign")); } };
        t["MultiLine"] = { [](Object& o, const PropertyEntry& e) {
                              QLabel& label = widgetAs<QLabel>(o, "MultiLine");
                              label.setWordWrap(e.asBoolean());
                              setLabelAlignment(label, labelAlignment(label), e.asBoolean());
                          },
                           [](Object& o) -> PropertyValue { return widgetAs<QLabel>(o, "MultiLine").wordWrap(); } };
        t["InitialValue"] = { [](Object& o, const PropertyEntry& e) {
                                 PopupMenu::InitialValueSet(o, 0, e.asString());
                                 Control::from(o).propertyStore().set("InitialValue", e.asString());
                             },
                              nullptr };
        t["ListIndex"] = { [](Object& o, const PropertyEntry& e) { PopupMenu::ListIndexSet(o, 0, e.asInt32()); },
                           [](Object& o) -> PropertyValue { return PopupMenu::ListIndexGet(o); } };
        return t;
    }();
    return table;
}

// ---- windows

QSize chrome(Window& w)
{
    // The content area is what the size properties describe; the menu bar sits above it.
    QWidget* bar = w.qtWindow()->menuWidget();
    return QSize(0, bar && !bar->isHidden() ? bar->sizeHint().height() : 0);
}

std::int32_t storedInt(Window& w, std::string_view name, std::int32_t fallback)
{
    if (auto v = w.propertyStore().get(name))
        return std::get<std::int32_t>(*v);
    return fallback;
}

bool storedBool(Window& w, std::string_view name, bool fallback)
{
    if (auto v = w.propertyStore().get(name))
        return std::get<bool>(*v);
    return fallback;
}

void applySize(Window& w)
{
    QMainWindow& qw = *w.qtWindow();
    const QSize extra = chrome(w);
    const QSize size(storedInt(w, "Width", qw.width()), storedInt(w, "Height", qw.height() - extra.height()));
    if (!storedBool(w, "Resizeable", true)) {
        qw.setFixedSize(size + extra);
        return;
    }
    const QSize minimum(storedInt(w, "MinWidth", 0), storedInt(w, "MinHeight", 0));
    const QSize maximum(std::min(storedInt(w, "MaxWidth", QWIDGETSIZE_MAX), QWIDGETSIZE_MAX),
                        std::min(storedInt(w, "MaxHeight", QWIDGETSIZE_MAX), QWIDGETSIZE_MAX));
    qw.setMinimumSize((minimum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    qw.setMaximumSize((maximum + extra).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    qw.resize(size + extra);
}

void applyFlags(Window& w)
{
    QMainWindow& qw = *w.qtWindow();
    const bool wasVisible = qw.isVisible();
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (storedBool(w, "CloseButton", true))
        flags |= Qt::WindowCloseButtonHint;
    if (storedBool(w, "MinimizeButton", true))
        flags |= Qt::WindowMinimizeButtonHint;
    if (storedBool(w, "MaximizeButton", true))
        flags |= Qt::WindowMaximizeButtonHint;
    if (qw.windowFlags() != flags) {
        qw.setWindowFlags(flags);
        // Qt hides a window whose flags change.
        if (wasVisible)
            qw.show();
    }
}

void applyBackground(Window& w)
{
    QWidget& content = *w.contentArea();
    const bool has = storedBool(w, "HasBackColor", false);
    content.setAutoFillBackground(has);
    if (auto c = w.propertyStore().get("BackColor"); c && has)
        setPaletteColor(content, QPalette::Window, std::get<Color>(*c));
}

void applyVisibility(Window& w)
{
    QMainWindow& qw = *w.qtWindow();
    if (!storedBool(w, "Visible", false)) {
        qw.hide();
        return;
    }
    if (storedBool(w, "FullScreen", false))
        qw.showFullScreen();
    else
        qw.show();
}

const Table& windowTable()
{
    static const Table table = [] {
        Table t;
        auto storeThen = [](void (*apply)(Window&)) {
            return [apply](Object& o, const PropertyEntry& e) {
                Window& w = Window::from(o);
                w.propertyStore().set(e.name, e.value);
                apply(w);
            };
        };
        for (const char* stored : { "Placement", "Frame", "MacProcId", "Composite", "LiveResize" })
            t[stored] = { nullptr, nullptr };
        for (const char* sized : { "Width", "Height", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight", "Resizeable" })
            t[sized] = { storeThen(&applySize), nullptr };
        for (const char* flag : { "CloseButton", "MinimizeButton", "MaximizeButton" })
            t[flag] = { storeThen(&applyFlags), nullptr };
        t["HasBackColor"] = { storeThen(&applyBackground), nullptr };
        t["BackColor"] = { storeThen(&applyBackground), nullptr };
        t["Visible"] = { storeThen(&applyVisibility),
                         [](Object& o) -> PropertyValue { return !Window::from(o).qtWindow()->isHidden(); } };
        t["FullScreen"] = { storeThen(&applyVisibility), nullptr };
        t["Title"] = { [](Object& o, const PropertyEntry& e) { Window::from(o).qtWindow()->setWindowTitle(toQString(e.asString())); },
                       [](Object& o) -> PropertyValue { return fromQString(Window::from(o).qtWindow()->windowTitle()); } };
        t["MenuBarVisible"] = { [](Object& o, const PropertyEntry& e) {
                                   Window& w = Window::from(o);
                                   w.propertyStore().set("MenuBarVisible", e.value);
                                   if (QWidget* bar = w.qtWindow()->menuWidget())
                                       bar->setVisible(e.asBoolean());
                                   applySize(w);
                               },
                                nullptr };
        return t;
    }();
    return table;
}

// The framework class whose properties the object takes: its own record's or an ancestor's.
const PropertySchema& schemaOf(Object& target)
{
    for (const ClassRecord* r = &target.record(); r; r = r->parent()) {
        if (const PropertySchema* schema = PropertySchema::tryForClass(r->name().bytes()))
            return *schema;
    }
    throw UnsupportedOperationException("an object of class " + target.record().name().toStdString()
                                        + " takes no property strings");
}

PropertyStore& storeOf(Object& target)
{
    if (auto* w = dynamic_cast<Window*>(&target))
        return w->propertyStore();
    return Control::from(target).propertyStore();
}

const Table& tableOf(Object& target)
{
    return dynamic_cast<Window*>(&target) ? windowTable() : controlTable();
}

struct Range {
    std::int64_t low;
    std::int64_t high;
};

// Value ranges that an Int32 entry must keep to. Positions and sizes stay within Qt's widget
// limits, so no coordinate arithmetic can overflow.
std::optional<Range> rangeOf(bool window, std::string_view name)
{
    constexpr std::int64_t most = QWIDGETSIZE_MAX;
    static const std::map<std::string_view, Range> controlRanges {
        { "Left", { -most, most } }, { "Top", { -most, most } }, { "Width", { 0, most } }, { "Height", { 0, most } },
        { "LimitText", { 0, std::numeric_limits<std::int32_t>::max() } }, { "Alignment", { 0, 3 } },
        { "TextAlign", { 0, 2 } },
    };
    static const std::map<std::string_view, Range> windowRanges {
        { "Width", { 0, most } },    { "Height", { 0, most } },    { "MinWidth", { 0, most } },
        { "MinHeight", { 0, most } }, { "MaxWidth", { 0, most } }, { "MaxHeight", { 0, most } },
    };
    const auto& ranges = window ? windowRanges : controlRanges;
    auto it = ranges.find(name);
    if (it == ranges.end())
        return std::nullopt;
    return it->second;
}

std::int32_t itemCount(const String& items)
{
    if (items.isEmpty())
        return 0;
    const std::string_view bytes = items.bytes();
    return static_cast<std::int32_t>(std::count(bytes.begin(), bytes.end(), '\r')) + 1;
}

[[noreturn]] void refuse(Object& target, const PropertyEntry& entry, std::size_t number, const std::string& what)
{
    throw PropertyStringException("bad property string for " + target.record().name().toStdString() + ": entry "
                                      + std::to_string(number) + " '" + std::string(entry.entryName) + "' at byte "
                                      + std::to_string(entry.offset) + ": " + what,
                                  number, std::string(entry.entryName), entry.offset);
}

// Everything that could fail part way is checked before the first value is applied, so a string
// that cannot be applied whole changes nothing.
void checkApplicable(Object& target, const Table& table, const std::vector<PropertyEntry>& entries)
{
    const bool window = dynamic_cast<Window*>(&target) != nullptr;
    if (!window)
        widgetOf(target);
    auto* popup = dynamic_cast<PopupMenu*>(&target);
    std::int32_t items = popup ? PopupMenu::ListCount(target) : 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PropertyEntry& entry = entries[i];
        if (!table.contains(entry.name))
            refuse(target, entry, i + 1, "the property is not supported");
        if (popup && entry.name == "InitialValue")
            items = itemCount(entry.asString());
        if (entry.type() != PropertyType::Int32)
            continue;
        const std::int64_t value = entry.asInt32();
        std::optional<Range> range = rangeOf(window, entry.name);
        if (popup && entry.name == "ListIndex")
            range = Range { -1, items - 1 };
        if (range && (value < range->low || value > range->high))
            refuse(target, entry, i + 1,
                   std::to_string(value) + " is outside " + std::to_string(range->low) + " to "
                       + std::to_string(range->high));
    }
}

}

void SetProperties(Object& target, const String& propertyString)
{
    Ref<Object> keep(&target);
    const std::vector<PropertyEntry> entries = PropertyString::decode(propertyString, schemaOf(target));
    const Table& table = tableOf(target);
    checkApplicable(target, table, entries);
    for (const PropertyEntry& entry : entries) {
        const Accessor& accessor = table.find(entry.name)->second;
        if (accessor.set)
            accessor.set(target, entry);
        else
            storeOf(target).set(entry.name, entry.value);
    }
}

PropertyValue GetProperty(Object& target, std::string_view name)
{
    const std::optional<PropertyInfo> info = schemaOf(target).find(name);
    if (!info)
        throw UnsupportedOperationException("an object of class " + target.record().name().toStdString()
                                            + " has no property " + std::string(name));
    const Table& table = tableOf(target);
    auto it = table.find(info->name);
    if (it != table.end() && it->second.get)
        return it->second.get(target);
    if (auto v = storeOf(target).get(info->name))
        return *v;
    throw RuntimeException("the property " + std::string(name) + " has not been set");
}

}
