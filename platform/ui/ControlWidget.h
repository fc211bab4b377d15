#pragma once

// Private to the framework: a control's Qt widget, for the control classes' own code.

#include "Control.h"
#include "RectControl.h"
#include "RuntimeException.h"
#include "StorageCast.h"

#include <QWidget>

#include <string>

namespace platform {

// The widget of a control whose storage is Storage. A control outlives its widget when someone
// still holds it after its window is gone; using it then is an error, not a dangling pointer.
template<class Storage, class Widget = QWidget>
Widget& controlWidget(Object& control, const char* kind)
{
    Storage& storage = storageAs<Storage>(control, kind);
    auto* widget = qobject_cast<Widget*>(storage.widget());
    if (!widget)
        throw RuntimeException("the control " + storage.name().toStdString()
                               + " is no longer on screen: its window has gone");
    return *widget;
}

// The widget of a control with a rectangle.
inline QWidget& shown(Object& control)
{
    return controlWidget<RectControl>(control, "a RectControl");
}

}
