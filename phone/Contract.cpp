#include "phone/Contract.h"

#include "phone/Members.h"
#include "phone/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

namespace phone::contract {

namespace {

// An argument the contract asks for: the types a control may declare for it so that what the
// bench passes reaches it unchanged, the first of them as the contract names it.
struct Expected
{
    std::vector<std::uint16_t> types;
    bool byReference;
};

const Expected text{{vt::BSTR, vt::VARIANT}, false};
const Expected int32{{vt::I4, vt::VARIANT}, false};
const Expected int32ByReference{{vt::I4, vt::VARIANT}, true};
// Written as a 16-bit integer; a control made with Visual Basic declares a truth value.
const Expected truth{{vt::I2, vt::BOOL, vt::I4, vt::VARIANT}, false};
const Expected textByReference{{vt::BSTR, vt::VARIANT}, true};

struct Member
{
    std::string_view name;
    std::int32_t id;
    Access access;
    std::vector<Expected> parameters;
};

const std::vector<Member> &contractMembers()
{
    static const std::vector<Member> members{
        {"PopUp", dispid::PopUp, Access::Get, {}},
        {"PopUp", dispid::PopUp, Access::Put, {truth}},
        {"ConnectionCount", dispid::ConnectionCount, Access::Get, {}},
        {"IncomingCallID", dispid::IncomingCallID, Access::Get, {}},
        {"LatestText", dispid::LatestText, Access::Get, {}},
        {"Dial", dispid::Dial, Access::Method, {text}},
        {"SendShortMessage", dispid::SendShortMessage, Access::Method, {text, text}},
        {"SendDTMF", dispid::SendDTMF, Access::Method, {int32ByReference, text}},
        {"AcceptCall", dispid::AcceptCall, Access::Method, {int32ByReference}},
        {"HangUp", dispid::HangUp, Access::Method, {int32}},
        {"ConvertNumber", dispid::ConvertNumber, Access::Method, {text}},
    };
    return members;
}

// Every handled event carries CallingNumber, CalledMSN and CallID, by reference.
const std::vector<Expected> eventParameters{textByReference, textByReference, int32ByReference};

std::string accessName(Access access)
{
    switch (access) {
    case Access::Get:
        return "Eigenschaft lesen";
    case Access::Put:
        return "Eigenschaft schreiben";
    case Access::Method:
        break;
    }
    return "Methode";
}

std::string hex(std::int32_t id)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(id));
    return text;
}

std::string list(const std::vector<Parameter> &parameters)
{
    std::string text = "(";
    for (std::size_t i = 0; i < parameters.size(); ++i)
        text += (i ? ", " : "") + typeName(parameters[i]);
    return text + ")";
}

std::string list(const std::vector<Expected> &parameters)
{
    std::vector<Parameter> named;
    for (const Expected &expected : parameters)
        named.push_back({expected.types.front(), expected.byReference});
    return list(named);
}

bool fits(const std::vector<Parameter> &declared, const std::vector<Expected> &expected)
{
    return declared.size() == expected.size()
           && std::equal(declared.begin(), declared.end(), expected.begin(),
                         [](const Parameter &parameter, const Expected &wanted) {
                             return parameter.byReference == wanted.byReference
                                    && std::find(wanted.types.begin(), wanted.types.end(),
                                                 parameter.type)
                                           != wanted.types.end();
                         });
}

std::string joined(const std::vector<std::string> &parts, std::string_view separator)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : std::string(separator)) + part;
    return text;
}

// What differs between a function the contract names and the control's functions of that
// name; empty when nothing does.
std::string difference(const std::vector<const Function *> &named, Access access,
                       std::optional<std::int32_t> id, const std::vector<Expected> &parameters)
{
    if (named.empty())
        return "fehlt";
    const auto same = std::find_if(named.begin(), named.end(),
                                   [access](const Function *f) { return f->access == access; });
    if (same == named.end()) {
        std::vector<std::string> kinds;
        for (const Function *function : named)
            kinds.push_back(accessName(function->access));
        return "andere Art: " + joined(kinds, ", ");
    }
    std::vector<std::string> differences;
    if (id && (*same)->id != *id)
        differences.push_back("andere ID " + hex((*same)->id));
    if (!fits((*same)->parameters, parameters))
        differences.push_back("andere Argumente " + list((*same)->parameters));
    return joined(differences, ", ");
}

std::vector<const Function *> named(const std::vector<Function> &functions, std::string_view name)
{
    std::vector<const Function *> found;
    for (const Function &function : functions) {
        if (function.name == name)
            found.push_back(&function);
    }
    return found;
}

Line judged(std::string description, const std::string &difference)
{
    if (difference.empty())
        return {Line::Verdict::Ok, description + ": ok"};
    return {Line::Verdict::Differs, description + ": " + difference};
}

bool inContract(const Function &function)
{
    return std::any_of(contractMembers().begin(), contractMembers().end(),
                       [&function](const Member &member) {
                           return member.name == function.name && member.access == function.access;
                       });
}

bool handled(const Function &event)
{
    return std::find(handledEvents.begin(), handledEvents.end(), event.name) != handledEvents.end();
}

} // namespace

std::string typeName(const Parameter &parameter)
{
    static const std::pair<std::uint16_t, const char *> names[] = {
        {2, "short"},
        {3, "long"},
        {4, "float"},
        {5, "double"},
        {6, "CURRENCY"},
        {7, "DATE"},
        {8, "BSTR"},
        {9, "IDispatch *"},
        {10, "SCODE"},
        {11, "VARIANT_BOOL"},
        {12, "VARIANT"},
        {13, "IUnknown *"},
        {14, "DECIMAL"},
        {16, "char"},
        {17, "unsigned char"},
        {18, "unsigned short"},
        {19, "unsigned long"},
        {20, "hyper"},
        {21, "unsigned hyper"},
        {22, "int"},
        {23, "unsigned int"},
        {24, "void"},
        {25, "HRESULT"},
    };
    std::string name = "VT " + std::to_string(parameter.type);
    for (const auto &[type, known] : names) {
        if (type == parameter.type)
            name = known;
    }
    return parameter.byReference ? name + " *" : name;
}

bool Finding::matches() const
{
    return std::none_of(lines.begin(), lines.end(),
                        [](const Line &line) { return line.verdict == Line::Verdict::Differs; });
}

std::string Finding::differences() const
{
    std::vector<std::string> differing;
    for (const Line &line : lines) {
        if (line.verdict == Line::Verdict::Differs)
            differing.push_back(line.text);
    }
    return joined(differing, "; ");
}

Finding check(const Description &installed)
{
    Finding finding;
    for (const Member &member : contractMembers()) {
        finding.lines.push_back(judged(std::string(member.name) + ' ' + hex(member.id) + ' '
                                           + accessName(member.access) + ' '
                                           + list(member.parameters),
                                       difference(named(installed.members, member.name),
                                                  member.access, member.id, member.parameters)));
    }
    for (std::string_view event : handledEvents) {
        finding.lines.push_back(judged(std::string(event) + " Ereignis " + list(eventParameters),
                                       difference(named(installed.events, event), Access::Method,
                                                  std::nullopt, eventParameters)));
    }
    for (const Function &member : installed.members) {
        if (!inContract(member))
            finding.lines.push_back({Line::Verdict::Beyond, member.name + ' ' + hex(member.id) + ' '
                                                                + accessName(member.access) + ' '
                                                                + list(member.parameters)
                                                                + ": über den Vertrag hinaus"});
    }
    for (const Function &event : installed.events) {
        if (!handled(event))
            finding.lines.push_back(
                {Line::Verdict::Beyond,
                 event.name + " Ereignis " + list(event.parameters) + ": über den Vertrag hinaus"});
    }
    return finding;
}

namespace {

constexpr Line::Verdict verdicts[] = {Line::Verdict::Ok, Line::Verdict::Differs,
                                      Line::Verdict::Beyond};

constexpr char16_t verdictMark(Line::Verdict verdict)
{
    switch (verdict) {
    case Line::Verdict::Ok:
        return u'=';
    case Line::Verdict::Differs:
        return u'!';
    case Line::Verdict::Beyond:
        break;
    }
    return u'+';
}

} // namespace

std::u16string encode(const Finding &finding)
{
    std::u16string text;
    for (const Line &line : finding.lines)
        text += verdictMark(line.verdict) + fromUtf8(line.text) + u'\n';
    return text;
}

Finding decodeFinding(std::u16string_view text)
{
    Finding finding;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(u'\n'), text.size());
        const std::u16string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty())
            continue;
        const auto verdict = std::find_if(
            std::begin(verdicts), std::end(verdicts),
            [&line](Line::Verdict candidate) { return verdictMark(candidate) == line.front(); });
        if (verdict == std::end(verdicts))
            return {};
        finding.lines.push_back({*verdict, toUtf8(line.substr(1))});
    }
    return finding;
}

} // namespace phone::contract
