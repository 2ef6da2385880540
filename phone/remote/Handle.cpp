#include "phone/remote/Handle.h"

namespace phone::remote {

Handle &Handle::operator=(Handle &&other) noexcept
{
    if (this != &other) {
        close();
        m_native = other.release();
    }
    return *this;
}

NativeHandle Handle::release()
{
    const NativeHandle native = m_native;
    m_native = invalid();
    return native;
}

void Handle::close() noexcept
{
    if (valid())
        closeNative(release());
}

} // namespace phone::remote
