#include "tools/scenario/Script.h"

#include "form/FormLayout.h"
#include "tools/scenario/ValueLiteral.h"

#include <QKeySequence>
#include <QString>

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
        throw ScriptError(std::string(tokens[0]) + " takes " + std::to_string(count - 1)
                          + " argument(s)");
    }
}

const phone::Member *member(std::string_view name)
{
    if (const phone::Member *found = phone::findMember(name))
        return found;
    throw ScriptError("unknown member " + std::string(name));
}

const form::ControlLayout &control(std::string_view name)
{
    if (const form::ControlLayout *found = form::findLayout(name))
        return *found;
    throw ScriptError("unknown control " + std::string(name));
}

phone::Value value(std::string_view token)
{
    if (auto parsed = parseValueLiteral(token))
        return *parsed;
    throw ScriptError("not a value: " + std::string(token));
}

std::u16string text(std::string_view token)
{
    const phone::Value parsed = value(token);
    if (auto text = std::get_if<std::u16string>(&parsed))
        return *text;
    throw ScriptError("not a text: " + std::string(token));
}

Action parseAction(std::string_view line, const std::vector<std::string_view> &tokens)
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
            throw ScriptError(std::string(tokens[1]) + " is no text field");
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
            throw ScriptError("not a key sequence: " + std::string(tokens[1]));
        return PressKeys{std::string(tokens[1])};
    }
    if (verb == "dump") {
        expectCount(tokens, 1);
        return Dump{};
    }
    if (verb == "while-box") {
        if (tokens.size() < 2)
            throw ScriptError("while-box needs a step");
        const std::string_view rest = trimmed(line.substr(verb.size()));
        std::optional<Step> held = parseStep(rest);
        if (!held)
            throw ScriptError("while-box needs a step");
        if (std::holds_alternative<WhileBox>(held->action))
            throw ScriptError("while-box cannot hold another while-box");
        return WhileBox{std::make_shared<const Step>(std::move(*held))};
    }
    throw ScriptError("unknown step " + std::string(verb));
}

} // namespace

std::optional<Step> parseStep(std::string_view line)
{
    const std::string_view stepText = trimmed(line);
    if (stepText.empty() || stepText.front() == '#')
        return std::nullopt;
    const std::vector<std::string_view> tokens = tokenize(stepText);
    return Step{std::string(stepText), parseAction(stepText, tokens)};
}

} // namespace scenario
