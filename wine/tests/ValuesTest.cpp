// Every value type a control may answer through COM, taken by the adapter as the automation
// runtime takes it: the bench's integer, truth value and text of what the adapter makes of
// it must be oleaut32's own VariantChangeTypeEx to VT_I4, VT_BOOL and VT_BSTR of the VARIANT.
// A date's text is the user's own, as the platform shows a date; every other is invariant.

#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/Value.h"
#include "phone/com/ComText.h"
#include "phone/com/ComVariant.h"
#include "phone/com/ConnectionSink.h"
#include "phone/com/NamelessDispatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using phone::com::Variant;

// A failure of either side as one word, so that both sides compare.
std::string failureOf(HRESULT result)
{
    return result == DISP_E_OVERFLOW ? "overflow" : "type mismatch";
}

std::string failureOf(const phone::Error &error)
{
    return error.kind() == phone::ErrorKind::Overflow ? "overflow" : "type mismatch";
}

std::string utf8(const std::u16string &text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool isDate(const VARIANT &source)
{
    return (source.vt & VT_TYPEMASK) == VT_DATE;
}

std::string runtime(const VARIANT &source, VARTYPE type)
{
    Variant target;
    // VARIANT_ALPHABOOL: a truth value as its word, as the bench writes it.
    const HRESULT result = VariantChangeTypeEx(
        target.get(), const_cast<VARIANT *>(&source),
        isDate(source) ? LOCALE_USER_DEFAULT : LOCALE_INVARIANT, VARIANT_ALPHABOOL, type);
    if (FAILED(result))
        return failureOf(result);
    if (type == VT_I4)
        return std::to_string((*target).lVal);
    if (type == VT_BOOL)
        return (*target).boolVal ? "true" : "false";
    const BSTR text = (*target).bstrVal;
    return utf8(std::u16string(reinterpret_cast<const char16_t *>(text), SysStringLen(text)));
}

phone::Taken takenFor(VARTYPE type)
{
    return type == VT_I4     ? phone::Taken::Int32
           : type == VT_BOOL ? phone::Taken::Bool
                             : phone::Taken::Text;
}

std::string bench(const VARIANT &source, VARTYPE type)
{
    try {
        const phone::Value value = phone::com::toValue(source, takenFor(type));
        if (type == VT_I4)
            return std::to_string(phone::toInt32(value));
        if (type == VT_BOOL)
            return phone::toBool(value) ? "true" : "false";
        return utf8(phone::toText(value));
    } catch (const phone::Error &error) {
        return failureOf(error);
    }
}

// An object whose default member answers a float, as a control's sub-object might.
class DefaultValue final : public phone::com::NamelessDispatch
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *object = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS *,
                                     VARIANT *result, EXCEPINFO *, UINT *) override
    {
        if (member != DISPID_VALUE)
            return DISP_E_MEMBERNOTFOUND;
        if (result) {
            VariantInit(result);
            result->vt = VT_R4;
            result->fltVal = 2.75f;
        }
        return S_OK;
    }

private:
    ULONG m_references = 1; // on the test's stack
};

struct TypedValue
{
    const char *name;
    VARTYPE type;
    // Sets the value's field; the type is set after it, as a DECIMAL fills the type's place.
    std::function<void(VARIANT &)> make;
    // Where the bench keeps the sound integer: VariantChangeTypeEx copies the bits of an
    // unsigned 32-bit value into VT_I4 (4294967295 becomes -1), where VarI4FromUI4 and the
    // value's own text overflow; the bench overflows too (README, "Conversions").
    const char *runtimeIntegerKeptApart = nullptr;
};

void PrintTo(const TypedValue &value, std::ostream *out)
{
    *out << value.name;
}

DefaultValue defaultValue;
LONG byRefLong = 7;
float byRefFloat = 0.1f;
LONGLONG byRefI8 = 123456789012345678LL;
DATE byRefDate = 46364.75; // 8 December 2026, 18:00

DECIMAL decimal(const wchar_t *text)
{
    DECIMAL value{};
    VarDecFromStr(const_cast<wchar_t *>(text), LOCALE_INVARIANT, 0, &value);
    return value;
}

CY currency(LONGLONG scaled)
{
    CY value;
    value.int64 = scaled;
    return value;
}

const std::vector<TypedValue> typedValues = {
    {"Empty", VT_EMPTY, [](VARIANT &) {}, nullptr},
    {"I1Min", VT_I1, [](VARIANT &v) { v.cVal = -128; }, nullptr},
    {"UI1Max", VT_UI1, [](VARIANT &v) { v.bVal = 255; }, nullptr},
    {"UI2Max", VT_UI2, [](VARIANT &v) { v.uiVal = 65535; }, nullptr},
    {"IntNegative", VT_INT, [](VARIANT &v) { v.intVal = -7; }, nullptr},
    {"UintMax", VT_UINT, [](VARIANT &v) { v.uintVal = 4294967295u; }, "-1"},
    {"UintSmall", VT_UINT, [](VARIANT &v) { v.uintVal = 7; }, nullptr},
    {"UI4AboveInt32", VT_UI4, [](VARIANT &v) { v.ulVal = 2147483648u; }, "-2147483648"},
    {"UI4Small", VT_UI4, [](VARIANT &v) { v.ulVal = 5; }, nullptr},
    {"I8Large", VT_I8, [](VARIANT &v) { v.llVal = 123456789012345678LL; }, nullptr},
    {"I8BelowInt32", VT_I8, [](VARIANT &v) { v.llVal = -2147483649LL; }, nullptr},
    {"I8Int32Max", VT_I8, [](VARIANT &v) { v.llVal = 2147483647LL; }, nullptr},
    {"UI8Max", VT_UI8, [](VARIANT &v) { v.ullVal = 18446744073709551615ULL; }, nullptr},
    {"UI8Small", VT_UI8, [](VARIANT &v) { v.ullVal = 5; }, nullptr},
    {"R4Tenth", VT_R4, [](VARIANT &v) { v.fltVal = 0.1f; }, nullptr},
    {"R4HalfToEven", VT_R4, [](VARIANT &v) { v.fltVal = 2.5f; }, nullptr},
    {"R4HalfUp", VT_R4, [](VARIANT &v) { v.fltVal = 3.5f; }, nullptr},
    {"R4MinusZero", VT_R4, [](VARIANT &v) { v.fltVal = -0.0f; }, nullptr},
    {"R4Large", VT_R4, [](VARIANT &v) { v.fltVal = 1e20f; }, nullptr},
    {"R4Max", VT_R4, [](VARIANT &v) { v.fltVal = 3.4028235e38f; }, nullptr},
    {"R4Tiny", VT_R4, [](VARIANT &v) { v.fltVal = 1.17549435e-38f; }, nullptr},
    {"R8SumOfTenths", VT_R8, [](VARIANT &v) { v.dblVal = 0.1 + 0.2; }, nullptr},
    {"R8Large", VT_R8, [](VARIANT &v) { v.dblVal = 1e21; }, nullptr},
    {"CyHalf", VT_CY, [](VARIANT &v) { v.cyVal = currency(25000); }, nullptr},
    {"CyFraction", VT_CY, [](VARIANT &v) { v.cyVal = currency(-12346); }, nullptr},
    {"CyMax", VT_CY, [](VARIANT &v) { v.cyVal = currency(std::numeric_limits<LONGLONG>::max()); },
     nullptr},
    {"DecimalHalf", VT_DECIMAL, [](VARIANT &v) { v.decVal = decimal(L"0.5"); }, nullptr},
    {"DecimalOneAndAHalf", VT_DECIMAL, [](VARIANT &v) { v.decVal = decimal(L"1.5"); }, nullptr},
    {"DecimalManyDigits", VT_DECIMAL,
     [](VARIANT &v) { v.decVal = decimal(L"12345678901234567890.123"); }, nullptr},
    {"DecimalMax", VT_DECIMAL,
     [](VARIANT &v) { v.decVal = decimal(L"79228162514264337593543950335"); }, nullptr},
    // Days since 30 December 1899, the fraction the time of day (also before that day).
    {"DateOrigin", VT_DATE, [](VARIANT &v) { v.date = 0.0; }, nullptr},
    {"DateMidnight", VT_DATE, [](VARIANT &v) { v.date = 46364.0; }, nullptr},
    {"DateNoonHalfToEven", VT_DATE, [](VARIANT &v) { v.date = 46364.5; }, nullptr},
    {"DateNoonHalfUp", VT_DATE, [](VARIANT &v) { v.date = 46365.5; }, nullptr},
    {"DateTimeOfDayOnly", VT_DATE, [](VARIANT &v) { v.date = 0.75; }, nullptr},
    {"DateBeforeOrigin", VT_DATE, [](VARIANT &v) { v.date = -1.25; }, nullptr},
    {"DateFirst", VT_DATE, [](VARIANT &v) { v.date = -657434.0; }, nullptr},
    {"DateLastSecond", VT_DATE, [](VARIANT &v) { v.date = 2958465.999988426; }, nullptr},
    {"DateBeyondTheCalendar", VT_DATE, [](VARIANT &v) { v.date = 1e10; }, nullptr},
    {"BoolTrue", VT_BOOL, [](VARIANT &v) { v.boolVal = VARIANT_TRUE; }, nullptr},
    {"BoolFalse", VT_BOOL, [](VARIANT &v) { v.boolVal = VARIANT_FALSE; }, nullptr},
    {"TextNumber", VT_BSTR, [](VARIANT &v) { v.bstrVal = SysAllocString(L"&HFFFF"); }, nullptr},
    {"TextWord", VT_BSTR, [](VARIANT &v) { v.bstrVal = SysAllocString(L"tRUE"); }, nullptr},
    {"ErrorCode", VT_ERROR, [](VARIANT &v) { v.scode = DISP_E_PARAMNOTFOUND; }, nullptr},
    {"Unknown", VT_UNKNOWN,
     [](VARIANT &v) {
         v.punkVal = &defaultValue;
         defaultValue.AddRef();
     },
     nullptr},
    {"Array", VT_ARRAY | VT_I4, [](VARIANT &v) { v.parray = SafeArrayCreateVector(VT_I4, 0, 2); },
     nullptr},
    {"ObjectWithDefault", VT_DISPATCH,
     [](VARIANT &v) {
         v.pdispVal = &defaultValue;
         defaultValue.AddRef();
     },
     nullptr},
    {"ByRefI4", VT_BYREF | VT_I4, [](VARIANT &v) { v.plVal = &byRefLong; }, nullptr},
    {"ByRefR4", VT_BYREF | VT_R4, [](VARIANT &v) { v.pfltVal = &byRefFloat; }, nullptr},
    {"ByRefI8", VT_BYREF | VT_I8, [](VARIANT &v) { v.pllVal = &byRefI8; }, nullptr},
    {"ByRefDate", VT_BYREF | VT_DATE, [](VARIANT &v) { v.pdate = &byRefDate; }, nullptr},
};

class ValueType : public testing::TestWithParam<TypedValue>
{
};

TEST_P(ValueType, IsTakenAsTheRuntimeTakesIt)
{
    Variant source;
    GetParam().make(*source.get());
    source.get()->vt = GetParam().type;
    for (VARTYPE type : {VARTYPE(VT_I4), VARTYPE(VT_BOOL), VARTYPE(VT_BSTR)}) {
        SCOPED_TRACE(type == VT_I4 ? "to VT_I4" : type == VT_BOOL ? "to VT_BOOL" : "to VT_BSTR");
        if (type == VT_I4 && GetParam().runtimeIntegerKeptApart) {
            EXPECT_EQ(runtime(*source, type), GetParam().runtimeIntegerKeptApart);
            EXPECT_EQ(bench(*source, type), "overflow");
            continue;
        }
        EXPECT_EQ(bench(*source, type), runtime(*source, type));
    }
}

INSTANTIATE_TEST_SUITE_P(Com, ValueType, testing::ValuesIn(typedValues),
                         [](const auto &info) { return std::string(info.param.name); });

// A call event's arguments as the window takes them: the numbers as text, the call's
// identifier as an integer, so a date there is its day number.
TEST(EventArguments, DatesAreTakenAsTheWindowTakesEachArgument)
{
    const auto sink = phone::com::ConnectionSink::create({IID_IDispatch, {{1, "OnRing"}}});
    tervani_tests::RecordingSink window;
    sink->setTarget(&window);
    Variant dates[3];
    for (Variant &date : dates) {
        date.get()->vt = VT_DATE;
        date.get()->date = 46365.5;
    }
    // Last first, as IDispatch::Invoke passes them.
    VARIANT arguments[3] = {*dates[0], *dates[1], *dates[2]};
    DISPPARAMS params{arguments, nullptr, 3, 0};
    ASSERT_EQ(sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                           nullptr, nullptr),
              S_OK);
    ASSERT_EQ(window.events.size(), 1u);
    const phone::EventArguments &received = window.events[0].arguments;
    const std::string text = runtime(*dates[0], VT_BSTR);
    EXPECT_EQ(utf8(std::get<std::u16string>(received.callingNumber)), text);
    EXPECT_EQ(utf8(std::get<std::u16string>(received.calledMSN)), text);
    EXPECT_EQ(received.callID, phone::Value(std::int32_t{46366}));
    sink->setTarget(nullptr);
}

// What the window takes a member's answer as decides what a date becomes: the count and the
// caller's identifier their day number, the pop-up switch a truth value, texts their text,
// and so does a member outside the contract.
TEST(ContractMembers, DatesBecomeWhatTheWindowTakesEachMemberAs)
{
    Variant date;
    date.get()->vt = VT_DATE;
    date.get()->date = 46364.75;
    const phone::Value text = phone::com::fromUtf8(runtime(*date, VT_BSTR));
    const struct
    {
        std::int32_t member;
        phone::Value expected;
    } cases[] = {
        {phone::dispid::ConnectionCount, std::int32_t{46365}},
        {phone::dispid::IncomingCallID, std::int32_t{46365}},
        {phone::dispid::PopUp, true},
        {phone::dispid::LatestText, text},
        {phone::dispid::ConvertNumber, text},
        {0x60030100, text},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.member);
        EXPECT_EQ(phone::com::toValue(*date, phone::takenAs(c.member)), c.expected);
    }
}

} // namespace
