// libFuzzer target for the conversions the window applies to every value from the control.
//
// The first byte chooses what the rest is:
//   '0' (and every byte = 0 mod 4)  UTF-16 code units, two bytes each: any text, lone
//                                   surrogates and NULs included
//   '1'                             bytes widened one to one: numeric text as people write it
//   '2'                             the raw bits of a double
//   '3'                             a 32-bit and a 16-bit integer
//
// Besides surviving, each input must keep these promises:
// - a conversion either answers or throws phone::Error, nothing else;
// - toText never fails, and what toText makes of a number reads back as that number, to its
//   fifteen digits;
// - the shortest form of a double reads back bit for bit;
// - blanks around a number do not change what it reads as;
// - taking decimal text of at most fifteen digits as an integer is taking its number as one;
// - a plain decimal reads as the C library's strtod reads it, to the last few bits: the
//   runtime's own arithmetic is not exact, and where it is compared case by case (against
//   Wine's oleaut32, in the runtime differential test) the bits must agree.
#include "phone/Ascii.h"
#include "phone/Error.h"
#include "phone/NumberText.h"
#include "phone/Value.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <variant>

namespace {

[[noreturn]] void broken(const char *promise, const std::u16string &text)
{
    std::fprintf(stderr, "broken promise: %s\ntext (UTF-16 units):", promise);
    for (char16_t unit : text)
        std::fprintf(stderr, " %04x", static_cast<unsigned>(unit));
    std::fprintf(stderr, "\n");
    std::abort();
}

// What a conversion came to: a result or the kind of error it threw. Any other exception
// escapes and ends the run as a crash.
template <typename T>
using Outcome = std::variant<T, phone::ErrorKind>;

template <typename F>
auto outcome(F convert) -> Outcome<decltype(convert())>
{
    try {
        return convert();
    } catch (const phone::Error &error) {
        return error.kind();
    }
}

bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameNumber(const Outcome<double> &a, const Outcome<double> &b)
{
    if (a.index() != b.index())
        return false;
    if (auto x = std::get_if<double>(&a))
        return sameDouble(*x, std::get<double>(b));
    return std::get<phone::ErrorKind>(a) == std::get<phone::ErrorKind>(b);
}

// digits [ '.' digits ] [ e|E [+|-] digits ] with an optional sign: the forms both readers
// share. Group separators, a leading point and &H/&O are the bench's own and are left out.
std::optional<std::string> plainDecimal(const std::u16string &text)
{
    std::string ascii;
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t first = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ascii += static_cast<char>(text[i++]);
        return i > first;
    };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ascii += static_cast<char>(text[i++]);
    if (!digits())
        return std::nullopt;
    if (i < text.size() && text[i] == u'.') {
        ascii += static_cast<char>(text[i++]);
        digits();
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ascii += static_cast<char>(text[i++]);
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ascii += static_cast<char>(text[i++]);
        if (!digits())
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return ascii;
}

// A reading that is the expected double, give or take `relative` of it.
bool closeTo(const Outcome<double> &outcome, double expected, double relative = 1e-13)
{
    const double *got = std::get_if<double>(&outcome);
    if (!got)
        return false;
    if (expected == 0)
        return *got == 0;
    return std::fabs(*got - expected) <= relative * std::fabs(expected);
}

void checkText(const std::u16string &text)
{
    const phone::Value value{text};
    const Outcome<double> number = outcome([&] { return phone::readNumberText(text); });
    const Outcome<std::int32_t> integer = outcome([&] { return phone::toInt32(value); });
    outcome([&] { return phone::toBool(value); });
    if (phone::toText(value) != text)
        broken("text taken as text is the same text", text);

    if (!sameNumber(number,
                    outcome([&] { return phone::readNumberText(u" \t" + text + u"\r\n"); })))
        broken("blanks around a number change nothing", text);

    // Beyond fifteen digits the double may be off by a bit where the digits are not, and a
    // hexadecimal number wraps as an integer but not as a double.
    bool fewDecimalDigits = false;
    try {
        const phone::NumberText parsed = phone::parseNumberText(text);
        fewDecimalDigits = parsed.baseShift == 0 && parsed.digits.size() <= 15;
    } catch (const phone::Error &) {
    }
    const Outcome<std::int32_t> viaNumber =
        std::holds_alternative<double>(number)
            ? outcome([&] { return phone::toInt32(phone::Value{std::get<double>(number)}); })
            : Outcome<std::int32_t>{std::get<phone::ErrorKind>(number)};
    if (fewDecimalDigits && integer != viaNumber)
        broken("text as an integer is its number as an integer", text);

    if (const std::optional<std::string> ascii = plainDecimal(text)) {
        errno = 0;
        const double expected = std::strtod(ascii->c_str(), nullptr);
        // Subnormals and the edges of the range are left to the runtime differential, where
        // the runtime's own rounding is the reference.
        const bool inner = std::fabs(expected) > 1e-290 && std::fabs(expected) < 1e290;
        const bool exact = expected == 0 || inner;
        if (exact && !closeTo(number, expected))
            broken("a plain decimal reads as strtod reads it, to the last few bits", text);
        if (errno == ERANGE && std::isinf(expected)
            && number != Outcome<double>{phone::ErrorKind::Overflow})
            broken("a decimal beyond the double range is an overflow", text);
    }
}

void checkDouble(double number)
{
    const phone::Value value{number};
    outcome([&] { return phone::toInt32(value); });
    outcome([&] { return phone::toBool(value); });
    const std::string shortest = phone::shortestDouble(number);
    if (std::isfinite(number)) {
        double back = 0;
        const auto [end, error] =
            std::from_chars(shortest.data(), shortest.data() + shortest.size(), back);
        if (error != std::errc() || end != shortest.data() + shortest.size()
            || !sameDouble(back, number))
            broken("the shortest form reads back bit for bit", phone::widen(shortest));
        const bool inner = std::fabs(number) > 1e-290 && std::fabs(number) < 1e290;
        if ((inner || number == 0)
            && !closeTo(outcome([&] { return phone::readNumberText(phone::toText(value)); }),
                        number, 1e-14))
            broken("a double's text reads back as the double, to fifteen digits",
                   phone::toText(value));
    }
}

void checkIntegers(std::int32_t i32, std::int16_t i16)
{
    for (const phone::Value &value : {phone::Value{i32}, phone::Value{i16}}) {
        const std::int32_t expected = std::holds_alternative<std::int32_t>(value) ? i32 : i16;
        if (phone::toInt32(value) != expected)
            broken("an integer is taken as itself", phone::toText(value));
        if (phone::toBool(value) != (expected != 0))
            broken("an integer is true when it is not zero", phone::toText(value));
        if (phone::toInt32(phone::Value{phone::toText(value)}) != expected)
            broken("an integer's text reads back as the integer", phone::toText(value));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::setlocale(LC_ALL, "C"); // strtod must read '.' as the decimal point
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t mode = data[0] % 4;
    ++data;
    --size;
    switch (mode) {
    case 0: {
        std::u16string text(size / 2, u'\0');
        std::memcpy(text.data(), data, text.size() * 2);
        checkText(text);
        break;
    }
    case 1:
        checkText(std::u16string(data, data + size));
        break;
    case 2: {
        double number = 0;
        std::memcpy(&number, data, std::min(size, sizeof number));
        checkDouble(number);
        break;
    }
    case 3: {
        std::int32_t i32 = 0;
        std::int16_t i16 = 0;
        std::memcpy(&i32, data, std::min(size, sizeof i32));
        if (size > sizeof i32)
            std::memcpy(&i16, data + sizeof i32, std::min(size - sizeof i32, sizeof i16));
        checkIntegers(i32, i16);
        break;
    }
    }
    return 0;
}
