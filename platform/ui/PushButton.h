#pragma once

#include "RectControl.h"

namespace platform {

// A push button; a press (mouse, Space, or Return when it is the default) raises "Action".
class PushButton final : public RectControl {
public:
    struct Events {
        static constexpr ClassEvent<void()> Action { "Action" };
    };

    static const ClassRecord& Lookup();

    static String CaptionGet(Object& button);
    static void CaptionSet(Object& button, std::int32_t index, const String& caption);
    static void DefaultSet(Object& button, std::int32_t index, bool isDefault);
    static bool DefaultGet(Object& button);

    // The properties a property string can set on a push button.
    static const PropertyTable& properties();

    void press();

private:
    explicit PushButton(const ClassRecord& record);
    friend struct StorageMaker<PushButton>;
};

}
