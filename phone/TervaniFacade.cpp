#include "phone/TervaniFacade.h"

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

bool TervaniFacade::PopUp()
{
    return toBool(m_dispatch.getProperty(dispid::PopUp));
}

void TervaniFacade::setPopUp(std::int16_t value)
{
    m_dispatch.putProperty(dispid::PopUp, Value{value});
}

std::int32_t TervaniFacade::ConnectionCount()
{
    return toInt32(m_dispatch.getProperty(dispid::ConnectionCount));
}

std::int32_t TervaniFacade::IncomingCallID()
{
    return toInt32(m_dispatch.getProperty(dispid::IncomingCallID));
}

std::u16string TervaniFacade::LatestText()
{
    return toText(m_dispatch.getProperty(dispid::LatestText));
}

void TervaniFacade::Dial(const std::u16string &number)
{
    invoke<1>(m_dispatch, dispid::Dial, {Argument{number}});
}

void TervaniFacade::SendShortMessage(const std::u16string &number, const std::u16string &message)
{
    invoke<2>(m_dispatch, dispid::SendShortMessage, {Argument{number}, Argument{message}});
}

void TervaniFacade::SendDTMF(std::int32_t callId, const std::u16string &digits)
{
    invoke<2>(m_dispatch, dispid::SendDTMF, {Argument{callId, true}, Argument{digits}});
}

void TervaniFacade::AcceptCall(std::int32_t callId)
{
    invoke<1>(m_dispatch, dispid::AcceptCall, {Argument{callId, true}});
}

void TervaniFacade::HangUp(std::int32_t callId)
{
    invoke<1>(m_dispatch, dispid::HangUp, {Argument{callId}});
}

std::u16string TervaniFacade::ConvertNumber(const std::u16string &number)
{
    return toText(invoke<1>(m_dispatch, dispid::ConvertNumber, {Argument{number}}));
}

} // namespace phone
