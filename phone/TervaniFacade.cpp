#include "phone/TervaniFacade.h"

#include "phone/Members.h"

#include "phone/Error.h"

#include <array>
#include <string_view>

namespace phone {

namespace {

// Runs one access and names it on any error that leaves it, with the value's conversion
// counted as part of the access that gave the value.
template <typename Access>
auto named(std::string_view member, std::string_view verb, Access &&access)
{
    try {
        return access();
    } catch (Error &error) {
        error.setAccess(std::string(member) + ' ' + std::string(verb));
        throw;
    }
}

template <std::size_t N>
Value invoke(Dispatch &dispatch, std::int32_t dispId, std::array<Argument, N> arguments)
{
    return dispatch.invoke(dispId, arguments);
}

} // namespace

bool TervaniFacade::PopUp()
{
    return named("PopUp", "lesen", [&] { return toBool(m_dispatch.getProperty(dispid::PopUp)); });
}

void TervaniFacade::setPopUp(std::int16_t value)
{
    named("PopUp", "setzen", [&] { m_dispatch.putProperty(dispid::PopUp, Value{value}); });
}

std::int32_t TervaniFacade::ConnectionCount()
{
    return named("ConnectionCount", "lesen",
                 [&] { return toInt32(m_dispatch.getProperty(dispid::ConnectionCount)); });
}

std::int32_t TervaniFacade::IncomingCallID()
{
    return named("IncomingCallID", "lesen",
                 [&] { return toInt32(m_dispatch.getProperty(dispid::IncomingCallID)); });
}

std::u16string TervaniFacade::LatestText()
{
    return named("LatestText", "lesen",
                 [&] { return toText(m_dispatch.getProperty(dispid::LatestText)); });
}

void TervaniFacade::Dial(const std::u16string &number)
{
    named("Dial", "aufrufen", [&] { invoke<1>(m_dispatch, dispid::Dial, {Argument{number}}); });
}

void TervaniFacade::SendShortMessage(const std::u16string &number, const std::u16string &message)
{
    named("SendShortMessage", "aufrufen", [&] {
        invoke<2>(m_dispatch, dispid::SendShortMessage, {Argument{number}, Argument{message}});
    });
}

void TervaniFacade::SendDTMF(std::int32_t callId, const std::u16string &digits)
{
    named("SendDTMF", "aufrufen", [&] {
        invoke<2>(m_dispatch, dispid::SendDTMF, {Argument{callId, true}, Argument{digits}});
    });
}

void TervaniFacade::AcceptCall(std::int32_t callId)
{
    named("AcceptCall", "aufrufen", [&] {
        invoke<1>(m_dispatch, dispid::AcceptCall, {Argument{callId, true}});
    });
}

void TervaniFacade::HangUp(std::int32_t callId)
{
    named("HangUp", "aufrufen", [&] { invoke<1>(m_dispatch, dispid::HangUp, {Argument{callId}}); });
}

std::u16string TervaniFacade::ConvertNumber(const std::u16string &number)
{
    return named("ConvertNumber", "aufrufen", [&] {
        return toText(invoke<1>(m_dispatch, dispid::ConvertNumber, {Argument{number}}));
    });
}

} // namespace phone
