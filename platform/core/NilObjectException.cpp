#include "NilObjectException.h"

namespace platform {

void RaiseNilObjectException()
{
    throw NilObjectException();
}

}
