// The bench's conversions against the automation runtime's own (Wine's oleaut32), case by
// case: thousands of texts and doubles, half of them chosen at the edges, half at random
// with a fixed seed, are asked of tervani-oleaut-answers.exe under Wine in one batch and
// answered by the bench's conversions here. Every disagreement fails the test, unless it is
// one of the documented deviations below, which are counted and printed.
//
//   runtime_differential_test WINE ANSWERS_EXE
#include "cli/CommandLine.h"
#include "phone/Error.h"
#include "phone/NumberText.h"
#include "phone/Value.h"
#include "wine/oleaut/AnswerFormat.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using phone::Value;

std::string hexOfText(const std::u16string &text)
{
    return answers::hexOfText(std::u16string_view(text));
}

// A text for people: printable ASCII as it is, everything else as \uXXXX.
std::string shown(const std::u16string &text)
{
    std::string out = "\"";
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7f && c != u'"' && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + "\"";
}

std::string shown(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// An outcome in the answer program's terms.
template <typename Convert>
std::string ours(Convert convert)
{
    try {
        return "ok " + convert();
    } catch (const phone::Error &error) {
        switch (error.kind()) {
        case phone::ErrorKind::Type:
            return "err 80020005";
        case phone::ErrorKind::Overflow:
            return "err 8002000A";
        default:
            return "err other";
        }
    }
}

struct Case
{
    std::string question; // as the answer program reads it
    std::string what;     // for people
    std::string expected; // ours
};

std::vector<std::u16string> systematicTexts()
{
    std::vector<std::u16string> texts{
        u"0",
        u"1",
        u"-1",
        u"+1",
        u"2147483647",
        u"2147483648",
        u"-2147483648",
        u"-2147483649",
        u"4294967295",
        u"2147483647.5",
        u"2147483647.49",
        u"-2147483648.5",
        u"-2147483648.51",
        u"0.5",
        u"1.5",
        u"2.5",
        u"-0.5",
        u"-1.5",
        u"-2.5",
        u"0.49999999999999994",
        // blanks
        u" 1",
        u"1 ",
        u"\t1",
        u"1\t",
        u" \t 1 \t ",
        u"\n1",
        u"1\r\n",
        u"\v1",
        u"\f1",
        u"- 1",
        u"+ 1",
        u"1 000",
        u"1 .5",
        u"1. 5",
        u"1e 3",
        u" ",
        u"\t",
        // group separators in odd places
        u"1,000",
        u"1,,000",
        u",1",
        u"1,",
        u"1,5",
        u"12,34,5",
        u"1,000.5",
        u"1.000,5",
        u"-1,000",
        u"1,000,000,000,000",
        u"1,e3",
        u".,5",
        // hexadecimal and octal of every size
        u"&H0",
        u"&HFF",
        u"&HFFFF",
        u"&H10000",
        u"&H7FFF",
        u"&H8000",
        u"&H7FFFFFFF",
        u"&H80000000",
        u"&HFFFFFFFF",
        u"&H100000000",
        u"&H0000000000FF",
        u"&h1a",
        u"&H",
        u"&HG",
        u"&HFF.5",
        u"&HFFe2",
        u"&O7",
        u"&O177777",
        u"&O200000",
        u"&O17777777777",
        u"&O37777777777",
        u"&O40000000000",
        u"&o17",
        u"&O8",
        u"-&H1",
        u"+&H1",
        u"&H 1",
        u" &HFF ",
        u"&H-1",
        u"&",
        u"&B101",
        u"&O",
        u"&HFFFFFFFFFFFFFFFF",
        // exponents
        u"1e3",
        u"1E3",
        u"1e+3",
        u"1e-3",
        u"1e",
        u"1e+",
        u"1.5e2",
        u"1e10",
        u"2e9",
        u"-2e9",
        u"1d3",
        u"1D3",
        u"1e308",
        u"1e309",
        u"1e-400",
        u"2.147483647e9",
        u"2.1474836475e9",
        u"1e0003",
        u"1E-0",
        // odd forms
        u"1.",
        u".5",
        u"-.5",
        u"+.5",
        u".",
        u"-",
        u"+",
        u"1.2.3",
        u"--1",
        u"+-1",
        u"1-",
        u"1+",
        u"$5",
        u"5$",
        u"\u20ac5",
        u"5\u20ac",
        u"(5)",
        u"1%",
        u"0x10",
        u"00012",
        u"-0",
        u"0.0",
        u"",
        u"000000000000000000000000001",
        u"1_000",
        // truth values
        u"True",
        u"true",
        u"TRUE",
        u"tRuE",
        u"False",
        u"false",
        u"#TRUE#",
        u"#FALSE#",
        u"#true#",
        u"#True#",
        u"# TRUE #",
        u"Yes",
        u"No",
        u"On",
        u"Off",
        u" True ",
        u"True ",
        u"\tFalse",
        u"Wahr",
        u"Falsch",
        u"T",
        u"F",
        u"Truee",
        u"#TRUE",
        u"TRUE#",
        // beyond ASCII
        u"\uFF11\uFF12",
        u"\u00A01",
        u"1\u00A0",
        u"\u0663",
        u"1\u2009000",
        u"\u30001",
        u"\u2212\u0031",
        u"\u00A45",
        u"5\u00A4",
        u"\u00A4 5",
        u"(5))",
        u"-(5",
        u"1e3,5",
        u"1e,3",
        u"1.,5",
        u".,5",
        u"1--",
        u"1-+",
        u"0.06",
        u"-0.06",
        u".0006",
        u"0.051",
        u"1e-400",
        u"1e4294967297",
        u"1e-4294967295",
        u"4.9406564584124654e-324",
        u"1e-310",
        u"2.5e-320",
        u"1.7976931348623157e308",
        u"1.797693134862315e308",
        // embedded NULs: the runtime's parsers stop there
        std::u16string(u"12\0 34", 6),
        std::u16string(u"\0", 1),
        std::u16string(u"1\0", 2),
        std::u16string(u"True\0", 5),
        std::u16string(u"\0"
                       u"1",
                       2),
        std::u16string(u"&HFF\0"
                       u"1",
                       6),
        std::u16string(u" 7\0x", 4),
    };
    return texts;
}

std::vector<std::u16string> randomTexts(std::mt19937 &random, int count)
{
    const std::u16string alphabet = u"0123456789012345 +-.,eE&HhOoFf$\t#TrueFals";
    std::vector<std::u16string> texts;
    std::uniform_int_distribution<std::size_t> length(1, 9);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < count; ++i) {
        std::u16string text;
        for (std::size_t n = length(random); n > 0; --n)
            text += alphabet[pick(random)];
        texts.push_back(text);
    }
    return texts;
}

std::vector<double> systematicDoubles()
{
    std::vector<double> values{0.0,
                               -0.0,
                               1.0,
                               -1.0,
                               0.1 + 0.2,
                               1.0 / 3,
                               2.0 / 3,
                               3.141592653589793,
                               2.718281828459045,
                               123456789012345678.0,
                               999999999999999.4,
                               999999999999999.5,
                               99999999999999.95,
                               0.1,
                               0.7,
                               1e-4,
                               9.9999999999999e-5,
                               2147483647.0,
                               2147483647.4,
                               2147483647.5,
                               2147483647.6,
                               2147483648.0,
                               -2147483648.0,
                               -2147483648.4,
                               -2147483648.5,
                               -2147483648.6,
                               -2147483649.0,
                               4294967296.0,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::denorm_min(),
                               1e-320,
                               1e308,
                               -1e308,
                               0.5,
                               1.5,
                               -0.5,
                               -1.5,
                               12345.678,
                               -98765.4321,
                               1.0000000000000002,
                               0.30000000000000004,
                               100.0,
                               1e100,
                               1.7976931348623157e308,
                               5e-324,
                               std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::quiet_NaN(),
                               1.000000000000005,
                               281474976710656.5,
                               1e15 - 0.5,
                               2.5e-5};
    for (int k = -12; k <= 12; ++k)
        values.push_back(k + 0.5);
    for (int n = 0; n <= 62; n += 3) {
        values.push_back(std::ldexp(1.0, n) + 0.5);
        values.push_back(-std::ldexp(1.0, n) - 0.5);
        values.push_back(std::ldexp(1.0, -n));
        values.push_back(3 * std::ldexp(1.0, -n - 2));
    }
    for (int e = 14; e <= 22; ++e) {
        const double power = std::pow(10.0, e);
        values.insert(values.end(), {power, std::nextafter(power, 0.0),
                                     std::nextafter(power, 1e300), -power, 1.5 * power});
    }
    for (int e = 3; e <= 8; ++e) {
        const double power = std::pow(10.0, -e);
        values.insert(values.end(), {power, std::nextafter(power, 0.0), std::nextafter(power, 1.0),
                                     -power, 2.5 * power});
    }
    return values;
}

std::vector<double> randomDoubles(std::mt19937 &random, int count)
{
    std::vector<double> values;
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_int_distribution<int> digits(0, 6);
    for (int i = 0; i < count; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (i % 3 == 0) {
            // Few decimal digits, as numbers people write usually have.
            const double scale = std::pow(10.0, digits(random));
            value = std::round(mantissa(random) * 1e6) / scale;
        }
        values.push_back(value);
    }
    return values;
}

std::vector<Case> cases()
{
    std::mt19937 random(20261208);
    std::vector<std::u16string> texts = systematicTexts();
    for (std::u16string &text : randomTexts(random, 1500))
        texts.push_back(std::move(text));
    std::vector<double> doubles = systematicDoubles();
    for (double value : randomDoubles(random, 1000))
        doubles.push_back(value);

    std::vector<Case> all;
    for (const std::u16string &text : texts) {
        const std::string hex = hexOfText(text);
        const auto asInteger = ours([&] { return std::to_string(phone::toInt32(Value{text})); });
        const auto asTruth =
            ours([&] { return std::string(phone::toBool(Value{text}) ? "-1" : "0"); });
        all.push_back({"i4s " + hex, "VarI4FromStr(" + shown(text) + ")", asInteger});
        all.push_back(
            {"cti4 " + hex, "VariantChangeTypeEx(" + shown(text) + ", VT_I4)", asInteger});
        all.push_back({"bools " + hex, "VarBoolFromStr(" + shown(text) + ")", asTruth});
        all.push_back({"r8s " + hex, "VarR8FromStr(" + shown(text) + ")",
                       ours([&] { return answers::bitsOf(phone::readNumberText(text)); })});
        all.push_back(
            {"ctbool " + hex, "VariantChangeTypeEx(" + shown(text) + ", VT_BOOL)", asTruth});
    }
    for (double value : doubles) {
        const std::string bits = answers::bitsOf(value);
        const auto asText = ours([&] { return hexOfText(phone::toText(Value{value})); });
        all.push_back({"i4r8 " + bits, "VarI4FromR8(" + shown(value) + ")",
                       ours([&] { return std::to_string(phone::toInt32(Value{value})); })});
        all.push_back({"bstrr8 " + bits, "VarBstrFromR8(" + shown(value) + ")", asText});
        all.push_back(
            {"ctbstr " + bits, "VariantChangeTypeEx(" + shown(value) + ", VT_BSTR)", asText});
    }
    for (bool value : {true, false}) {
        all.push_back({std::string("bstrbool ") + (value ? "1" : "0"),
                       std::string("VarBstrFromBool(") + (value ? "True" : "False") + ")",
                       ours([&] { return hexOfText(phone::toText(Value{value})); })});
    }
    return all;
}

// An answer as people read it: texts decoded.
std::string readable(const std::string &question, const std::string &answer)
{
    const bool textAnswer = question.starts_with("bstr") || question.starts_with("ctbstr");
    if (textAnswer && answer.starts_with("ok "))
        return "ok " + shown(answers::textOfHex<char16_t>(answer.substr(3)));
    return answer;
}

// Where the bench keeps its own answer on purpose (README, "Conversions").
struct Deviation
{
    const char *reason;
    std::function<bool(const Case &, const std::string &runtime)> applies;
};

const std::vector<Deviation> &deviations()
{
    static const std::vector<Deviation> list{
        {"a fraction below 0.1 taken as an integer is 0; Wine's VarI4FromStr rounds it by its "
         "first nonzero digit, so that \"0.06\" gives 1",
         [](const Case &c, const std::string &runtime) {
             return (c.question.starts_with("i4s ") || c.question.starts_with("cti4 "))
                    && c.expected == "ok 0" && (runtime == "ok 1" || runtime == "ok -1");
         }},
        {"an exponent beyond the 32-bit range saturates; Wine's runtime wraps it around, so "
         "that \"1e4294967297\" reads as 10",
         [](const Case &c, const std::string &) {
             return c.what.find("e4294967297") != std::string::npos
                    || c.what.find("e-4294967295") != std::string::npos;
         }},
        {"NaN taken as an integer is an overflow; Wine's VarI4FromR8 answers 2147483647",
         [](const Case &c, const std::string &runtime) {
             return c.question.starts_with("i4r8 ") && c.what.find("nan") != std::string::npos
                    && runtime == "ok 2147483647" && c.expected == "err 8002000A";
         }},
    };
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    constexpr cli::Usage usage{"runtime_differential_test",
                               "runtime_differential_test WINE ANSWERS_EXE\n"
                               "       runtime_differential_test --help | --version\n"
                               "Compares the bench's conversions with Wine's oleaut32, as the "
                               "program ANSWERS_EXE run under WINE gives them.\n"};
    if (const auto answered = cli::answerWithoutOwnOptions(usage, argc, argv))
        return *answered;
    if (argc != 3)
        return cli::wrongCall(usage, "needs WINE and ANSWERS_EXE");
    const std::vector<Case> all = cases();
    char directory[] = "/tmp/tervani-runtime-XXXXXX";
    if (!mkdtemp(directory)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string questions = std::string(directory) + "/questions";
    const std::string answers = std::string(directory) + "/answers";
    {
        std::ofstream out(questions);
        for (const Case &c : all)
            out << c.question << '\n';
    }
    const std::string command = std::string("'") + argv[1] + "' '" + argv[2] + "' < '" + questions
                                + "' > '" + answers + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(answers);
    std::vector<std::string> replies;
    for (std::string line; std::getline(in, line);)
        replies.push_back(line);
    std::remove(questions.c_str());
    std::remove(answers.c_str());
    rmdir(directory);
    if (status != 0 || replies.size() != all.size()) {
        std::cerr << "the runtime's answers are missing: status " << status << ", "
                  << replies.size() << " answers to " << all.size() << " questions\n";
        return 1;
    }

    int disagreements = 0;
    std::map<std::string, int> deviated;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Case &c = all[i];
        if (replies[i] == c.expected)
            continue;
        bool documented = false;
        for (const Deviation &deviation : deviations()) {
            if (deviation.applies(c, replies[i])) {
                ++deviated[deviation.reason];
                documented = true;
                break;
            }
        }
        if (documented)
            continue;
        ++disagreements;
        std::cout << c.what << ": runtime " << readable(c.question, replies[i]) << ", bench "
                  << readable(c.question, c.expected) << '\n';
    }
    for (const auto &[reason, count] : deviated)
        std::cout << "documented deviation, " << count << " case(s): " << reason << '\n';
    std::cout << all.size() << " cases, " << disagreements << " disagreement(s)\n";
    return disagreements == 0 ? 0 : 1;
}
