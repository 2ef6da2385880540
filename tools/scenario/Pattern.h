#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// A line or value as a script expects it: the whole text must match, `*` standing for any
// text and `?` for one character; `\*`, `\?` and `\\` stand for themselves, and a backslash
// before anything else is itself. Characters are code points, so `?` takes an umlaut or an
// emoji whole.
class Pattern
{
public:
    explicit Pattern(std::u16string_view text);

    bool matches(std::u16string_view text) const;
    // As written in the script, unescaped by the literal once.
    const std::u16string &text() const { return m_text; }

private:
    enum class Kind : char { Literal, AnyOne, AnyText };

    std::u16string m_text;
    std::vector<Kind> m_kinds;
    std::u32string m_literals; // beside each piece: its character, where it is a Literal
};

} // namespace scenario
