#include "platform/PushButton.h"

#include "platform/IllegalCastException.h"
#include "platform/QtText.h"

#include <QPushButton>

namespace platform {

struct PushButtonMaker {
    static Object* make(const ClassRecord& record) { return new PushButton(record); }
};

namespace {

QPushButton& button(Object& o)
{
    auto* b = dynamic_cast<PushButton*>(&o);
    if (!b)
        throw IllegalCastException("an object of class " + o.record().name().toStdString() + " is not a PushButton");
    return *static_cast<QPushButton*>(b->widget());
}

}

const ClassRecord& PushButton::Lookup()
{
    static const ClassRecord* record = makeRecord("PushButton", RectControl::Lookup(), &PushButtonMaker::make);
    return *record;
}

PushButton::PushButton(const ClassRecord& record)
    : RectControl(record, new QPushButton)
{
    QObject::connect(static_cast<QPushButton*>(widget()), &QPushButton::clicked, [this] { raiseEvent("Action"); });
}

void PushButton::press()
{
    static_cast<QPushButton*>(widget())->click();
}

String PushButton::CaptionGet(Object& b)
{
    return fromQString(button(b).text());
}

void PushButton::CaptionSet(Object& b, std::int32_t, const String& caption)
{
    button(b).setText(toQString(caption));
}

void PushButton::DefaultSet(Object& b, std::int32_t, bool isDefault)
{
    button(b).setDefault(isDefault);
    button(b).setAutoDefault(isDefault);
}

bool PushButton::DefaultGet(Object& b)
{
    return button(b).isDefault();
}

}
