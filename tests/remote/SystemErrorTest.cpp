// System texts with placeholders: Windows writes "%1 ist keine zulässige Win32-Anwendung." and
// leaves the file to the caller; no user may read a bare "%1".
#include "phone/remote/SystemError.h"

#include <gtest/gtest.h>

namespace {

struct Filling
{
    const char *name;
    const char *text;
    const char *subject;
    const char *filled;
};

class SystemTextTest : public testing::TestWithParam<Filling>
{
};

TEST_P(SystemTextTest, FillsPlaceholders)
{
    const Filling &row = GetParam();
    EXPECT_EQ(phone::remote::withSubject(row.text, row.subject), row.filled);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SystemTextTest,
    testing::Values(Filling{"FirstNamesTheSubject", "%1 ist keine zulässige Win32-Anwendung.",
                            "C:\\Jürgen\\host.exe",
                            "„C:\\Jürgen\\host.exe“ ist keine zulässige Win32-Anwendung."},
                    Filling{"FirstWithoutSubject", "%1 ist keine zulässige Win32-Anwendung.", "",
                            "… ist keine zulässige Win32-Anwendung."},
                    Filling{"OthersAreLeftOpen", "%2 fehlt in %1.", "a.dll", "… fehlt in „a.dll“."},
                    Filling{"TwoDigitsAreOnePlaceholder", "%12 und %1", "x", "… und „x“"},
                    Filling{"PrintfFormatGoesWithIt", "Datei %1!s! fehlt", "x", "Datei „x“ fehlt"},
                    Filling{"PercentSignsStay", "100%% fertig, 5% Rest, am Ende %", "x",
                            "100% fertig, 5% Rest, am Ende %"},
                    Filling{"NoPlaceholder", "Zugriff verweigert.", "x", "Zugriff verweigert."}),
    [](const testing::TestParamInfo<Filling> &info) { return info.param.name; });

} // namespace
