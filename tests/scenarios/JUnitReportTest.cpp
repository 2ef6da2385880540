// The JUnit report stays well-formed XML whatever a script's steps and a window's texts hold,
// and says which check failed and which were skipped.
#include "tools/scenario/JUnitReport.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Case
{
    std::string name;
    std::string outcome;
    std::string message;
};

// Read back as an XML reader reads it: the test cases with their outcome.
std::vector<Case> readBack(const std::string &xml, std::string &error)
{
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    std::vector<Case> cases;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const QString element = reader.name().toString();
        if (element == u"testcase") {
            cases.push_back(
                {reader.attributes().value(QStringLiteral("name")).toString().toStdString(),
                 "passed", ""});
        } else if (element == u"failure" || element == u"skipped" || element == u"error") {
            cases.back().outcome = element.toStdString();
            cases.back().message =
                reader.attributes().value(QStringLiteral("message")).toString().toStdString();
        }
    }
    if (reader.hasError())
        error = reader.errorString().toStdString();
    return cases;
}

TEST(JUnitReport, CarriesAnyTextAsWellFormedXml)
{
    const std::string hostile = "expect TXT_SMS \"<a href=\\\"x\\\">&amp;</a>\t\x01 Grüße\"";
    scenario::JUnitReport report("Ab<&>\"'");
    report.add(3, "wait-line \"*\" 1");
    report.add(7, hostile);
    report.add(9, "expect BTN_Dial \"1\"");
    report.ended(3, std::nullopt, std::chrono::milliseconds(1500));
    report.ended(7, "mismatch TXT_SMS \"]]> \x02\"", std::chrono::milliseconds(0));
    std::ostringstream out;
    report.write(out);

    std::string error;
    const std::vector<Case> cases = readBack(out.str(), error);
    ASSERT_EQ(error, "") << out.str();
    ASSERT_EQ(cases.size(), 3u);
    EXPECT_EQ(cases[0].name, "3: wait-line \"*\" 1");
    EXPECT_EQ(cases[0].outcome, "passed");
    // A control character, which XML 1.0 cannot carry, becomes U+FFFD; a tab stays.
    EXPECT_EQ(cases[1].name,
              "7: expect TXT_SMS \"<a href=\\\"x\\\">&amp;</a>\t\xEF\xBF\xBD Grüße\"");
    EXPECT_EQ(cases[1].outcome, "failure");
    EXPECT_EQ(cases[1].message, "mismatch TXT_SMS \"]]> \xEF\xBF\xBD\"");
    EXPECT_EQ(cases[2].outcome, "skipped");
    EXPECT_NE(out.str().find("tests=\"3\" failures=\"1\" errors=\"0\" skipped=\"1\""),
              std::string::npos);
    EXPECT_NE(out.str().find("time=\"1.500\""), std::string::npos);
}

TEST(JUnitReport, ALostControlIsAnErrorOfItsOwn)
{
    scenario::JUnitReport report("host_dies");
    report.add(7, "expect LBL_Anzahl \"*\"");
    report.runFailed("Der Steuerelement-Host ist beendet.");
    std::ostringstream out;
    report.write(out);
    std::string error;
    const std::vector<Case> cases = readBack(out.str(), error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases[0].outcome, "skipped");
    EXPECT_EQ(cases[1].outcome, "error");
    EXPECT_EQ(cases[1].message, "Der Steuerelement-Host ist beendet.");
    EXPECT_NE(out.str().find("tests=\"2\" failures=\"0\" errors=\"1\" skipped=\"1\""),
              std::string::npos);
}

} // namespace
