#include "tools/scenario/Script.h"

#include "form/FormLayout.h"
#include "phone/remote/Utf8.h"
#include "tools/scenario/MessageText.h"
#include "tools/scenario/ValueLiteral.h"

#include <QKeySequence>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

namespace scenario {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Splits at blanks; a token that starts with a quote runs to its closing quote, so texts
// may hold blanks.
std::vector<std::string_view> tokenize(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        if (line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"')
                i += line[i] == '\\' && i + 1 < line.size() ? 2 : 1;
            if (i >= line.size())
                throw ScriptError("unterminated text");
            ++i;
            if (i < line.size() && !isBlank(line[i]))
                throw ScriptError("text must be followed by a blank");
        } else {
            while (i < line.size() && !isBlank(line[i]))
                ++i;
        }
        tokens.push_back(line.substr(begin, i - begin));
    }
    return tokens;
}

void expectCount(const std::vector<std::string_view> &tokens, std::size_t count)
{
    if (tokens.size() != count) {
        throw ScriptError(shownInMessage(tokens[0]) + " takes " + std::to_string(count - 1)
                          + " argument(s)");
    }
}

const phone::Member *member(std::string_view name)
{
    if (const phone::Member *found = phone::findMember(name))
        return found;
    throw ScriptError("unknown member " + shownInMessage(name));
}

const form::ControlLayout &control(std::string_view name)
{
    if (const form::ControlLayout *found = form::findLayout(name))
        return *found;
    throw ScriptError("unknown control " + shownInMessage(name));
}

phone::Value value(std::string_view token)
{
    if (auto parsed = parseValueLiteral(token))
        return *parsed;
    // A bare word is the likeliest slip: a text without its quotes.
    const bool bareWord = !token.empty() && token.front() != '"'
                          && token.find(':') == std::string_view::npos
                          && (std::isalpha(static_cast<unsigned char>(token.front())) != 0);
    throw ScriptError("not a value: " + shownInMessage(token)
                      + (bareWord
                             ? " (a text is written in quotes: \"" + shownInMessage(token) + "\")"
                             : std::string()));
}

std::u16string text(std::string_view token)
{
    const phone::Value parsed = value(token);
    if (auto text = std::get_if<std::u16string>(&parsed))
        return *text;
    throw ScriptError("not a text: " + shownInMessage(token));
}

// "SECONDS": a decimal number from 0 to 3600, to the millisecond (a finer rest rounds up, so a
// wait is never shorter than written).
std::chrono::milliseconds seconds(std::string_view token)
{
    const std::size_t point = token.find('.');
    const std::string_view whole = token.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : token.substr(point + 1);
    const auto allDigits = [](std::string_view digits) {
        return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
    };
    if (!allDigits(whole) || (point != std::string_view::npos && !allDigits(fraction)))
        throw ScriptError("not a number of seconds: " + shownInMessage(token));
    constexpr std::int64_t limit = 3600;
    std::int64_t value = 0;
    for (char digit : whole) {
        value = value * 10 + (digit - '0');
        if (value > limit)
            break;
    }
    std::int64_t milliseconds = value * 1000;
    for (std::size_t i = 0; i < fraction.size(); ++i) {
        if (i < 3)
            milliseconds += (fraction[i] - '0') * (i == 0 ? 100 : i == 1 ? 10 : 1);
        else if (fraction[i] != '0') {
            ++milliseconds;
            break;
        }
    }
    if (milliseconds > limit * 1000)
        throw ScriptError("at most 3600 seconds: " + shownInMessage(token));
    return std::chrono::milliseconds(milliseconds);
}

Action parseSimpleAction(const std::vector<std::string_view> &tokens)
{
    const std::string_view verb = tokens[0];
    if (verb == "value") {
        expectCount(tokens, 3);
        return SetValue{member(tokens[1]), value(tokens[2])};
    }
    if (verb == "fail") {
        expectCount(tokens, 2);
        return Fail{member(tokens[1])};
    }
    if (verb == "event") {
        expectCount(tokens, 5);
        return RaiseEvent{std::string(tokens[1]),
                          {value(tokens[2]), value(tokens[3]), value(tokens[4])}};
    }
    if (verb == "type") {
        expectCount(tokens, 3);
        const form::ControlLayout &field = control(tokens[1]);
        if (field.kind != form::ControlKind::TextField)
            throw ScriptError(shownInMessage(tokens[1]) + " is no text field");
        return TypeText{field.control, text(tokens[2])};
    }
    if (verb == "click") {
        expectCount(tokens, 2);
        return Click{control(tokens[1]).control};
    }
    if (verb == "dblclick") {
        expectCount(tokens, 2);
        return DoubleClick{control(tokens[1]).control};
    }
    if (verb == "key") {
        expectCount(tokens, 2);
        const QKeySequence keys = QKeySequence::fromString(
            QString::fromUtf8(tokens[1].data(), tokens[1].size()), QKeySequence::PortableText);
        if (keys.isEmpty() || keys[0].key() == Qt::Key_unknown)
            throw ScriptError("not a key sequence: " + shownInMessage(tokens[1]));
        return PressKeys{std::string(tokens[1])};
    }
    if (verb == "dump") {
        expectCount(tokens, 1);
        return Dump{};
    }
    if (verb == "wait") {
        expectCount(tokens, 2);
        return Wait{seconds(tokens[1])};
    }
    if (verb == "wait-line") {
        expectCount(tokens, 3);
        return WaitLine{Pattern(text(tokens[1])), seconds(tokens[2])};
    }
    if (verb == "expect") {
        expectCount(tokens, 3);
        const form::ControlLayout &checked = control(tokens[1]);
        if (checked.kind == form::ControlKind::List)
            throw ScriptError(shownInMessage(tokens[1])
                              + " cannot be expected: wait-line reads its lines");
        return Expect{checked.control, Pattern(text(tokens[2]))};
    }
    throw ScriptError("unknown step " + shownInMessage(verb));
}

bool holdsSteps(std::string_view verb)
{
    return verb == "while-box" || verb == "while-call" || verb == "and";
}

// The step that a holding step holds: any but a holding one, which is refused before it is
// read, so that no line nests.
std::shared_ptr<const Step> heldStep(std::string_view verb, std::string_view rest)
{
    const std::string_view heldText = trimmed(rest);
    if (heldText.empty() || heldText.front() == '#')
        throw ScriptError(std::string(verb) + " needs a step");
    const std::vector<std::string_view> tokens = tokenize(heldText);
    if (holdsSteps(tokens[0]))
        throw ScriptError(std::string(verb) + " cannot hold " + shownInMessage(tokens[0]));
    return std::make_shared<const Step>(Step{std::string(heldText), parseSimpleAction(tokens)});
}

std::string_view afterToken(std::string_view line, std::string_view token)
{
    return line.substr(static_cast<std::size_t>(token.data() + token.size() - line.data()));
}

Action parseAction(std::string_view line, const std::vector<std::string_view> &tokens)
{
    const std::string_view verb = tokens[0];
    if (verb == "while-box" || verb == "and") {
        std::shared_ptr<const Step> held = heldStep(verb, afterToken(line, verb));
        if (verb == "and")
            return And{std::move(held)};
        return WhileBox{std::move(held)};
    }
    if (verb == "while-call") {
        if (tokens.size() < 3)
            throw ScriptError("while-call needs a member and a step");
        return WhileCall{member(tokens[1]), heldStep(verb, afterToken(line, tokens[1]))};
    }
    return parseSimpleAction(tokens);
}

} // namespace

std::optional<Step> parseStep(std::string_view line)
{
    // The step is echoed into the transcript, which stays UTF-8.
    if (const std::size_t bad = phone::remote::firstInvalidUtf8(line);
        bad != std::string_view::npos)
        throw ScriptError("invalid UTF-8 at byte offset " + std::to_string(bad) + " ("
                          + shownInMessage(line.substr(bad, 1)) + ")");
    const std::string_view stepText = trimmed(line);
    if (stepText.empty() || stepText.front() == '#')
        return std::nullopt;
    const std::vector<std::string_view> tokens = tokenize(stepText);
    return Step{std::string(stepText), parseAction(stepText, tokens)};
}

bool onlyInScriptedRuns(const Action &action)
{
    return std::holds_alternative<SetValue>(action) || std::holds_alternative<Fail>(action)
           || std::holds_alternative<RaiseEvent>(action)
           || std::holds_alternative<WhileCall>(action) || std::holds_alternative<And>(action);
}

bool checks(const Action &action)
{
    if (auto whileBox = std::get_if<WhileBox>(&action))
        return checks(whileBox->held->action);
    if (auto whileCall = std::get_if<WhileCall>(&action))
        return checks(whileCall->held->action);
    if (auto also = std::get_if<And>(&action))
        return checks(also->held->action);
    return std::holds_alternative<WaitLine>(action) || std::holds_alternative<Expect>(action);
}

} // namespace scenario
