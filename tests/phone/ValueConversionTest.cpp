#include "phone/Error.h"
#include "phone/NumberText.h"
#include "phone/Value.h"

#include <gtest/gtest.h>

#include <charconv>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

using namespace std::string_literals;
using phone::ErrorKind;
using phone::Value;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

Value text(std::u16string s)
{
    return Value{std::move(s)};
}
Value i16(std::int16_t v)
{
    return Value{v};
}
Value i32(std::int32_t v)
{
    return Value{v};
}

template <typename T>
using Outcome = std::variant<T, ErrorKind>;

template <typename F>
auto outcomeOf(F convert) -> Outcome<decltype(convert())>
{
    try {
        return convert();
    } catch (const phone::Error &error) {
        return error.kind();
    }
}

template <typename T>
struct Case
{
    const char *name;
    Value input;
    Outcome<T> expected;
    friend void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }
};

template <typename T>
std::string caseName(const testing::TestParamInfo<Case<T>> &info)
{
    return info.param.name;
}

// --- to a 32-bit integer ---------------------------------------------------------------------

class ToInt32 : public testing::TestWithParam<Case<std::int32_t>>
{
};

TEST_P(ToInt32, Converts)
{
    EXPECT_EQ(outcomeOf([&] { return phone::toInt32(GetParam().input); }), GetParam().expected);
}

const std::u16string fourHundredZeros(400, u'0');

const std::vector<Case<std::int32_t>> int32Cases = {
    {"Int16Min", i16(-32768), -32768},
    {"Int32Max", i32(2147483647), 2147483647},
    {"Int32Min", i32(-2147483647 - 1), -2147483647 - 1},
    {"TrueIsMinusOne", Value{true}, -1},
    {"FalseIsZero", Value{false}, 0},
    {"EmptyIsZero", Value{phone::Empty{}}, 0},
    {"NullIsNullError", Value{phone::Null{}}, ErrorKind::Null},
    // half to even
    {"HalfRoundsDownToEven", Value{2.5}, 2},
    {"HalfRoundsUpToEven", Value{3.5}, 4},
    {"NegativeHalfToEven", Value{-2.5}, -2},
    {"ZeroPointFiveIsZero", Value{0.5}, 0},
    {"OnePointFiveIsTwo", Value{1.5}, 2},
    {"MinusZeroPointFiveIsZero", Value{-0.5}, 0},
    {"MinusOnePointFiveIsMinusTwo", Value{-1.5}, -2},
    {"JustBelowHalfRoundsDown", Value{2.4999999999999996}, 2},
    {"JustAboveHalfRoundsUp", Value{2.5000000000000004}, 3},
    {"TinyIsZero", Value{1e-300}, 0},
    // range edges
    {"MaxPlusFractionBelowHalf", Value{2147483647.4}, 2147483647},
    {"MaxPlusHalfRoundsOut", Value{2147483647.5}, ErrorKind::Overflow},
    {"BelowMaxHalfToEven", Value{2147483646.5}, 2147483646},
    {"MinMinusHalfRoundsToMin", Value{-2147483648.5}, -2147483647 - 1},
    {"MinMinusMoreThanHalf", Value{-2147483648.6}, ErrorKind::Overflow},
    {"MinMinusOne", Value{-2147483649.0}, ErrorKind::Overflow},
    {"AboveMinHalfToEven", Value{-2147483647.5}, -2147483647 - 1},
    {"HugeDouble", Value{1e300}, ErrorKind::Overflow},
    {"NaN", Value{nan}, ErrorKind::Overflow},
    {"PlusInfinity", Value{inf}, ErrorKind::Overflow},
    {"MinusInfinity", Value{-inf}, ErrorKind::Overflow},
    // decimal text
    {"TextHalfToEven", text(u"2.5"), 2},
    {"TextWithBlanks", text(u" 3.5 "), 4},
    {"TextTabsAndLineBreaks", text(u"\t42\r\n"), 42},
    {"TextGroupSeparator", text(u"1,000"), 1000},
    {"TextSeveralGroups", text(u"1,234,567.5"), 1234568},
    {"TextCommaIsNoDecimalPoint", text(u"1,5"), 15},
    {"TextExponent", text(u"1e3"), 1000},
    {"TextExponentUpperWithSign", text(u"1E+3"), 1000},
    {"TextNegativeExponent", text(u"25e-1"), 2},
    {"TextNegative", text(u"-7"), -7},
    {"TextPlusSign", text(u"+7"), 7},
    {"TextLeadingZeros", text(u"0042"), 42},
    {"TextOnlyFraction", text(u".5"), 0},
    {"TextTrailingPoint", text(u"5."), 5},
    {"TextSignedFractionWithExponent", text(u"-.5e1"), -5},
    {"TextInt32Min", text(u"-2147483648"), -2147483647 - 1},
    {"TextMaxPlusHalf", text(u"2147483647.5"), ErrorKind::Overflow},
    {"TextTooLargeForInt32", text(u"99999999999"), ErrorKind::Overflow},
    {"TextTooLargeForDouble", text(u"1e400"), ErrorKind::Overflow},
    {"TextTooLargeNegative", text(u"-1e400"), ErrorKind::Overflow},
    {"TextHugeExponent", text(u"1e99999999999999999999"), ErrorKind::Overflow},
    {"TextManyDigitsNegativeExponent", text(u"1" + fourHundredZeros + u"e-10"),
     ErrorKind::Overflow},
    {"TextTooSmallForDoubleIsZero", text(u"1e-400"), 0},
    {"TextHugeNegativeExponentIsZero", text(u"-1e-99999999999999999999"), 0},
    {"TextLongFractionIsZero", text(u"0." + fourHundredZeros + u"1e-10"), 0},
    // hexadecimal and octal text
    {"HexByte", text(u"&HFF"), 255},
    {"HexLowerCase", text(u"&hff"), 255},
    {"HexWithBlanks", text(u" &HFF "), 255},
    {"Hex16BitMax", text(u"&H7FFF"), 32767},
    {"HexSixteenBitSignBitStaysPositive", text(u"&H8000"), 32768},
    {"HexSixteenBitAllOnesStaysPositive", text(u"&HFFFF"), 65535},
    {"HexAbove16Bit", text(u"&H10000"), 65536},
    {"Hex32BitMax", text(u"&H7FFFFFFF"), 2147483647},
    {"Hex32BitSignBit", text(u"&H80000000"), -2147483647 - 1},
    {"Hex32BitAllOnes", text(u"&HFFFFFFFF"), -1},
    {"HexLeadingZeros", text(u"&H0000FFFF"), 65535},
    {"HexLeadingZerosBeyondEight", text(u"&H00000000FF"), 255},
    {"HexAbove32Bit", text(u"&H100000000"), ErrorKind::Overflow},
    {"Octal", text(u"&O17"), 15},
    {"OctalLowerCase", text(u"&o777"), 511},
    {"OctalSixteenBitAllOnesStaysPositive", text(u"&O177777"), 65535},
    {"OctalAbove16Bit", text(u"&O200000"), 65536},
    {"Octal32BitAllOnes", text(u"&O37777777777"), -1},
    {"OctalAbove32Bit", text(u"&O40000000000"), ErrorKind::Overflow},
    // text that is no number
    {"EmptyText", text(u""), ErrorKind::Type},
    {"OnlyBlanks", text(u"   "), ErrorKind::Type},
    {"Letters", text(u"abc"), ErrorKind::Type},
    {"DigitsThenLetters", text(u"12abc"), ErrorKind::Type},
    {"CStyleHex", text(u"0x10"), ErrorKind::Type},
    {"TwoPoints", text(u"1..2"), ErrorKind::Type},
    {"TwoMinus", text(u"--1"), ErrorKind::Type},
    {"PlusThenMinus", text(u"+-1"), -1},
    {"BlankAfterSign", text(u"- 1"), -1},
    {"BlankInside", text(u"1 2"), ErrorKind::Type},
    {"LeadingComma", text(u",5"), ErrorKind::Type},
    {"TrailingComma", text(u"1,"), 1},
    {"DoubleComma", text(u"1,,000"), 1000},
    {"CommaInFractionIsSkipped", text(u"1.000,5"), 1},
    {"OnlyExponent", text(u"e5"), ErrorKind::Type},
    {"ExponentWithoutDigits", text(u"1e"), ErrorKind::Type},
    {"ExponentSignWithoutDigits", text(u"1e+"), ErrorKind::Type},
    {"OnlyPoint", text(u"."), ErrorKind::Type},
    {"OnlySign", text(u"-"), ErrorKind::Type},
    {"InfinityWord", text(u"inf"), ErrorKind::Type},
    {"NaNWord", text(u"nan"), ErrorKind::Type},
    {"HexWithoutDigits", text(u"&H"), ErrorKind::Type},
    {"HexBadDigit", text(u"&HG"), ErrorKind::Type},
    {"HexBadDigitAfterOverflow", text(u"&H123456789G"), ErrorKind::Type},
    {"HexIgnoresItsSign", text(u"-&HFF"), 255},
    {"HexWithTypeSuffix", text(u"&HFF&"), ErrorKind::Type},
    {"OctalBadDigit", text(u"&O8"), ErrorKind::Type},
    {"AmpersandOnly", text(u"&"), ErrorKind::Type},
    {"EmbeddedNulEndsTheText", text(u"5\0x"s), 5},
    {"OnlyNul", text(u"\0"s), ErrorKind::Type},
    {"NoBreakSpaceIsABlank", text(u"\u00A05"), 5},
    {"TrailingMinus", text(u"5-"), -5},
    {"Parentheses", text(u"(5)"), -5},
    {"OpenParenthesisAlone", text(u"(5"), ErrorKind::Type},
    {"CurrencySign", text(u"\u00A4 5"), 5},
    {"DollarIsNoCurrencyHere", text(u"$5"), ErrorKind::Type},
    {"FractionBelowATenthIsZero", text(u"0.06"), 0},
    {"FractionAboveAHalf", text(u"0.6"), 1},
    {"FullwidthDigit", text(u"\uFF15"), ErrorKind::Type},
};

INSTANTIATE_TEST_SUITE_P(Table, ToInt32, testing::ValuesIn(int32Cases), caseName<std::int32_t>);

// --- to a truth value --------------------------------------------------------------------------

class ToBool : public testing::TestWithParam<Case<bool>>
{
};

TEST_P(ToBool, Converts)
{
    EXPECT_EQ(outcomeOf([&] { return phone::toBool(GetParam().input); }), GetParam().expected);
}

const std::vector<Case<bool>> boolCases = {
    {"True", Value{true}, true},
    {"False", Value{false}, false},
    {"Int16Zero", i16(0), false},
    {"Int16MinusOne", i16(-1), true},
    {"Int32Zero", i32(0), false},
    {"Int32Two", i32(2), true},
    {"DoubleZero", Value{0.0}, false},
    {"DoubleMinusZero", Value{-0.0}, false},
    {"SmallFractionIsNonzero", Value{0.4}, true},
    {"NaNIsTrue", Value{nan}, true},
    {"InfinityIsTrue", Value{-inf}, true},
    {"EmptyIsFalse", Value{phone::Empty{}}, false},
    {"NullIsNullError", Value{phone::Null{}}, ErrorKind::Null},
    {"WordTrue", text(u"True"), true},
    {"WordFalseUpperCase", text(u"FALSE"), false},
    {"WordTrueMixedCase", text(u"tRuE"), true},
    {"WordWithBlanksIsNoWord", text(u"  false\t"), ErrorKind::Type},
    {"LiteralTrue", text(u"#TRUE#"), true},
    {"LiteralFalse", text(u"#FALSE#"), false},
    {"LiteralIsCaseSensitive", text(u"#True#"), ErrorKind::Type},
    {"WordEndsAtNul", text(u"True\0x"s), true},
    {"TextZero", text(u"0"), false},
    {"TextMinusOne", text(u"-1"), true},
    {"TextZeroFraction", text(u"0.0"), false},
    {"TextSmallFraction", text(u"0.4"), true},
    {"TextHexZero", text(u"&H0"), false},
    {"TextHexAllOnes", text(u"&HFFFF"), true},
    {"TextTooLarge", text(u"1e400"), ErrorKind::Overflow},
    {"OtherWord", text(u"yes"), ErrorKind::Type},
    {"WordPrefix", text(u"T"), ErrorKind::Type},
    {"WordWithTail", text(u"truex"), ErrorKind::Type},
    {"EmptyText", text(u""), ErrorKind::Type},
};

INSTANTIATE_TEST_SUITE_P(Table, ToBool, testing::ValuesIn(boolCases), caseName<bool>);

// --- to text -------------------------------------------------------------------------------------

class ToText : public testing::TestWithParam<Case<std::u16string>>
{
};

TEST_P(ToText, Converts)
{
    EXPECT_EQ(outcomeOf([&] { return phone::toText(GetParam().input); }), GetParam().expected);
}

const std::u16string unpairedSurrogates{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};

const std::vector<Case<std::u16string>> textCases = {
    {"TextAsItIs", text(u"  Grüße  "), u"  Grüße  "},
    {"TextWithNul", text(u"a\0b"s), u"a\0b"s},
    {"TextWithUnpairedSurrogates", text(unpairedSurrogates), unpairedSurrogates},
    {"EmptyIsEmptyText", Value{phone::Empty{}}, u""},
    {"NullIsEmptyText", Value{phone::Null{}}, u""},
    {"Int16Min", i16(-32768), u"-32768"},
    {"Int32Min", i32(-2147483647 - 1), u"-2147483648"},
    {"Int32Zero", i32(0), u"0"},
    {"DoubleFraction", Value{2.5}, u"2.5"},
    {"DoubleWhole", Value{100.0}, u"100"},
    {"DoubleTenth", Value{0.1}, u"0.1"},
    {"DoubleLarge", Value{1e10}, u"10000000000"},
    {"DoubleFromTenToTheFifteenWithExponent", Value{1e15}, u"1E+15"},
    {"DoubleSmallWithExponent", Value{1e-7}, u"1E-07"},
    {"DoubleFifteenDigits", Value{123456789012345678.0}, u"1.23456789012346E+17"},
    {"DoubleSumOfTenths", Value{0.1 + 0.2}, u"0.3"},
    {"DoubleHalfAwayFromZero", Value{281474976710656.5}, u"281474976710657"},
    {"DoubleThird", Value{1.0 / 3.0}, u"0.333333333333333"},
    {"DoubleMinusZero", Value{-0.0}, u"0"},
    {"DoubleNaN", Value{nan}, u"NAN"},
    {"DoubleMinusInfinity", Value{-inf}, u"-INF"},
    {"True", Value{true}, u"True"},
    {"False", Value{false}, u"False"},
};

INSTANTIATE_TEST_SUITE_P(Table, ToText, testing::ValuesIn(textCases), caseName<std::u16string>);

// --- shortest double text ------------------------------------------------------------------------

struct DoubleCase
{
    const char *name;
    double input;
    std::string expected;
    friend void PrintTo(const DoubleCase &c, std::ostream *os) { *os << c.name; }
};

class ShortestDouble : public testing::TestWithParam<DoubleCase>
{
};

TEST_P(ShortestDouble, PrintsShortestText)
{
    EXPECT_EQ(phone::shortestDouble(GetParam().input), GetParam().expected);
}

const std::vector<DoubleCase> doubleCases = {
    {"Half", 2.5, "2.5"},
    {"NegativeHalf", -0.5, "-0.5"},
    {"TenBillion", 1e10, "1e+10"},
    {"SumOfTenths", 0.1 + 0.2, "0.30000000000000004"},
    {"Largest", std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
    {"SmallestNormal", std::numeric_limits<double>::min(), "2.2250738585072014e-308"},
    {"SmallestSubnormal", std::numeric_limits<double>::denorm_min(), "5e-324"},
    {"NaN", nan, "nan"},
    {"Infinity", inf, "inf"},
    {"MinusInfinity", -inf, "-inf"},
};

INSTANTIATE_TEST_SUITE_P(Table, ShortestDouble, testing::ValuesIn(doubleCases),
                         [](const auto &info) { return std::string(info.param.name); });

// The transcript's texts must read back to the very same double.
TEST(ShortestDoubleText, ReadsBackExactly)
{
    for (const DoubleCase &c : doubleCases) {
        if (!std::isfinite(c.input))
            continue;
        SCOPED_TRACE(c.name);
        double back = 0;
        const auto [end, error] =
            std::from_chars(c.expected.data(), c.expected.data() + c.expected.size(), back);
        EXPECT_EQ(error, std::errc());
        EXPECT_EQ(back, c.input);
    }
}

} // namespace
