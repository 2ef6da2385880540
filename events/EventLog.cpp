#include "events/EventLog.h"

#include "form/FormLayout.h"
#include "phone/Ascii.h"

namespace events {

std::u16string signPositionDecimal(std::int32_t number)
{
    std::u16string out(1, number < 0 ? u'-' : u' ');
    // Widened so that -2147483648 has a magnitude too.
    const std::int64_t magnitude = number < 0 ? -std::int64_t{number} : std::int64_t{number};
    out += phone::widen(std::to_string(magnitude));
    return out;
}

std::u16string formatEventLine(const std::u16string &strText, const std::u16string &CallingNumber,
                               const std::u16string &CalledMSN, std::int32_t CallID)
{
    std::u16string line;
    line.reserve(48 + strText.size() + CallingNumber.size() + CalledMSN.size());
    line += u"Ereignis: ";
    line += strText;
    line += u" (ID:";
    line += signPositionDecimal(CallID);
    line += u") - ";
    line += u"   Nummer: ";
    line += CallingNumber;
    line += u" - MSN: ";
    line += CalledMSN;
    return line;
}

void WriteMessage(form::FormPort &form, phone::TervaniFacade &control,
                  const std::u16string &strText, const std::u16string &CallingNumber,
                  const std::u16string &CalledMSN, std::int32_t CallID)
{
    form.addItem(formatEventLine(strText, CallingNumber, CalledMSN, CallID));
    const std::int32_t count = control.ConnectionCount();
    form.setCaption(form::Control::LBL_Anzahl,
                    std::u16string(form::countCaption) + signPositionDecimal(count));
    form.setCaption(form::Control::LBL_Last,
                    std::u16string(form::latestCaption) + control.LatestText());
}

} // namespace events
