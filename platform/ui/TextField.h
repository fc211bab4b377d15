#pragma once

#include "TextEdit.h"

namespace platform {

// A one-line text field.
class TextField final : public TextEdit {
public:
    static const ClassRecord& Lookup();

    // The properties a property string can set on a one-line text field.
    static const PropertyTable& properties();

private:
    explicit TextField(const ClassRecord& record);
    friend struct StorageMaker<TextField>;
};

}
