// Answers conversion questions with the automation runtime's own functions (oleaut32), so
// that the bench's conversions can be compared with them case by case. One question a line on
// standard input, one answer a line on standard output, in the same order:
//
//   i4s TEXT     VarI4FromStr            bools TEXT   VarBoolFromStr
//   r8s TEXT     VarR8FromStr            i4r8 BITS    VarI4FromR8
//   bstrr8 BITS  VarBstrFromR8           bstrbool B   VarBstrFromBool (B is 0 or 1)
//   cti4 TEXT, ctbool TEXT, ctbstr BITS  VariantChangeTypeEx from text or a double to
//                                        VT_I4, VT_BOOL and VT_BSTR
//
// TEXT is UTF-16 as four hex digits a code unit ("-" for the empty text), BITS a double's 64
// bits as 16 hex digits. Each answer is "ok VALUE" (an integer, -1/0 for a truth value, TEXT or
// BITS) or "err HRESULT" in hex. Everything runs in the invariant locale with no flags.
#include "wine/oleaut/AnswerFormat.h"

#include <windows.h>

#include <oleauto.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

const LCID invariant = LOCALE_INVARIANT;

std::string failure(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "err %08lX", static_cast<unsigned long>(result));
    return text;
}

// A BSTR made from the question's text, with embedded NULs kept.
class Text
{
public:
    explicit Text(const std::wstring &text)
        : m_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {}
    ~Text() { SysFreeString(m_bstr); }
    Text(const Text &) = delete;
    Text &operator=(const Text &) = delete;
    BSTR get() const { return m_bstr; }

private:
    BSTR m_bstr;
};

std::string answerText(BSTR text)
{
    const std::string answer =
        "ok " + answers::hexOfText(std::wstring_view(text, SysStringLen(text)));
    SysFreeString(text);
    return answer;
}

std::string changed(VARIANT &source, VARTYPE type)
{
    VARIANT target;
    VariantInit(&target);
    const HRESULT result = VariantChangeTypeEx(&target, &source, invariant, 0, type);
    VariantClear(&source);
    if (FAILED(result))
        return failure(result);
    std::string answer;
    if (type == VT_I4)
        answer = "ok " + std::to_string(V_I4(&target));
    else if (type == VT_BOOL)
        answer = "ok " + std::to_string(V_BOOL(&target));
    else
        answer =
            "ok "
            + answers::hexOfText(std::wstring_view(V_BSTR(&target), SysStringLen(V_BSTR(&target))));
    VariantClear(&target);
    return answer;
}

VARIANT textVariant(const std::wstring &text)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return value;
}

// One of the runtime's VarXxxFromStr on the question's text, its result shown by `show`.
template <typename Result, typename Convert, typename Show>
std::string fromText(const std::string &argument, Convert convert, Show show)
{
    Result value{};
    const Text text(answers::textOfHex<wchar_t>(argument));
    const HRESULT result = convert(text.get(), invariant, 0, &value);
    return FAILED(result) ? failure(result) : "ok " + show(value);
}

std::string answer(const std::string &operation, const std::string &argument)
{
    const auto number = [](auto value) {
        return std::to_string(value);
    };
    if (operation == "i4s")
        return fromText<LONG>(argument, VarI4FromStr, number);
    if (operation == "bools")
        return fromText<VARIANT_BOOL>(argument, VarBoolFromStr, number);
    if (operation == "r8s")
        return fromText<double>(argument, VarR8FromStr, answers::bitsOf);
    if (operation == "i4r8") {
        LONG value = 0;
        const HRESULT result = VarI4FromR8(answers::doubleOfBits(argument), &value);
        return FAILED(result) ? failure(result) : "ok " + std::to_string(value);
    }
    if (operation == "bstrr8") {
        BSTR text = nullptr;
        const HRESULT result = VarBstrFromR8(answers::doubleOfBits(argument), invariant, 0, &text);
        return FAILED(result) ? failure(result) : answerText(text);
    }
    if (operation == "bstrbool") {
        BSTR text = nullptr;
        const HRESULT result =
            VarBstrFromBool(argument == "1" ? VARIANT_TRUE : VARIANT_FALSE, invariant, 0, &text);
        return FAILED(result) ? failure(result) : answerText(text);
    }
    if (operation == "cti4" || operation == "ctbool") {
        VARIANT source = textVariant(answers::textOfHex<wchar_t>(argument));
        return changed(source, operation == "cti4" ? VT_I4 : VT_BOOL);
    }
    if (operation == "ctbstr") {
        VARIANT source;
        VariantInit(&source);
        V_VT(&source) = VT_R8;
        V_R8(&source) = answers::doubleOfBits(argument);
        return changed(source, VT_BSTR);
    }
    return "bad question";
}

} // namespace

int main()
{
    // Answers end in "\n" alone, as the reading side expects.
    _setmode(_fileno(stdout), _O_BINARY);
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        std::string operation;
        std::string argument;
        fields >> operation >> argument;
        std::string reply;
        try {
            reply = answer(operation, argument);
        } catch (const std::exception &) {
            reply = "bad question";
        }
        std::cout << reply << '\n';
    }
    return 0;
}
