#pragma once

#include "RectControl.h"
#include "Window.h"

namespace testsupport {

// A control of the class, made for the window, constructed and added under the name, as a
// window's construction does it.
inline platform::Ref<platform::Object> addControl(const platform::Ref<platform::Object>& window,
                                                  const platform::ClassRecord& record, const char* name)
{
    platform::Ref<platform::Object> control = platform::Window::New(*window, record);
    platform::RectControl::Constructor(*control);
    platform::Window::AddControl(*window, name, control);
    return control;
}

}
