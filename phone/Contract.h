#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the bench expects of the installed control, against what its type information says:
// members at their dispatch identifiers with their kind and arguments, and the events it
// handles with theirs.
namespace phone::contract {

// How a member is reached.
enum class Access { Get, Put, Method };

// An argument as declared: its automation type (a VARENUM number, VT_BYREF left out) and
// whether it is passed by reference.
struct Parameter
{
    std::uint16_t type = 0;
    bool byReference = false;

    bool operator==(const Parameter &) const = default;
};

struct Function
{
    std::int32_t id = 0;
    std::string name; // UTF-8
    Access access = Access::Method;
    std::vector<Parameter> parameters;
};

// What a control's type information declares.
struct Description
{
    std::vector<Function> members;
    std::vector<Function> events;
};

// The automation types the contract names (VARENUM).
namespace vt {
inline constexpr std::uint16_t I2 = 2;
inline constexpr std::uint16_t I4 = 3;
inline constexpr std::uint16_t BSTR = 8;
inline constexpr std::uint16_t BOOL = 11;
inline constexpr std::uint16_t VARIANT = 12;
} // namespace vt

// A type as the IDL writes it ("long", "BSTR", "VARIANT_BOOL"), with " *" for by reference.
std::string typeName(const Parameter &parameter);

struct Line
{
    enum class Verdict { Ok, Differs, Beyond };
    Verdict verdict;
    std::string text; // "Dial 0x6003000A Methode (BSTR): ok"
};

// One line for each member and event of the contract, in its order, then one for each the
// control has beyond it.
struct Finding
{
    std::vector<Line> lines;

    // No member or event of the contract differs; members beyond it are allowed.
    bool matches() const;
    // The lines that differ, joined with "; ".
    std::string differences() const;
};

Finding check(const Description &installed);

// A finding as one text, and back, for the way from the control host to the bench. A text
// that is no finding gives an empty one.
std::u16string encode(const Finding &finding);
Finding decodeFinding(std::u16string_view text);

} // namespace phone::contract
