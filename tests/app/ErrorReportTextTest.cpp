#include "app/ErrorReportText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using phone::Error;
using phone::ErrorKind;

struct Heading
{
    const char *name;
    Error error;
    std::string text;
};

void PrintTo(const Heading &heading, std::ostream *out)
{
    *out << heading.name;
}

class ErrorReportHeading : public testing::TestWithParam<Heading>
{
};

TEST_P(ErrorReportHeading, SaysWhatTheRuntimeSays)
{
    EXPECT_EQ(app::ErrorReportText(GetParam().error, "08:15:00.000").text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ErrorReportHeading,
    testing::Values(
        Heading{"range", Error(ErrorKind::Range),
                "Laufzeitfehler '9':\n\nIndex außerhalb des gültigen Bereichs"},
        Heading{"overflow", Error(ErrorKind::Overflow), "Laufzeitfehler '6':\n\nÜberlauf"},
        Heading{"type", Error(ErrorKind::Type), "Laufzeitfehler '13':\n\nTypen unverträglich"},
        Heading{"null", Error(ErrorKind::Null),
                "Laufzeitfehler '94':\n\nUnzulässige Verwendung von Null"},
        // Its description carries the number already; the report does not say it twice.
        Heading{"stack", Error(ErrorKind::Stack),
                "Laufzeitfehler '28':\n\nNicht genügend Stapelspeicher"},
        Heading{"control_hresult", Error(ErrorKind::Component, "Leitung belegt", -2147352567),
                "Laufzeitfehler '-2147352567 (80020009)':\n\nLeitung belegt"},
        // The runtime's own facility, as controls raise with CTL_E_...: its low 16 bits.
        Heading{"control_facility_lowest", Error(ErrorKind::Component, "x", -2146828288),
                "Laufzeitfehler '0':\n\nx"},
        Heading{"control_facility_2", Error(ErrorKind::Component, "x", -2146828286),
                "Laufzeitfehler '2':\n\nx"},
        Heading{"control_facility_380", Error(ErrorKind::Component, "x", -2146827908),
                "Laufzeitfehler '380':\n\nx"},
        Heading{"control_facility_highest", Error(ErrorKind::Component, "x", -2146762753),
                "Laufzeitfehler '65535':\n\nx"},
        Heading{"just_below_the_facility", Error(ErrorKind::Component, "x", -2146828289),
                "Laufzeitfehler '-2146828289 (8009ffff)':\n\nx"},
        Heading{"just_above_the_facility", Error(ErrorKind::Component, "x", -2146762752),
                "Laufzeitfehler '-2146762752 (800b0000)':\n\nx"},
        Heading{"control_own_number", Error(ErrorKind::Component, "Kein Netz", 440),
                "Laufzeitfehler '440':\n\nKein Netz"},
        Heading{"control_without_number", Error(ErrorKind::Component, "Simulierter Fehler"),
                "Fehler des Steuerelements:\n\nSimulierter Fehler"}),
    [](const auto &info) { return std::string(info.param.name); });

Error at(Error error, const std::string &handler, const std::string &access = {})
{
    error.setAccess(access);
    error.setHandler(handler);
    return error;
}

TEST(ErrorReportText, NamesHandlerAndAccessOfTheFirstError)
{
    const app::ErrorReportText report(at(Error(ErrorKind::Type), "OnRing", "LatestText lesen"),
                                      "08:15:00.000");
    EXPECT_EQ(report.informativeText(), "Aufgetreten in „OnRing“ bei „LatestText lesen“.");
    EXPECT_EQ(report.count(), 1u);
}

TEST(ErrorReportText, WithoutAnAccessNamesTheHandlerAlone)
{
    EXPECT_EQ(app::ErrorReportText(at(Error(ErrorKind::Stack), "BTN_Dial"), "08:15:00.000")
                  .informativeText(),
              "Aufgetreten in „BTN_Dial“.");
    EXPECT_EQ(
        app::ErrorReportText(Error(ErrorKind::Component, "x"), "08:15:00.000").informativeText(),
        "");
}

TEST(ErrorReportText, CountsFurtherErrorsAndListsEveryOneWithItsTime)
{
    app::ErrorReportText report(
        at(Error(ErrorKind::Component, "Simulierter Fehler"), "OnRing", "LatestText lesen"),
        "08:15:00.001");
    report.add(at(Error(ErrorKind::Range), "OnConnecting", "CallIDs(11) schreiben"),
               "08:15:00.250");
    EXPECT_EQ(report.informativeText(),
              "Aufgetreten in „OnRing“ bei „LatestText lesen“.\n\n… und 1 weiterer Fehler "
              "während dieser Meldung (alle in den Details).");

    // A control's text with its own line breaks stays one line of the list.
    report.add(at(Error(ErrorKind::Component, "Zeile 1\nZeile 2\tEnde", -2147467259), "BTN_Dial",
                  "Dial aufrufen"),
               "08:15:01.000");
    EXPECT_EQ(report.count(), 3u);
    EXPECT_NE(report.informativeText().find("… und 2 weitere Fehler "), std::string::npos);
    EXPECT_EQ(report.details(),
              "08:15:00.001  OnRing  LatestText lesen  Fehler des Steuerelements: Simulierter "
              "Fehler\n"
              "08:15:00.250  OnConnecting  CallIDs(11) schreiben  Laufzeitfehler '9': Index "
              "außerhalb des gültigen Bereichs\n"
              "08:15:01.000  BTN_Dial  Dial aufrufen  Laufzeitfehler '-2147467259 (80004005)': "
              "Zeile 1 Zeile 2 Ende");
    // The first error's own text stays what the box shows first.
    EXPECT_EQ(report.text(), "Fehler des Steuerelements:\n\nSimulierter Fehler");
}

TEST(ErrorOrigin, TheInnermostAccessAndHandlerStay)
{
    Error error(ErrorKind::Type);
    error.setAccess("ConnectionCount lesen");
    error.setAccess("CallIDs(0) lesen");
    error.setHandler("OnRing");
    error.setHandler("BTN_Dial");
    EXPECT_EQ(error.access(), "ConnectionCount lesen");
    EXPECT_EQ(error.handler(), "OnRing");
    EXPECT_EQ(error.description(), "Typen unverträglich");
    EXPECT_EQ(error.code(), std::nullopt);
}

} // namespace
