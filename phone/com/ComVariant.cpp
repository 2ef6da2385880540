#include "phone/com/ComVariant.h"

#include "phone/Error.h"
#include "phone/com/ComError.h"
#include "phone/com/ComText.h"

#include <type_traits>

namespace phone::com {

namespace {

// An object whose default member returns itself would otherwise never end.
constexpr int maximumDefaultDepth = 8;

Value objectDefault(IDispatch *object, Taken taken, int depth);
Value plainValue(const VARIANT &source, Taken taken, int depth);

// A conversion's failure as the runtime's own error, as the bench's own conversions raise it.
void checkConversion(HRESULT result)
{
    if (result == DISP_E_OVERFLOW)
        throw Error(ErrorKind::Overflow);
    if (result == DISP_E_TYPEMISMATCH)
        throw Error(ErrorKind::Type);
    check(result);
}

// A date converts straight to what the window takes: as an integer its day number (rounded
// as a double is), as a truth value whether it differs from 30 December 1899 at midnight, as
// text the user's own short date and time, as the platform shows a date.
Value dateValue(const VARIANT &source, Taken taken, int depth)
{
    const VARTYPE type = taken == Taken::Int32 ? VT_I4 : taken == Taken::Bool ? VT_BOOL : VT_BSTR;
    Variant converted;
    checkConversion(VariantChangeTypeEx(converted.get(), const_cast<VARIANT *>(&source),
                                        LOCALE_USER_DEFAULT, 0, type));
    return plainValue(*converted, taken, depth);
}

Value plainValue(const VARIANT &source, Taken taken, int depth)
{
    switch (source.vt) {
    case VT_EMPTY:
        return Empty{};
    case VT_NULL:
        return Null{};
    case VT_BOOL:
        return source.boolVal != VARIANT_FALSE;
    case VT_I2:
        return std::int16_t{source.iVal};
    case VT_I4:
        return std::int32_t{source.lVal};
    case VT_R8:
        return source.dblVal;
    case VT_BSTR:
        return fromBstr(source.bstrVal);
    case VT_I1:
        return std::int16_t{source.cVal};
    case VT_UI1:
        return std::int16_t{source.bVal};
    case VT_UI2:
        return std::int32_t{source.uiVal};
    case VT_INT:
        return std::int32_t{source.intVal};
    case VT_DISPATCH:
        return objectDefault(source.pdispVal, taken, depth);
    case VT_R4:
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_CY:
    case VT_DECIMAL: {
        // No counterpart among the bench's values: taken as the runtime's own text of it
        // (a float's seven digits, a 64-bit integer's or a decimal's every digit), from which
        // the runtime's reading gives the same integer and truth value as its direct ones.
        Variant text;
        check(VariantChangeTypeEx(text.get(), const_cast<VARIANT *>(&source), LOCALE_INVARIANT, 0,
                                  VT_BSTR));
        return fromBstr((*text).bstrVal);
    }
    case VT_DATE:
        return dateValue(source, taken, depth);
    default:
        throw Error(ErrorKind::Type);
    }
}

Value readValue(const VARIANT &source, Taken taken, int depth)
{
    if (!(source.vt & VT_BYREF))
        return plainValue(source, taken, depth);
    Variant copy;
    check(VariantCopyInd(copy.get(), const_cast<VARIANT *>(&source)));
    return plainValue(*copy, taken, depth);
}

Value objectDefault(IDispatch *object, Taken taken, int depth)
{
    if (!object)
        throw Error(ErrorKind::Type);
    if (depth >= maximumDefaultDepth)
        throw Error(ErrorKind::Type);
    DISPPARAMS none{};
    Variant result;
    EXCEPINFO info{};
    const HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_PROPERTYGET, &none, result.get(), &info, nullptr);
    if (hr == DISP_E_EXCEPTION)
        throwException(info);
    check(hr);
    return readValue(*result, taken, depth + 1);
}

// Points a by-reference argument at the copy's value.
void referTo(VARIANT &argument, VARIANT &copy)
{
    switch (copy.vt) {
    case VT_BOOL:
        argument.pboolVal = &copy.boolVal;
        break;
    case VT_I2:
        argument.piVal = &copy.iVal;
        break;
    case VT_I4:
        argument.plVal = &copy.lVal;
        break;
    case VT_R8:
        argument.pdblVal = &copy.dblVal;
        break;
    case VT_BSTR:
        argument.pbstrVal = &copy.bstrVal;
        break;
    default:
        // Empty and Null have no payload: the argument refers to the whole VARIANT.
        argument.vt = VT_BYREF | VT_VARIANT;
        argument.pvarVal = &copy;
        return;
    }
    argument.vt = VT_BYREF | copy.vt;
}

} // namespace

void assign(VARIANT &target, const Value &value)
{
    std::visit(
        [&target](const auto &v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Empty>) {
                target.vt = VT_EMPTY;
            } else if constexpr (std::is_same_v<T, Null>) {
                target.vt = VT_NULL;
            } else if constexpr (std::is_same_v<T, bool>) {
                target.vt = VT_BOOL;
                target.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                target.vt = VT_I2;
                target.iVal = v;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                target.vt = VT_I4;
                target.lVal = v;
            } else if constexpr (std::is_same_v<T, double>) {
                target.vt = VT_R8;
                target.dblVal = v;
            } else {
                static_assert(std::is_same_v<T, std::u16string>);
                target.bstrVal = toBstr(v);
                target.vt = VT_BSTR;
            }
        },
        value);
}

Value toValue(const VARIANT &source, Taken taken)
{
    return readValue(source, taken, 0);
}

CallArguments::CallArguments(std::span<const Argument> arguments)
{
    fill(arguments);
}

CallArguments::CallArguments(const Value &propertyValue)
{
    const Argument argument{propertyValue};
    fill(std::span<const Argument>(&argument, 1));
    m_params.cNamedArgs = 1;
    m_params.rgdispidNamedArgs = &m_propertyPut;
}

void CallArguments::fill(std::span<const Argument> arguments)
{
    const std::size_t count = arguments.size();
    m_copies = std::make_unique<Variant[]>(count);
    m_arguments = std::make_unique<Variant[]>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Argument &argument = arguments[i];
        VARIANT &slot = *m_arguments[count - 1 - i].get();
        if (argument.byRef) {
            VARIANT &copy = *m_copies[i].get();
            assign(copy, argument.value);
            referTo(slot, copy);
        } else {
            assign(slot, argument.value);
        }
    }
    // Variant is exactly one VARIANT, so the array is what DISPPARAMS expects.
    static_assert(sizeof(Variant) == sizeof(VARIANT));
    m_params.rgvarg = count ? m_arguments[0].get() : nullptr;
    m_params.cArgs = static_cast<UINT>(count);
}

} // namespace phone::com
