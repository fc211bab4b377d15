#include "StaticText.h"

#include "ClassSchemas.h"
#include "ControlWidget.h"
#include "HorizontalAlignment.h"
#include "PropertyTable.h"
#include "QtColor.h"
#include "QtText.h"

#include <QLabel>

namespace platform {

namespace {

QLabel& label(Object& o)
{
    return controlWidget<StaticText, QLabel>(o, "a StaticText");
}

}

const ClassRecord& StaticText::Lookup()
{
    static ClassCache cache;
    return cache.build(&RectControl::Lookup, "StaticText", RectControl::SlotCount, [](ClassRecord&) {}, &StorageMaker<StaticText>::make);
}

StaticText::StaticText(const ClassRecord& record)
    : RectControl(record, new QLabel)
{
    static_cast<QLabel*>(widget())->setTextFormat(Qt::PlainText);
}

String StaticText::TextGet(Object& o)
{
    return fromQString(label(o).text());
}

void StaticText::TextSet(Object& o, std::int32_t, const String& text)
{
    label(o).setText(toQString(text));
}

namespace {

// A label of several lines starts at the top; one of a single line is centred on its height.
void align(QLabel& shown, HorizontalAlignment alignment)
{
    shown.setAlignment(qtAlignment(alignment) | (shown.wordWrap() ? Qt::AlignTop : Qt::AlignVCenter));
}

void setTextAlign(Object& o, std::int32_t number)
{
    align(label(o), textAlignNumbering.alignment(number));
}

std::int32_t textAlign(Object& o)
{
    return textAlignNumbering.number(horizontalAlignment(label(o).alignment()));
}

void setMultiLine(Object& o, bool on)
{
    QLabel& shown = label(o);
    shown.setWordWrap(on);
    align(shown, horizontalAlignment(shown.alignment()));
}

}

const PropertyTable& StaticText::properties()
{
    static const PropertyTable table(staticTextSchema, &RectControl::properties(), {
        { "Text", &StaticText::TextSet, &StaticText::TextGet },
        PropertyRow::kept("DataSource"),
        PropertyRow::kept("DataField"),
        { "TextAlign", textAlignNumbering.range(), setTextAlign, textAlign },
        { "TextColor", setControlColor<QPalette::WindowText>, controlColor<QPalette::WindowText> },
        { "MultiLine", setMultiLine, [](Object& o) { return label(o).wordWrap(); } },
    }, textStyleRows());
    return table;
}

}
