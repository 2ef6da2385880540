// Where and how far the control is hosted: in a window the program gives, undone in the
// reverse order when activation fails half way, and, the old way with only a site and
// InitNew, a windowed control that never comes alive.

#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/com/ComText.h"

namespace tervani_tests {
namespace {

// A window of the test program's own, as a program would give the adapter.
class ProgramWindow
{
public:
    ProgramWindow(const wchar_t *className, HWND parent = nullptr)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
        const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
        m_handle = CreateWindowExW(0, className, L"", style, 0, 0, 800, 600, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    ~ProgramWindow() { DestroyWindow(m_handle); }
    ProgramWindow(const ProgramWindow &) = delete;
    ProgramWindow &operator=(const ProgramWindow &) = delete;

    HWND handle() const { return m_handle; }

private:
    HWND m_handle = nullptr;
};

std::string windowOf(phone::com::ComControl &control)
{
    return show(control.getProperty(tervani_double::dispid::Window));
}

class HostingTest : public DoubleLeakCheck<>
{
};

TEST_F(HostingTest, ControlGoesIntoTheProgramsWindowWhereItSays)
{
    const ProgramWindow form(L"TervaniTestForm");
    ASSERT_TRUE(form.handle());
    phone::com::HostingOptions options;
    options.placement.parent = form.handle();
    options.placement.origin = {10, 20};
    {
        phone::com::ComControl control(u16(tervani_double::windowedProgId), options);
        EXPECT_EQ(control.parentWindow(), form.handle());
        EXPECT_EQ(GetParent(control.controlWindow()), form.handle());
        EXPECT_EQ(windowOf(control), "TervaniTestForm at 10,20 size 25x17, frame "
                                     "TervaniTestForm, site IOleInPlaceSiteEx");
    }
    // The program's window stays, and the control's window has left it.
    EXPECT_TRUE(IsWindow(form.handle()));
    EXPECT_EQ(GetWindow(form.handle(), GW_CHILD), nullptr);
}

TEST_F(HostingTest, FrameIsTheTopLevelWindowAroundTheParent)
{
    const ProgramWindow form(L"TervaniTestForm");
    const ProgramWindow panel(L"TervaniTestPanel", form.handle());
    ASSERT_TRUE(panel.handle());
    phone::com::HostingOptions options;
    options.placement.parent = panel.handle();
    phone::com::ComControl control(u16(tervani_double::stepwiseProgId), options);
    EXPECT_EQ(windowOf(control), "TervaniTestPanel at 144,352 size 25x17, frame "
                                 "TervaniTestForm, site IOleInPlaceSiteEx");
}

TEST_F(HostingTest, ActivationFailingHalfWayIsUndoneInTheReverseOrder)
{
    // The control cannot make its window in a parent that has gone.
    HWND gone = nullptr;
    {
        const ProgramWindow form(L"TervaniTestForm");
        gone = form.handle();
    }
    phone::com::HostingOptions options;
    options.placement.parent = gone;
    const std::string description = errorOf(
        [&] { phone::com::ComControl control(u16(tervani_double::windowedProgId), options); });
    EXPECT_EQ(description, "Das Steuerelement „Tervani.TestDoubleWindowed“ konnte nicht "
                           "erstellt werden.\nInvalid window handle. (0x80070578)");
    EXPECT_EQ(doubleLibrary().containerCalls(),
              "QuickActivate, Advise, InitNew, FreezeEvents(1), SetExtent(661x450), DoVerb(-5), "
              "Unadvise, InPlaceDeactivate, Close(1), SetClientSite(null)");
}

TEST_F(HostingTest, SiteOnlyHostGetsNoEventFromAWindowedControl)
{
    phone::com::HostingOptions options;
    options.activation = phone::com::Activation::SiteOnly;
    {
        phone::com::ComControl control(u16(tervani_double::windowedProgId), options);
        EXPECT_EQ(doubleLibrary().containerCalls(), "SetClientSite, InitNew, Advise");
        EXPECT_EQ(control.controlWindow(), nullptr);
        RecordingSink sink;
        control.connectEvents(&sink);

        // Without its window the control has no link to the softphone, and refuses to work.
        EXPECT_EQ(doubleLibrary().softphoneEvent(L"OnRing", L"0711", L"4711", 1), 0);
        pumpMessages();
        EXPECT_TRUE(sink.events.empty());
        std::vector<phone::Argument> dial{{u"0123"}};
        EXPECT_EQ(errorOf([&] { control.invoke(phone::dispid::Dial, dial); }),
                  phone::com::toUtf8(tervani_double::inactiveDescription));
        std::vector<phone::Argument> raise{{u"OnRing"}, {u"0711"}, {u"4711"}, {std::int32_t{2}}};
        EXPECT_THROW(control.invoke(tervani_double::dispid::Raise, raise), phone::Error);
        pumpMessages();
        EXPECT_TRUE(sink.events.empty());

        control.connectEvents(nullptr);
        control.connectEvents(&sink);
        doubleLibrary().forgetContainerCalls();
    }
    EXPECT_EQ(doubleLibrary().containerCalls(), "Unadvise, Close(1), SetClientSite(null)");
}

TEST_F(HostingTest, ControlWithoutInPlaceActivationWorksWithoutIt)
{
    // The plain doubles answer DoVerb with E_NOTIMPL, as an object that is never shown may.
    {
        phone::com::ComControl control(u16(tervani_double::controlProgId));
        EXPECT_EQ(doubleLibrary().containerCalls(),
                  "SetClientSite, InitNew, SetExtent(661x450), DoVerb(-5), Advise");
        EXPECT_EQ(control.controlWindow(), nullptr);
        EXPECT_EQ(control.getProperty(tervani_double::dispid::SiteUserMode), phone::Value{true});
    }
}

} // namespace
} // namespace tervani_tests
