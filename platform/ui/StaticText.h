#pragma once

#include "RectControl.h"

namespace platform {

// A label.
class StaticText final : public RectControl {
public:
    static const ClassRecord& Lookup();

    static String TextGet(Object& label);
    static void TextSet(Object& label, std::int32_t index, const String& text);

    // The properties a property string can set on a label.
    static const PropertyTable& properties();

private:
    explicit StaticText(const ClassRecord& record);
    friend struct StorageMaker<StaticText>;
};

}
