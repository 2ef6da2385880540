#pragma once

namespace phone::host {

// This thread as a single-threaded apartment with OLE, for as long as the object lives.
class OleApartment
{
public:
    // Throws phone::Error with the system's reason.
    OleApartment();
    ~OleApartment();
    OleApartment(const OleApartment &) = delete;
    OleApartment &operator=(const OleApartment &) = delete;
};

} // namespace phone::host
