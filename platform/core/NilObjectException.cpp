#include "platform/NilObjectException.h"

namespace platform {

void RaiseNilObjectException()
{
    throw NilObjectException();
}

}
