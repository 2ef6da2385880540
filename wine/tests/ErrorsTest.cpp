// Failures of the control become the bench's component error, with the control's own
// description or the system's message text; a control that cannot be created is refused
// with a German text naming it and the reason.

#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"

#include <windows.h>

#include <cstdint>

namespace tervani_tests {
namespace {

using tervani_double::FailMode;

struct Failure
{
    const char *name;
    FailMode mode;
    std::string description;
    std::uint32_t code; // what the report shows as the runtime's number
};

void PrintTo(const Failure &failure, std::ostream *out)
{
    *out << failure.name;
}

// The system texts are Wine's English ones (the tests run with LC_ALL=C); Wine has no
// text for the last code, and says so with the number alone.
const Failure failures[] = {
    {"ExceptionWithDescription", tervani_double::ExceptionWithDescription,
     "Leitung „1“ belegt: Gespräch läuft", 0x80004005},
    {"ExceptionDeferred", tervani_double::ExceptionDeferred, "Leitung „1“ belegt: Gespräch läuft",
     0x80004005},
    {"ExceptionScodeOnly", tervani_double::ExceptionScodeOnly, "File not found. (0x80070002)",
     0x80070002},
    {"PlainFailure", tervani_double::PlainFailure, "Access denied. (0x80070005)", 0x80070005},
    {"UnknownFailure", tervani_double::UnknownFailure, "Fehler 0x80041234", 0x80041234},
    // The control's own number in wCode is the runtime's number for the error.
    {"ExceptionWithNumber", tervani_double::ExceptionWithNumber,
     "Leitung „1“ belegt: Gespräch läuft", 380},
    {"ExceptionControlScode", tervani_double::ExceptionControlScode,
     "Leitung „1“ belegt: Gespräch läuft", 0x800A017C},
    {"PlainControlFailure", tervani_double::PlainControlFailure, "Fehler 0x800A0002", 0x800A0002},
};

class FailureTest : public ControlTest, public testing::WithParamInterface<Failure>
{
};

TEST_P(FailureTest, BecomesComponentErrorWithItsDescriptionAndCode)
{
    std::vector<phone::Argument> mode{{std::int32_t{GetParam().mode}}};
    try {
        control->invoke(tervani_double::dispid::Fail, mode);
        FAIL() << "no error";
    } catch (const phone::Error &error) {
        EXPECT_EQ(error.kind(), phone::ErrorKind::Component);
        EXPECT_EQ(error.description(), GetParam().description);
        ASSERT_TRUE(error.code().has_value());
        EXPECT_EQ(static_cast<std::uint32_t>(*error.code()), GetParam().code);
    }
}

INSTANTIATE_TEST_SUITE_P(Errors, FailureTest, testing::ValuesIn(failures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ControlTest, RefusalsOfTheDispatchLayerCarryTheirCode)
{
    // Unknown member, wrong argument type, wrong argument count.
    EXPECT_EQ(errorOf([this] { control->getProperty(0x60031234); }), "Fehler 0x80020003");
    std::vector<phone::Argument> number{{std::int32_t{123}}};
    EXPECT_EQ(errorOf([&] { control->invoke(phone::dispid::Dial, number); }), "Fehler 0x80020005");
    std::vector<phone::Argument> none;
    EXPECT_EQ(errorOf([&] { control->invoke(phone::dispid::Dial, none); }), "Fehler 0x8002000E");
}

TEST_F(ControlTest, ControlStaysUsableAfterAnError)
{
    std::vector<phone::Argument> mode{{std::int32_t{tervani_double::ExceptionWithDescription}}};
    EXPECT_THROW(control->invoke(tervani_double::dispid::Fail, mode), phone::Error);
    std::vector<phone::Argument> dial{{u"0123"}};
    control->invoke(phone::dispid::Dial, dial);
    EXPECT_EQ(lastCall(), "Dial(BSTR 0123)");
}

TEST(ControlCreation, UnregisteredProgIdIsRefusedWithItsReason)
{
    const std::string description =
        errorOf([] { phone::com::ComControl control(u"Tervani.NichtRegistriert"); });
    EXPECT_EQ(description, "Das Steuerelement „Tervani.NichtRegistriert“ konnte nicht "
                           "erstellt werden.\nFehler 0x800401F3\nDer Name ist auf diesem "
                           "Rechner nicht registriert; das tut das Installationsprogramm des "
                           "Steuerelements (oder regsvr32 mit seiner Datei).");
}

TEST(ControlCreation, ControlThatFailsToStartIsRefusedAndReleased)
{
    const std::string description =
        errorOf([] { phone::com::ComControl control(u16(tervani_double::brokenProgId)); });
    EXPECT_EQ(description, "Das Steuerelement „Tervani.TestDoubleBroken“ konnte nicht erstellt "
                           "werden.\nNot ready. (0x80070015)");
    EXPECT_EQ(doubleLibrary().liveObjects(), 0);
}

// The real control registers its class for 32-bit programs only: a 64-bit program finds
// its programmatic identifier but not its class. A 64-bit control is the mirror image.
class RegisteredForOneBitness : public testing::TestWithParam<int>
{
protected:
    static constexpr wchar_t classKey[] = L"CLSID\\{80ECA732-2DAB-4AEC-9CC1-D3AA1F53FCF2}";
    static constexpr wchar_t progIdKey[] = L"Tervani.NurEineBitbreite";

    static REGSAM classView() { return GetParam() == 32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

    void SetUp() override
    {
        write(KEY_WOW64_64KEY, progIdKey + std::wstring(L"\\CLSID"),
              L"{80ECA732-2DAB-4AEC-9CC1-D3AA1F53FCF2}");
        write(classView(), classKey + std::wstring(L"\\InprocServer32"),
              L"C:\\windows\\system32\\Tervani.ocx");
    }
    void TearDown() override
    {
        RegDeleteKeyExW(HKEY_CLASSES_ROOT, (progIdKey + std::wstring(L"\\CLSID")).c_str(),
                        KEY_WOW64_64KEY, 0);
        RegDeleteKeyExW(HKEY_CLASSES_ROOT, progIdKey, KEY_WOW64_64KEY, 0);
        RegDeleteKeyExW(HKEY_CLASSES_ROOT, (classKey + std::wstring(L"\\InprocServer32")).c_str(),
                        classView(), 0);
        RegDeleteKeyExW(HKEY_CLASSES_ROOT, classKey, classView(), 0);
    }
    static void write(REGSAM view, const std::wstring &key, const std::wstring &value)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | view, nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        const LONG result = RegSetValueExW(
            handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
        ASSERT_EQ(result, ERROR_SUCCESS);
    }
};

TEST_P(RegisteredForOneBitness, IsRefusedWithTheOtherBitnessNamed)
{
    const std::string description =
        errorOf([] { phone::com::ComControl control(u"Tervani.NurEineBitbreite"); });
    const std::string created =
        "Das Steuerelement „Tervani.NurEineBitbreite“ konnte nicht erstellt werden.\n";
    const int programBits = sizeof(void *) == 8 ? 64 : 32;
    if (GetParam() == programBits) {
        // The program finds the class; only its missing file stops it (Wine says the class is
        // not registered then), and bitness is no cause worth naming.
        EXPECT_EQ(description.rfind(created + "Fehler 0x", 0), 0u) << description;
        EXPECT_EQ(description.find("-Bit"), std::string::npos) << description;
        EXPECT_EQ(description.find(" Bit "), std::string::npos) << description;
        return;
    }
    if (programBits == 64)
        EXPECT_EQ(description, created
                                   + "Fehler 0x80040152\n"
                                     "Ein 32-Bit-Steuerelement läuft nur in einem 32-Bit-Programm "
                                     "oder in einem DLL-Surrogat.");
    else
        EXPECT_EQ(description, created
                                   + "Fehler 0x80040152\n"
                                     "Es ist nur für 64 Bit registriert und läuft im 64-Bit-Host "
                                     "(--host tervani-host-x64.exe).");
}

INSTANTIATE_TEST_SUITE_P(Bits, RegisteredForOneBitness, testing::Values(32, 64),
                         [](const testing::TestParamInfo<int> &info) {
                             return "ClassFor" + std::to_string(info.param) + "Bit";
                         });

} // namespace
} // namespace tervani_tests
