#include "phone/Tervani.h"

#include "phone/Members.h"

#include <array>

namespace phone {

namespace {

template <std::size_t N>
Value invoke(Dispatch &dispatch, std::int32_t dispId, std::array<Argument, N> arguments)
{
    return dispatch.invoke(dispId, arguments);
}

} // namespace

bool Tervani::PopUp()
{
    return toBool(m_dispatch.getProperty(dispid::PopUp));
}

void Tervani::setPopUp(std::int16_t value)
{
    m_dispatch.putProperty(dispid::PopUp, Value{value});
}

std::int32_t Tervani::ConnectionCount()
{
    return toInt32(m_dispatch.getProperty(dispid::ConnectionCount));
}

std::int32_t Tervani::IncomingCallID()
{
    return toInt32(m_dispatch.getProperty(dispid::IncomingCallID));
}

std::u16string Tervani::LatestText()
{
    return toText(m_dispatch.getProperty(dispid::LatestText));
}

void Tervani::Dial(const std::u16string &number)
{
    invoke<1>(m_dispatch, dispid::Dial, {Argument{number}});
}

void Tervani::SendShortMessage(const std::u16string &number, const std::u16string &message)
{
    invoke<2>(m_dispatch, dispid::SendShortMessage, {Argument{number}, Argument{message}});
}

void Tervani::SendDTMF(std::int32_t callId, const std::u16string &digits)
{
    invoke<2>(m_dispatch, dispid::SendDTMF, {Argument{callId, true}, Argument{digits}});
}

void Tervani::AcceptCall(std::int32_t callId)
{
    invoke<1>(m_dispatch, dispid::AcceptCall, {Argument{callId, true}});
}

void Tervani::HangUp(std::int32_t callId)
{
    invoke<1>(m_dispatch, dispid::HangUp, {Argument{callId}});
}

std::u16string Tervani::ConvertNumber(const std::u16string &number)
{
    return toText(invoke<1>(m_dispatch, dispid::ConvertNumber, {Argument{number}}));
}

} // namespace phone
