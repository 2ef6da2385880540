#include "tools/scenario/JUnitReport.h"

#include <cstdio>

namespace scenario {

namespace {

// XML's text and attribute values; characters XML 1.0 cannot carry at all become U+FFFD.
std::string escaped(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "\xEF\xBF\xBD";
            else
                out += c;
        }
    }
    return out;
}

std::string seconds(std::chrono::duration<double> duration)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", duration.count());
    return text;
}

} // namespace

JUnitReport::JUnitReport(std::string suiteName)
    : m_suiteName(std::move(suiteName))
{}

void JUnitReport::add(int line, const std::string &stepText)
{
    m_cases[line].name = std::to_string(line) + ": " + stepText;
}

void JUnitReport::ended(int line, const std::optional<std::string> &failure,
                        std::chrono::milliseconds took)
{
    Case &check = m_cases[line];
    check.outcome = failure ? Outcome::Failed : Outcome::Passed;
    check.failure = failure.value_or(std::string());
    check.took = took;
}

void JUnitReport::runFailed(const std::string &reason)
{
    m_runFailure = reason;
}

void JUnitReport::write(std::ostream &out) const
{
    int failures = 0, skipped = 0;
    for (const auto &[line, check] : m_cases) {
        failures += check.outcome == Outcome::Failed;
        skipped += check.outcome == Outcome::Skipped;
    }
    const std::string suite = escaped(m_suiteName);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<testsuites>\n"
        << "  <testsuite name=\"" << suite << "\" tests=\""
        << m_cases.size() + (m_runFailure ? 1 : 0) << "\" failures=\"" << failures << "\" errors=\""
        << (m_runFailure ? 1 : 0) << "\" skipped=\"" << skipped << "\" time=\""
        << seconds(std::chrono::steady_clock::now() - m_created) << "\">\n";
    for (const auto &[line, check] : m_cases) {
        out << "    <testcase name=\"" << escaped(check.name) << "\" classname=\"" << suite
            << "\" time=\"" << seconds(check.took) << "\"";
        if (check.outcome == Outcome::Passed) {
            out << "/>\n";
            continue;
        }
        out << ">\n";
        if (check.outcome == Outcome::Failed)
            out << "      <failure message=\"" << escaped(check.failure) << "\"/>\n";
        else
            out << "      <skipped/>\n";
        out << "    </testcase>\n";
    }
    // A reason no check names still fails the suite, as an error of a case of its own.
    if (m_runFailure) {
        out << "    <testcase name=\"0: run\" classname=\"" << suite << "\" time=\"0.000\">\n"
            << "      <error message=\"" << escaped(*m_runFailure) << "\"/>\n"
            << "    </testcase>\n";
    }
    out << "  </testsuite>\n</testsuites>\n";
}

} // namespace scenario
