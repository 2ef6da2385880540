#include "phone/remote/StreamChannel.h"

#include "phone/Error.h"
#include "phone/remote/Framing.h"

namespace phone::remote {

void StreamChannel::check() const
{
    if (m_broken)
        throw Error(ErrorKind::Component, *m_broken);
}

void StreamChannel::send(std::span<const std::byte> payload)
{
    check();
    try {
        writeFrame(m_stream, payload);
    } catch (const Error &error) {
        // Part of the frame may be out: nothing sent after it could be read.
        m_broken = error.description();
        throw;
    }
}

std::optional<Frame> StreamChannel::receive()
{
    check();
    try {
        return readFrame(m_stream);
    } catch (const Error &error) {
        m_broken = error.description();
        throw;
    }
}

} // namespace phone::remote
