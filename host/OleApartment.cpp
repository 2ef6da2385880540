#include "host/OleApartment.h"

#include "phone/com/ComError.h"

#include <ole2.h>

namespace phone::host {

OleApartment::OleApartment()
{
    phone::com::check(OleInitialize(nullptr));
}

OleApartment::~OleApartment()
{
    OleUninitialize();
}

} // namespace phone::host
