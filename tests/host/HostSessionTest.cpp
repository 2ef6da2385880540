// The host program's session: the control in the program's own window, its events printed
// as they come through the message loop, and closing the window ends the loop with the
// control still inside, to be deactivated before the window goes.

#include "wine/tests/TestSupport.h"

#include "host/EventPrinter.h"
#include "host/HostSession.h"
#include "host/MessageLoop.h"

#include <sstream>

namespace tervani_tests {
namespace {

class HostSessionTest : public DoubleLeakCheck<>
{
};

TEST_F(HostSessionTest, HostsTheControlInTheProgramsOwnWindow)
{
    phone::host::HostSession session(u16(tervani_double::windowedProgId));
    EXPECT_EQ(show(session.control().getProperty(tervani_double::dispid::Window)),
              "TervaniHostWindow at 144,352 size 25x17, frame TervaniHostWindow, "
              "site IOleInPlaceSiteEx");
    EXPECT_EQ(session.control().parentWindow(), session.window().handle());
    EXPECT_FALSE(IsWindowVisible(session.window().handle()));
}

TEST_F(HostSessionTest, PrintsEachEventAsItComesThroughTheLoop)
{
    phone::host::HostSession session(u16(tervani_double::windowedProgId));
    std::ostringstream out;
    phone::host::EventPrinter printer(out);
    session.control().connectEvents(&printer);
    EXPECT_EQ(doubleLibrary().softphoneEvent(L"OnRing", L"0711 12345", L"4711", 42), 1);
    EXPECT_EQ(doubleLibrary().softphoneEvent(L"OnIdle", L"", L"", 0), 1);
    EXPECT_EQ(out.str(), "");
    pumpMessages();
    EXPECT_EQ(out.str(), "OnRing CallingNumber=\"0711 12345\" CalledMSN=\"4711\" CallID=42\n"
                         "OnIdle CallingNumber=\"\" CalledMSN=\"\" CallID=0\n");
    session.control().connectEvents(nullptr);
}

TEST_F(HostSessionTest, ClosingTheWindowEndsTheLoopWithTheControlStillInside)
{
    HWND controlWindow = nullptr;
    {
        phone::host::HostSession session(u16(tervani_double::stepwiseProgId));
        controlWindow = session.control().controlWindow();
        session.window().requestClose();
        EXPECT_EQ(phone::host::runMessageLoop(), 0);
        EXPECT_TRUE(IsWindow(session.window().handle()));
        EXPECT_TRUE(IsWindow(controlWindow));
        doubleLibrary().forgetContainerCalls();
    }
    EXPECT_EQ(doubleLibrary().containerCalls(),
              "Unadvise, InPlaceDeactivate, Close(1), SetClientSite(null)");
    EXPECT_FALSE(IsWindow(controlWindow));
}

TEST_F(HostSessionTest, UnregisteredControlIsRefusedByName)
{
    EXPECT_EQ(errorOf([] { phone::host::HostSession session(u"Tervani.NichtRegistriert"); }),
              "Das Steuerelement „Tervani.NichtRegistriert“ konnte nicht erstellt werden.\n"
              "Fehler 0x800401F3\n"
              "Der Name ist auf diesem Rechner nicht registriert; das tut das "
              "Installationsprogramm des Steuerelements (oder regsvr32 mit seiner Datei).");
}

TEST(EventLine, ShowsEveryKindOfValueAsItCame)
{
    const phone::EventArguments arguments{phone::Empty{}, phone::Null{}, 2.5};
    EXPECT_EQ(phone::host::eventLine("OnStatus", arguments),
              "OnStatus CallingNumber=Empty CalledMSN=Null CallID=2.5");
    const phone::EventArguments numbers{std::int16_t{3}, true, u"Grüße"};
    EXPECT_EQ(phone::host::eventLine("OnIdle", numbers),
              "OnIdle CallingNumber=3 CalledMSN=True CallID=\"Grüße\"");
}

} // namespace
} // namespace tervani_tests
