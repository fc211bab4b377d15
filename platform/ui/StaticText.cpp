#include "StaticText.h"

#include "ControlWidget.h"
#include "QtText.h"

#include <QLabel>

namespace platform {

struct StaticTextMaker {
    static Object* make(const ClassRecord& record) { return new StaticText(record); }
};

namespace {

QLabel& label(Object& o)
{
    return controlWidget<StaticText, QLabel>(o, "a StaticText");
}

}

const ClassRecord& StaticText::Lookup()
{
    static ClassCache cache;
    return cache.build(&RectControl::Lookup, "StaticText", RectControl::SlotCount, [](ClassRecord&) {}, &StaticTextMaker::make);
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

}
