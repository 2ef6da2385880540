#pragma once

#include "form/FormPort.h"
#include "phone/TervaniFacade.h"

#include <cstdint>
#include <string>

namespace events {

// A number with a blank in front when it is 0 or positive, a minus sign when negative.
std::u16string signPositionDecimal(std::int32_t number);

// "Ereignis: <name> (ID: <id>) -    Nummer: <calling> - MSN: <called>"
std::u16string formatEventLine(const std::u16string &strText, const std::u16string &CallingNumber,
                               const std::u16string &CalledMSN, std::int32_t CallID);

// Appends the event's line to LST_Message, then refreshes LBL_Anzahl and LBL_Last from the
// control. A failing read stops it where it fails; the line stays in the list.
void WriteMessage(form::FormPort &form, phone::TervaniFacade &control,
                  const std::u16string &strText, const std::u16string &CallingNumber,
                  const std::u16string &CalledMSN, std::int32_t CallID);

} // namespace events
