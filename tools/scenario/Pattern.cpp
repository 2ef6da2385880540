#include "tools/scenario/Pattern.h"

namespace scenario {

namespace {

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Code points; a lone surrogate stays a character of its own.
std::u32string codePoints(std::u16string_view text)
{
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            points.push_back(0x10000 + ((char32_t(unit) - 0xD800) << 10)
                             + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else {
            points.push_back(unit);
        }
    }
    return points;
}

} // namespace

Pattern::Pattern(std::u16string_view text)
    : m_text(text)
{
    const std::u32string points = codePoints(text);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const char32_t point = points[i];
        if (point == U'\\' && i + 1 < points.size()
            && (points[i + 1] == U'*' || points[i + 1] == U'?' || points[i + 1] == U'\\')) {
            m_kinds.push_back(Kind::Literal);
            m_literals.push_back(points[++i]);
        } else if (point == U'*') {
            m_kinds.push_back(Kind::AnyText);
            m_literals.push_back(0);
        } else if (point == U'?') {
            m_kinds.push_back(Kind::AnyOne);
            m_literals.push_back(0);
        } else {
            m_kinds.push_back(Kind::Literal);
            m_literals.push_back(point);
        }
    }
}

bool Pattern::matches(std::u16string_view text) const
{
    // Greedy with one step back to the last `*`: no recursion, at most length × length steps.
    const std::u32string subject = codePoints(text);
    std::size_t p = 0, s = 0;
    std::size_t starP = std::u32string::npos, starS = 0;
    while (s < subject.size()) {
        if (p < m_kinds.size()
            && (m_kinds[p] == Kind::AnyOne
                || (m_kinds[p] == Kind::Literal && m_literals[p] == subject[s]))) {
            ++p;
            ++s;
        } else if (p < m_kinds.size() && m_kinds[p] == Kind::AnyText) {
            starP = p++;
            starS = s;
        } else if (starP != std::u32string::npos) {
            p = starP + 1;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (p < m_kinds.size() && m_kinds[p] == Kind::AnyText)
        ++p;
    return p == m_kinds.size();
}

} // namespace scenario
