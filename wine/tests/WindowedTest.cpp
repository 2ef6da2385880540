// A windowed control, hosted as a form hosts it: activated in place inside a hidden window
// of the adapter's, in the order a form uses, with the ambient properties of a form at run
// time; its members work, and its events come through the message loop; it goes away in
// the reverse order.

#include "TestSupport.h"

#include "phone/Members.h"
#include "phone/TervaniFacade.h"

#include <olectl.h>

#include <cwchar>

namespace tervani_tests {
namespace {

// How the system reads back a font made from this description, as the double describes
// fonts: name and points. A font is realised when read, so a system without the face
// answers with its substitute (Wine: "Liberation Sans 8.25" for MS Sans Serif at 8 points).
std::u16string systemFont(const wchar_t *name, int points)
{
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = const_cast<LPOLESTR>(name);
    description.cySize.int64 = points * 10000LL;
    description.sWeight = FW_NORMAL;
    description.sCharset = ANSI_CHARSET;
    IFont *font = nullptr;
    if (FAILED(OleCreateFontIndirect(&description, IID_IFont, reinterpret_cast<void **>(&font))))
        return u"(no font)";
    BSTR realised = nullptr;
    CY size{};
    font->get_Name(&realised);
    font->get_Size(&size);
    font->Release();
    wchar_t text[64];
    std::swprintf(text, 64, L"%ls %g", realised ? realised : L"", size.int64 / 10000.0);
    SysFreeString(realised);
    return u16(text);
}

struct WindowedFlavour
{
    const char *name;
    const wchar_t *progId;
    // The container calls of the activation, as the double records them.
    std::string activation;
};

void PrintTo(const WindowedFlavour &flavour, std::ostream *out)
{
    *out << flavour.name;
}

const WindowedFlavour flavours[] = {
    {"QuickActivate", tervani_double::windowedProgId,
     "QuickActivate, Advise, InitNew, FreezeEvents(1), SetExtent(661x450), DoVerb(-5), "
     "FreezeEvents(0)"},
    // Without OLEMISC_SETCLIENTSITEFIRST the site comes after InitNew.
    {"Stepwise", tervani_double::stepwiseProgId,
     "InitNew, SetClientSite, FreezeEvents(1), SetExtent(661x450), DoVerb(-5), FreezeEvents(0), "
     "Advise"},
};

class WindowedTest : public DoubleLeakCheck<testing::TestWithParam<WindowedFlavour>>
{
protected:
    void SetUp() override
    {
        DoubleLeakCheck::SetUp();
        if (!HasFatalFailure())
            control = std::make_unique<phone::com::ComControl>(u16(GetParam().progId));
    }
    void TearDown() override
    {
        control.reset();
        DoubleLeakCheck::TearDown();
    }

    std::string text(std::int32_t dispId) { return show(control->getProperty(dispId)); }

    phone::Value ambient(DISPID id)
    {
        std::vector<phone::Argument> arguments{{std::int32_t{id}}};
        return control->invoke(tervani_double::dispid::Ambient, arguments);
    }

    std::unique_ptr<phone::com::ComControl> control;
};

INSTANTIATE_TEST_SUITE_P(Hosting, WindowedTest, testing::ValuesIn(flavours),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_P(WindowedTest, IsActivatedInTheOrderAFormUses)
{
    EXPECT_EQ(doubleLibrary().containerCalls(), GetParam().activation);
}

TEST_P(WindowedTest, GoesAwayInTheReverseOrder)
{
    const HWND window = control->controlWindow();
    const HWND host = control->parentWindow();
    ASSERT_TRUE(IsWindow(window));
    doubleLibrary().forgetContainerCalls();
    control.reset();
    EXPECT_EQ(doubleLibrary().containerCalls(),
              "Unadvise, InPlaceDeactivate, Close(1), SetClientSite(null)");
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(host));
}

TEST_P(WindowedTest, MembersWorkOnceActive)
{
    phone::TervaniFacade tervani(*control);
    tervani.Dial(u"0123");
    EXPECT_EQ(text(tervani_double::dispid::LastCall), "Dial(BSTR 0123)");
    EXPECT_EQ(tervani.ConnectionCount(), 1);
    EXPECT_EQ(utf8(tervani.LatestText()), "Wähle 0123");
}

TEST_P(WindowedTest, ItsWindowIsAChildOfAHiddenHostWindowAtTheFormsPlace)
{
    // 2160, 5280 twips and 661 x 450 HIMETRIC at 96 dots per inch.
    EXPECT_EQ(text(tervani_double::dispid::Window),
              "TervaniControlHost at 144,352 size 25x17, frame TervaniControlHost, "
              "site IOleInPlaceSiteEx");
    EXPECT_EQ(GetParent(control->controlWindow()), control->parentWindow());
    EXPECT_FALSE(IsWindowVisible(control->parentWindow()));
}

TEST_P(WindowedTest, RaisedEventArrivesThroughTheMessageLoop)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    std::vector<phone::Argument> arguments{
        {u"OnRing"}, {u"0711 12345"}, {u"4711"}, {std::int32_t{42}}};
    control->invoke(tervani_double::dispid::Raise, arguments);
    EXPECT_TRUE(sink.events.empty()) << "delivered inside the call";

    pumpMessages();
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].name, "OnRing");
    EXPECT_EQ(sink.events[0].arguments.callingNumber, phone::Value{u"0711 12345"});
    EXPECT_EQ(sink.events[0].arguments.calledMSN, phone::Value{u"4711"});
    EXPECT_EQ(sink.events[0].arguments.callID, phone::Value{std::int32_t{42}});
    // Not dropped as frozen: every freeze of the activation was thawed again.
    EXPECT_EQ(text(tervani_double::dispid::LastCall), "Raise OnRing to 1 sink(s): unchanged");
    control->connectEvents(nullptr);
}

TEST_P(WindowedTest, SoftphoneEventsReachItThroughItsWindow)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    EXPECT_EQ(doubleLibrary().softphoneEvent(L"OnConnected", L"0711", L"4711", 7), 1);
    EXPECT_TRUE(sink.events.empty());
    pumpMessages();
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].name, "OnConnected");
    EXPECT_EQ(sink.events[0].arguments.callID, phone::Value{std::int32_t{7}});
    control->connectEvents(nullptr);
}

TEST_P(WindowedTest, AmbientPropertiesAreThoseOfAFormAtRunTime)
{
    EXPECT_EQ(ambient(DISPID_AMBIENT_USERMODE), phone::Value{true});
    EXPECT_EQ(ambient(DISPID_AMBIENT_LOCALEID), phone::Value{std::int32_t{0x0407}});
    EXPECT_EQ(ambient(DISPID_AMBIENT_DISPLAYNAME), phone::Value{u"axTervani1"});
    EXPECT_EQ(ambient(DISPID_AMBIENT_UIDEAD), phone::Value{false});
    EXPECT_EQ(ambient(DISPID_AMBIENT_SHOWHATCHING), phone::Value{false});
    EXPECT_EQ(ambient(DISPID_AMBIENT_SHOWGRABHANDLES), phone::Value{false});
    EXPECT_EQ(ambient(DISPID_AMBIENT_MESSAGEREFLECT), phone::Value{true});
    EXPECT_EQ(ambient(DISPID_AMBIENT_FONT), phone::Value{systemFont(L"MS Sans Serif", 8)});
    // System colours: COLOR_BTNFACE and COLOR_BTNTEXT with the high bit.
    EXPECT_EQ(ambient(DISPID_AMBIENT_BACKCOLOR),
              phone::Value{static_cast<std::int32_t>(0x8000000F)});
    EXPECT_EQ(ambient(DISPID_AMBIENT_FORECOLOR),
              phone::Value{static_cast<std::int32_t>(0x80000012)});
    // Left to the control's default.
    EXPECT_EQ(ambient(DISPID_AMBIENT_APPEARANCE), phone::Value{phone::Empty{}});
}

TEST(QuickActivation, BringsTheSameAmbientsTheControlSiteAndTheSink)
{
    {
        phone::com::ComControl control(u16(tervani_double::windowedProgId));
        EXPECT_EQ(show(control.getProperty(tervani_double::dispid::QuickContainer)),
                  "flags 0x44 fore 0x80000012 back 0x8000000F locale 0x0407 font "
                      + utf8(systemFont(L"MS Sans Serif", 8)) + " control site yes event sink yes");
    }
    EXPECT_EQ(doubleLibrary().liveObjects(), 0);
}

} // namespace
} // namespace tervani_tests
