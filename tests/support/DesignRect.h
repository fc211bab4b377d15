#pragma once

#include "PropertySchema.h"
#include "PropertyString.h"
#include "PropertyStrings.h"

#include <QRect>

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

// The design rectangle of one of the window's controls, read from its own property string.
inline QRect designRect(std::string_view control)
{
    for (const auto& c : PropertyStrings::all()) {
        if (c.target != control)
            continue;
        std::map<std::string_view, std::int32_t> v;
        for (const platform::PropertyEntry& e :
             platform::PropertyString::decode(platform::String(c.bytes), platform::PropertySchema::forClass(c.className)))
            if (e.name == "Left" || e.name == "Top" || e.name == "Width" || e.name == "Height")
                v[e.name] = e.asInt32();
        return QRect(v.at("Left"), v.at("Top"), v.at("Width"), v.at("Height"));
    }
    throw std::runtime_error("no property string for " + std::string(control));
}

}
