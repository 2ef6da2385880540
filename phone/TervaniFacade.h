#pragma once

#include "phone/Dispatch.h"

#include <cstdint>
#include <string>

namespace phone {

// The telephony control seen through its typed facade. Every member goes through the late-bound
// boundary by its dispatch identifier, and every value is converted the way the window takes it, so
// a different boundary (the COM adapter, the simulation, a scripted control) drops in unchanged.
// Nothing is cached: each call is one access.
class TervaniFacade
{
public:
    explicit TervaniFacade(Dispatch &dispatch)
        : m_dispatch(dispatch)
    {}

    bool PopUp();
    void setPopUp(std::int16_t value);
    std::int32_t ConnectionCount();
    std::int32_t IncomingCallID();
    std::u16string LatestText();

    void Dial(const std::u16string &number);
    void SendShortMessage(const std::u16string &number, const std::u16string &message);
    // The identifier goes by reference as a copy: what the control writes into it is dropped.
    void SendDTMF(std::int32_t callId, const std::u16string &digits);
    void AcceptCall(std::int32_t callId);
    void HangUp(std::int32_t callId);
    std::u16string ConvertNumber(const std::u16string &number);

private:
    Dispatch &m_dispatch;
};

} // namespace phone
