#pragma once

#include "phone/Dispatch.h"
#include "phone/Members.h"
#include "phone/Value.h"

#include <windows.h>

#include <oaidl.h>

#include <cstddef>
#include <memory>
#include <span>

namespace phone::com {

// Owns one VARIANT and clears it (freeing text and releasing objects) on every path.
class Variant
{
public:
    Variant() { VariantInit(&m_variant); }
    ~Variant() { VariantClear(&m_variant); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;

    VARIANT *get() { return &m_variant; }
    const VARIANT &operator*() const { return m_variant; }

private:
    VARIANT m_variant;
};

// Writes the value into a cleared VARIANT; text becomes a BSTR the VARIANT owns.
void assign(VARIANT &target, const Value &value);

// Reads a VARIANT, by reference or not, as the bench takes automation values. An object is
// read through its default member, as a text field hands over its text. A date, which has no
// counterpart, is converted to what the window takes it as. Types without a counterpart
// (arrays, plain interfaces, error codes) throw ErrorKind::Type.
Value toValue(const VARIANT &source, Taken taken);

// The DISPPARAMS of one call, arguments in reverse order as IDispatch::Invoke wants them. A
// by-reference argument points at a copy owned here: whatever the control writes into it
// is freed with the copy and never reaches the caller.
class CallArguments
{
public:
    explicit CallArguments(std::span<const Argument> arguments);
    // The single value of a property write, named DISPID_PROPERTYPUT.
    explicit CallArguments(const Value &propertyValue);
    CallArguments(const CallArguments &) = delete;
    CallArguments &operator=(const CallArguments &) = delete;

    DISPPARAMS *params() { return &m_params; }

private:
    void fill(std::span<const Argument> arguments);

    std::unique_ptr<Variant[]> m_copies;
    std::unique_ptr<Variant[]> m_arguments;
    DISPID m_propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS m_params{};
};

} // namespace phone::com
