#pragma once

#include "String.h"

#include <span>
#include <string_view>

// The fixed design values of the window and its six controls, one property string each, handed
// once to the property applier as each object is created.
namespace PropertyStrings {

platform::String window1();
platform::String pushButton1();
platform::String textField1();
platform::String staticText1();
platform::String staticText2();
platform::String staticText3();
platform::String popupMenu1();

struct Constant {
    std::string_view target;    // "Window1" or the control's name
    std::string_view className; // the framework class whose properties the string sets
    std::string_view bytes;
};

// All seven, the window's first, then the controls in the order of their creation.
std::span<const Constant> all() noexcept;

}
