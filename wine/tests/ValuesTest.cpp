// Every value type a control may answer through COM, taken by the adapter as the automation
// runtime takes it: the bench's integer, truth value and text of what the adapter makes of
// it must be oleaut32's own VariantChangeTypeEx to VT_I4, VT_BOOL and VT_BSTR of the VARIANT.

#include "phone/Error.h"
#include "phone/Value.h"
#include "phone/com/ComVariant.h"

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

std::string runtime(const VARIANT &source, VARTYPE type)
{
    Variant target;
    // VARIANT_ALPHABOOL: a truth value as its word, as the bench writes it.
    const HRESULT result = VariantChangeTypeEx(target.get(), const_cast<VARIANT *>(&source),
                                               LOCALE_INVARIANT, VARIANT_ALPHABOOL, type);
    if (FAILED(result))
        return failureOf(result);
    if (type == VT_I4)
        return std::to_string((*target).lVal);
    if (type == VT_BOOL)
        return (*target).boolVal ? "true" : "false";
    const BSTR text = (*target).bstrVal;
    return utf8(std::u16string(reinterpret_cast<const char16_t *>(text), SysStringLen(text)));
}

std::string bench(const VARIANT &source, VARTYPE type)
{
    try {
        const phone::Value value = phone::com::toValue(source);
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
class DefaultValue final : public IDispatch
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
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
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
    {"Empty",
     [](VARIANT &v) {
         v.vt = VT_EMPTY;
     }},
    {"I1Min",
     [](VARIANT &v) {
         v.vt = VT_I1;
         v.cVal = -128;
     }},
    {"UI1Max",
     [](VARIANT &v) {
         v.vt = VT_UI1;
         v.bVal = 255;
     }},
    {"UI2Max",
     [](VARIANT &v) {
         v.vt = VT_UI2;
         v.uiVal = 65535;
     }},
    {"IntNegative",
     [](VARIANT &v) {
         v.vt = VT_INT;
         v.intVal = -7;
     }},
    {"UintMax",
     [](VARIANT &v) {
         v.vt = VT_UINT;
         v.uintVal = 4294967295u;
     },
     "-1"},
    {"UintSmall",
     [](VARIANT &v) {
         v.vt = VT_UINT;
         v.uintVal = 7;
     }},
    {"UI4AboveInt32",
     [](VARIANT &v) {
         v.vt = VT_UI4;
         v.ulVal = 2147483648u;
     },
     "-2147483648"},
    {"UI4Small",
     [](VARIANT &v) {
         v.vt = VT_UI4;
         v.ulVal = 5;
     }},
    {"I8Large",
     [](VARIANT &v) {
         v.vt = VT_I8;
         v.llVal = 123456789012345678LL;
     }},
    {"I8BelowInt32",
     [](VARIANT &v) {
         v.vt = VT_I8;
         v.llVal = -2147483649LL;
     }},
    {"I8Int32Max",
     [](VARIANT &v) {
         v.vt = VT_I8;
         v.llVal = 2147483647LL;
     }},
    {"UI8Max",
     [](VARIANT &v) {
         v.vt = VT_UI8;
         v.ullVal = 18446744073709551615ULL;
     }},
    {"UI8Small",
     [](VARIANT &v) {
         v.vt = VT_UI8;
         v.ullVal = 5;
     }},
    {"R4Tenth",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = 0.1f;
     }},
    {"R4HalfToEven",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = 2.5f;
     }},
    {"R4HalfUp",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = 3.5f;
     }},
    {"R4MinusZero",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = -0.0f;
     }},
    {"R4Large",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = 1e20f;
     }},
    {"R4Max",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = 3.4028235e38f;
     }},
    {"R4Tiny",
     [](VARIANT &v) {
         v.vt = VT_R4;
         v.fltVal = 1.17549435e-38f;
     }},
    {"R8SumOfTenths",
     [](VARIANT &v) {
         v.vt = VT_R8;
         v.dblVal = 0.1 + 0.2;
     }},
    {"R8Large",
     [](VARIANT &v) {
         v.vt = VT_R8;
         v.dblVal = 1e21;
     }},
    {"CyHalf",
     [](VARIANT &v) {
         v.vt = VT_CY;
         v.cyVal = currency(25000);
     }},
    {"CyFraction",
     [](VARIANT &v) {
         v.vt = VT_CY;
         v.cyVal = currency(-12346);
     }},
    {"CyMax",
     [](VARIANT &v) {
         v.vt = VT_CY;
         v.cyVal = currency(std::numeric_limits<LONGLONG>::max());
     }},
    {"DecimalHalf",
     [](VARIANT &v) {
         v.decVal = decimal(L"0.5");
         v.vt = VT_DECIMAL;
     }},
    {"DecimalOneAndAHalf",
     [](VARIANT &v) {
         v.decVal = decimal(L"1.5");
         v.vt = VT_DECIMAL;
     }},
    {"DecimalManyDigits",
     [](VARIANT &v) {
         v.decVal = decimal(L"12345678901234567890.123");
         v.vt = VT_DECIMAL;
     }},
    {"DecimalMax",
     [](VARIANT &v) {
         v.decVal = decimal(L"79228162514264337593543950335");
         v.vt = VT_DECIMAL;
     }},
    {"BoolTrue",
     [](VARIANT &v) {
         v.vt = VT_BOOL;
         v.boolVal = VARIANT_TRUE;
     }},
    {"BoolFalse",
     [](VARIANT &v) {
         v.vt = VT_BOOL;
         v.boolVal = VARIANT_FALSE;
     }},
    {"TextNumber",
     [](VARIANT &v) {
         v.vt = VT_BSTR;
         v.bstrVal = SysAllocString(L"&HFFFF");
     }},
    {"TextWord",
     [](VARIANT &v) {
         v.vt = VT_BSTR;
         v.bstrVal = SysAllocString(L"tRUE");
     }},
    {"ErrorCode",
     [](VARIANT &v) {
         v.vt = VT_ERROR;
         v.scode = DISP_E_PARAMNOTFOUND;
     }},
    {"Unknown",
     [](VARIANT &v) {
         v.vt = VT_UNKNOWN;
         v.punkVal = &defaultValue;
         defaultValue.AddRef();
     }},
    {"Array",
     [](VARIANT &v) {
         v.vt = VT_ARRAY | VT_I4;
         v.parray = SafeArrayCreateVector(VT_I4, 0, 2);
     }},
    {"ObjectWithDefault",
     [](VARIANT &v) {
         v.vt = VT_DISPATCH;
         v.pdispVal = &defaultValue;
         defaultValue.AddRef();
     }},
    {"ByRefI4",
     [](VARIANT &v) {
         v.vt = VT_BYREF | VT_I4;
         v.plVal = &byRefLong;
     }},
    {"ByRefR4",
     [](VARIANT &v) {
         v.vt = VT_BYREF | VT_R4;
         v.pfltVal = &byRefFloat;
     }},
    {"ByRefI8",
     [](VARIANT &v) {
         v.vt = VT_BYREF | VT_I8;
         v.pllVal = &byRefI8;
     }},
};

class ValueType : public testing::TestWithParam<TypedValue>
{
};

TEST_P(ValueType, IsTakenAsTheRuntimeTakesIt)
{
    Variant source;
    GetParam().make(*source.get());
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

} // namespace
