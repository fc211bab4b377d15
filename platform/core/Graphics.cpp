#include "Graphics.h"

namespace platform {

const ClassRecord& Graphics::Lookup()
{
    static const ClassRecord record("Graphics", nullptr);
    return record;
}

}
