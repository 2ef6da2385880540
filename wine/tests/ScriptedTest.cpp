// The scripted double, hosted in place through the adapter, answers exactly as the bench's
// in-process scripted control does, so a scenario's transcript reads the same either way:
// every kind of value it is told to answer comes back unchanged from a read and from a call,
// the same values arrive with its events, failing members fail with the control's text, and
// it refuses everything before it is active in place. Below the adapter, the same double
// seen by a sink and a caller of its own: what its events and calls carry.

#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/com/ComText.h"
#include "phone/com/ControlHost.h"

#include <olectl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace tervani_tests {
namespace {

namespace ids = tervani_double::dispid;
using phone::com::ComPtr;

// Equal as a transcript sees it: the same kind, and a number with the same bits, so that
// negative zero and NaN count as themselves.
bool identical(const phone::Value &left, const phone::Value &right)
{
    if (left.index() != right.index())
        return false;
    if (const double *number = std::get_if<double>(&left)) {
        const double other = std::get<double>(right);
        return std::memcmp(number, &other, sizeof other) == 0;
    }
    return left == right;
}

// show(), with every digit of a number.
std::string exactly(const phone::Value &value)
{
    if (const double *number = std::get_if<double>(&value)) {
        char text[64];
        std::snprintf(text, sizeof text, "R8 %.17g (%a)", *number, *number);
        return text;
    }
    if (const std::u16string *text = std::get_if<std::u16string>(&value))
        return "BSTR \"" + utf8(*text) + "\" (" + std::to_string(text->size()) + " units)";
    return show(value);
}

testing::AssertionResult identicalValues(const char *actualText, const char *,
                                         const phone::Value &actual, const phone::Value &expected)
{
    if (identical(actual, expected))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << actualText << " is " << exactly(actual) << ", expected " << exactly(expected);
}

#define EXPECT_IDENTICAL(actual, expected) EXPECT_PRED_FORMAT2(identicalValues, actual, expected)

struct Kind
{
    const char *name;
    phone::Value value;
};

void PrintTo(const Kind &kind, std::ostream *out)
{
    *out << kind.name;
}

// Every kind of value a scenario script can give, at the edges of each.
const Kind kinds[] = {
    {"Empty", phone::Empty{}},
    {"Null", phone::Null{}},
    {"True", true},
    {"False", false},
    {"Int16Zero", std::int16_t{0}},
    {"Int16Min", std::numeric_limits<std::int16_t>::min()},
    {"Int16Max", std::numeric_limits<std::int16_t>::max()},
    {"Int32Zero", std::int32_t{0}},
    {"Int32MinusOne", std::int32_t{-1}},
    {"Int32Min", std::numeric_limits<std::int32_t>::min()},
    {"Int32Max", std::numeric_limits<std::int32_t>::max()},
    {"DoubleTenth", 0.1},
    {"DoubleNegativeFraction", -2.5},
    {"DoubleThird", 1.0 / 3.0},
    {"DoubleWhole", 42.0},
    {"DoubleBeyondInt32", 4294967296.0},
    {"DoubleLarge", 1e300},
    {"DoubleMax", std::numeric_limits<double>::max()},
    {"DoubleSmallest", std::numeric_limits<double>::denorm_min()},
    {"DoubleNegativeZero", -0.0},
    {"DoubleInfinity", -std::numeric_limits<double>::infinity()},
    {"DoubleNaN", std::numeric_limits<double>::quiet_NaN()},
    {"TextEmpty", std::u16string()},
    {"TextDigits", std::u16string(u"0711 12345")},
    {"TextUmlauts", std::u16string(u"Grüße aus Köln, Straße")},
    {"TextQuotes", std::u16string(u"Er sagte \"Hallo\", 'tschüss' und \"\"")},
    {"TextGermanQuotes", std::u16string(u"Leitung „1“ belegt")},
    {"TextBackslashes", std::u16string(u"C:\\Pfad\\\"x\\")},
    {"TextLineBreaks", std::u16string(u"Zeile 1\r\nZeile 2\n\tEnde")},
    {"TextBeyondTheBasicPlane", std::u16string(u"Anruf 📞 von 𝔄")},
    {"TextEmbeddedNul", std::u16string(u"vor\0nach", 8)},
    {"TextLoneSurrogate", std::u16string(1, char16_t(0xd800))},
    {"TextLong", std::u16string(10000, u'9')},
};

class ScriptedTest : public DoubleLeakCheck<>
{
protected:
    void SetUp() override
    {
        DoubleLeakCheck::SetUp();
        if (!HasFatalFailure())
            control = std::make_unique<phone::com::ComControl>(u16(tervani_double::scriptedProgId));
    }
    void TearDown() override
    {
        control.reset();
        DoubleLeakCheck::TearDown();
    }

    void answer(std::int32_t member, const phone::Value &value, bool byRef = false)
    {
        std::vector<phone::Argument> arguments{{member}, {value, byRef}};
        control->invoke(ids::ScriptAnswer, arguments);
    }
    void failing(std::int32_t member)
    {
        std::vector<phone::Argument> arguments{{member}};
        control->invoke(ids::ScriptFailing, arguments);
    }
    void raise(const std::u16string &name, const phone::EventArguments &values)
    {
        std::vector<phone::Argument> arguments{
            {name}, {values.callingNumber}, {values.calledMSN}, {values.callID}};
        control->invoke(ids::ScriptRaise, arguments);
    }
    void raiseMany(const std::u16string &name, std::int32_t count,
                   const phone::EventArguments &values)
    {
        std::vector<phone::Argument> arguments{
            {name}, {count}, {values.callingNumber}, {values.calledMSN}, {values.callID}};
        control->invoke(ids::ScriptRaiseMany, arguments);
    }
    phone::Value call(std::int32_t member)
    {
        std::vector<phone::Argument> none;
        return control->invoke(member, none);
    }

    std::unique_ptr<phone::com::ComControl> control;
};

const phone::EventArguments ring{std::u16string(u"0711 12345"), std::u16string(u"4711"),
                                 std::int32_t{42}};

std::u16string wide(std::string_view name)
{
    return phone::com::fromUtf8(name);
}

TEST_F(ScriptedTest, IsActivatedInPlaceLikeTheWindowedDouble)
{
    EXPECT_EQ(doubleLibrary().containerCalls(),
              "QuickActivate, Advise, InitNew, FreezeEvents(1), SetExtent(661x450), DoVerb(-5), "
              "FreezeEvents(0)");
    ASSERT_TRUE(IsWindow(control->controlWindow()));
    EXPECT_EQ(GetParent(control->controlWindow()), control->parentWindow());
}

class ScriptedSiteOnlyTest : public DoubleLeakCheck<>
{
};

TEST_F(ScriptedSiteOnlyTest, RefusesEveryMemberBeforeActivationInPlace)
{
    {
        phone::com::HostingOptions options;
        options.activation = phone::com::Activation::SiteOnly;
        phone::com::ComControl control(u16(tervani_double::scriptedProgId), options);
        EXPECT_EQ(control.controlWindow(), nullptr);
        const std::string refusal = phone::com::toUtf8(tervani_double::inactiveDescription);
        EXPECT_EQ(errorOf([&] { control.getProperty(phone::dispid::PopUp); }), refusal);
        EXPECT_EQ(errorOf([&] { control.putProperty(phone::dispid::PopUp, true); }), refusal);
        std::vector<phone::Argument> dial{{u"0123"}};
        EXPECT_EQ(errorOf([&] { control.invoke(phone::dispid::Dial, dial); }), refusal);
        std::vector<phone::Argument> script{{phone::dispid::Dial}, {std::int32_t{1}}};
        EXPECT_EQ(errorOf([&] { control.invoke(ids::ScriptAnswer, script); }), refusal);
        RecordingSink sink;
        control.connectEvents(&sink);
        std::vector<phone::Argument> raise{{u"OnRing"}, {u"0711"}, {u"4711"}, {std::int32_t{2}}};
        EXPECT_EQ(errorOf([&] { control.invoke(ids::ScriptRaise, raise); }), refusal);
        EXPECT_TRUE(sink.events.empty());
        control.connectEvents(nullptr);
    }
}

// What the in-process scripted control answers before anything is scripted.
phone::Value defaultOf(std::int32_t member)
{
    switch (member) {
    case phone::dispid::PopUp:
        return false;
    case phone::dispid::ConnectionCount:
    case phone::dispid::IncomingCallID:
        return std::int32_t{0};
    case phone::dispid::LatestText:
    case phone::dispid::ConvertNumber:
        return std::u16string();
    default:
        return phone::Empty{};
    }
}

TEST_F(ScriptedTest, AnswersTheDefaultsOfTheInProcessControl)
{
    for (const phone::Member &member : phone::members) {
        SCOPED_TRACE(std::string(member.name));
        EXPECT_IDENTICAL(control->getProperty(member.dispId), defaultOf(member.dispId));
        EXPECT_IDENTICAL(call(member.dispId), defaultOf(member.dispId));
    }
}

class ScriptedValueTest : public ScriptedTest, public testing::WithParamInterface<Kind>
{
};

INSTANTIATE_TEST_SUITE_P(Values, ScriptedValueTest, testing::ValuesIn(kinds),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_P(ScriptedValueTest, ComesBackUnchangedFromAReadAndACall)
{
    const phone::Value &value = GetParam().value;
    for (const phone::Member &member : phone::members) {
        SCOPED_TRACE(std::string(member.name));
        answer(member.dispId, value);
        EXPECT_IDENTICAL(control->getProperty(member.dispId), value);
        EXPECT_IDENTICAL(call(member.dispId), value);
        // Whatever the call brings, by value or by reference.
        std::vector<phone::Argument> arguments{
            {std::int32_t{7}, true}, {u"12#"}, {phone::Null{}, true}, {2.5}};
        EXPECT_IDENTICAL(control->invoke(member.dispId, arguments), value);
        // A write changes nothing.
        control->putProperty(member.dispId, std::u16string(u"anders"));
        EXPECT_IDENTICAL(control->getProperty(member.dispId), value);
    }
}

TEST_P(ScriptedValueTest, GivenByReferenceIsKeptByValue)
{
    const phone::Value &value = GetParam().value;
    answer(phone::dispid::LatestText, value, true);
    EXPECT_IDENTICAL(control->getProperty(phone::dispid::LatestText), value);
    EXPECT_IDENTICAL(call(phone::dispid::LatestText), value);
}

TEST_P(ScriptedValueTest, ArrivesUnchangedWithEveryEvent)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    const phone::Value &value = GetParam().value;
    for (std::string_view name : phone::handledEvents) {
        // The value in each place, beside values of other kinds.
        const phone::EventArguments sent[] = {
            {value, ring.calledMSN, ring.callID},
            {ring.callingNumber, value, ring.callID},
            {ring.callingNumber, ring.calledMSN, value},
        };
        for (const phone::EventArguments &arguments : sent) {
            sink.events.clear();
            raise(wide(name), arguments);
            ASSERT_EQ(sink.events.size(), 1u) << name;
            EXPECT_EQ(sink.events[0].name, name);
            EXPECT_IDENTICAL(sink.events[0].arguments.callingNumber, arguments.callingNumber);
            EXPECT_IDENTICAL(sink.events[0].arguments.calledMSN, arguments.calledMSN);
            EXPECT_IDENTICAL(sink.events[0].arguments.callID, arguments.callID);
        }
    }
    control->connectEvents(nullptr);
}

TEST_F(ScriptedTest, EventsArriveInsideTheCallInOrder)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    for (std::string_view name : phone::handledEvents)
        raise(wide(name), ring);
    ASSERT_EQ(sink.events.size(), phone::handledEvents.size());
    for (std::size_t i = 0; i < sink.events.size(); ++i)
        EXPECT_EQ(sink.events[i].name, phone::handledEvents[i]);
    control->connectEvents(nullptr);
}

TEST_F(ScriptedTest, NamesItsEventsDoNotListRaiseNothing)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    for (const char16_t *name : {u"OnFoo", u"onring", u"ONRING", u"OnRing ", u" OnRing",
                                 u"OnDisconnected", u"OnDisConnecting", u"", u"#2", u"2"}) {
        SCOPED_TRACE(utf8(name));
        EXPECT_NO_THROW(raise(name, ring));
    }
    EXPECT_NO_THROW(raiseMany(u"OnFoo", 3, ring));
    EXPECT_TRUE(sink.events.empty());
    // The adapter passes on only the events the window handles: OnStatus stops there.
    raise(u"OnStatus", ring);
    EXPECT_TRUE(sink.events.empty());
    raise(u"OnRing", ring);
    EXPECT_EQ(sink.events.size(), 1u);
    control->connectEvents(nullptr);
}

TEST_F(ScriptedTest, RaisesAnEventManyTimesInARow)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    raiseMany(u"OnConnected", 500, ring);
    ASSERT_EQ(sink.events.size(), 500u);
    for (const RecordedEvent &event : sink.events) {
        EXPECT_EQ(event.name, "OnConnected");
        EXPECT_IDENTICAL(event.arguments.callID, ring.callID);
    }
    sink.events.clear();
    raiseMany(u"OnConnected", 0, ring);
    raiseMany(u"OnConnected", -1, ring);
    EXPECT_TRUE(sink.events.empty());
    control->connectEvents(nullptr);
}

TEST_F(ScriptedTest, HandlerMayUseTheControlOrDisconnectWhileItsEventRuns)
{
    RecordingSink sink;
    std::vector<phone::Value> seen;
    sink.during = [&] {
        seen.push_back(control->getProperty(phone::dispid::LatestText));
        if (sink.events.size() == 2)
            control->connectEvents(nullptr);
    };
    answer(phone::dispid::LatestText, std::u16string(u"Gespräch läuft"));
    control->connectEvents(&sink);
    raiseMany(u"OnRing", 5, ring);
    EXPECT_EQ(sink.events.size(), 2u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_IDENTICAL(seen[1], phone::Value{std::u16string(u"Gespräch läuft")});
    EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
}

TEST_F(ScriptedTest, DisconnectedSinkGetsNothing)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    control->connectEvents(nullptr);
    raise(u"OnRing", ring);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(ScriptedTest, FailingMemberFailsEveryAccessWithItsName)
{
    for (const phone::Member &member : phone::members) {
        SCOPED_TRACE(std::string(member.name));
        failing(member.dispId);
        const std::string description = "Skriptfehler bei " + std::string(member.name);
        EXPECT_EQ(errorOf([&] { control->getProperty(member.dispId); }), description);
        EXPECT_EQ(errorOf([&] { control->putProperty(member.dispId, std::int32_t{1}); }),
                  description);
        EXPECT_EQ(errorOf([&] { call(member.dispId); }), description);
        std::vector<phone::Argument> arguments{{std::int32_t{7}, true}, {u"12#"}};
        EXPECT_EQ(errorOf([&] { control->invoke(member.dispId, arguments); }), description);
    }
}

TEST_F(ScriptedTest, AnAnswerEndsTheFailureOfThatMemberOnly)
{
    failing(phone::dispid::Dial);
    failing(phone::dispid::ConnectionCount);
    EXPECT_EQ(errorOf([&] { call(phone::dispid::Dial); }), "Skriptfehler bei Dial");
    // Others answer as before.
    EXPECT_IDENTICAL(call(phone::dispid::HangUp), phone::Value{});

    answer(phone::dispid::Dial, std::u16string(u"ok"));
    EXPECT_IDENTICAL(call(phone::dispid::Dial), phone::Value{std::u16string(u"ok")});
    EXPECT_EQ(errorOf([&] { control->getProperty(phone::dispid::ConnectionCount); }),
              "Skriptfehler bei ConnectionCount");

    // Failing again, and again answering.
    failing(phone::dispid::Dial);
    EXPECT_EQ(errorOf([&] { call(phone::dispid::Dial); }), "Skriptfehler bei Dial");
    answer(phone::dispid::Dial, std::int32_t{3});
    EXPECT_IDENTICAL(call(phone::dispid::Dial), phone::Value{std::int32_t{3}});
}

TEST_F(ScriptedTest, ByReferenceArgumentsStayTheCallersThroughTheAdapter)
{
    // The double writes 424242 into them (see the raw calls below); the adapter passes copies
    // and drops what came back.
    std::vector<phone::Argument> arguments{
        {std::int32_t{7}, true}, {phone::Empty{}, true}, {std::u16string(u"12#"), true}};
    control->invoke(phone::dispid::SendDTMF, arguments);
    EXPECT_IDENTICAL(arguments[0].value, phone::Value{std::int32_t{7}});
    EXPECT_IDENTICAL(arguments[1].value, phone::Value{});
    EXPECT_IDENTICAL(arguments[2].value, phone::Value{std::u16string(u"12#")});
}

TEST_F(ScriptedTest, WritesOfAnyTypeAreTaken)
{
    const phone::Value written[] = {phone::Empty{},         phone::Null{},   true,
                                    std::int16_t{1},        std::int32_t{2}, 3.5,
                                    std::u16string(u"vier")};
    for (const phone::Value &value : written)
        EXPECT_NO_THROW(control->putProperty(phone::dispid::PopUp, value)) << exactly(value);
    EXPECT_IDENTICAL(control->getProperty(phone::dispid::PopUp), phone::Value{false});
}

TEST_F(ScriptedTest, MembersOutsideTheContractAreUnknown)
{
    EXPECT_EQ(errorOf([this] { control->getProperty(0x60031234); }), "Fehler 0x80020003");
    EXPECT_EQ(errorOf([this] { control->getProperty(ids::LastCall); }), "Fehler 0x80020003");
    // Nothing to script there.
    std::vector<phone::Argument> arguments{{std::int32_t{0x60031234}}, {std::int32_t{1}}};
    EXPECT_THROW(control->invoke(ids::ScriptAnswer, arguments), phone::Error);
    std::vector<phone::Argument> member{{std::int32_t{0x60031234}}};
    EXPECT_THROW(control->invoke(ids::ScriptFailing, member), phone::Error);
}

// The same double without the adapter: a sink and calls of the test's own, to see exactly
// what its events and calls carry.

// "&BSTR 0711", "I4 7": a VARIANT as it arrived.
std::string describe(const VARIANT &value)
{
    if (value.vt == (VT_BYREF | VT_VARIANT))
        return "&" + describe(*value.pvarVal);
    if (value.vt == (VT_BYREF | VT_I4))
        return "&I4 " + std::to_string(*value.plVal);
    if (value.vt == (VT_BYREF | VT_BSTR))
        return "&BSTR " + utf8(phone::com::fromBstr(*value.pbstrVal));
    switch (value.vt) {
    case VT_EMPTY:
        return "Empty";
    case VT_NULL:
        return "Null";
    case VT_BOOL:
        return value.boolVal ? "BOOL true" : "BOOL false";
    case VT_I2:
        return "I2 " + std::to_string(value.iVal);
    case VT_I4:
        return "I4 " + std::to_string(value.lVal);
    case VT_R8:
        return "R8 " + std::to_string(value.dblVal);
    case VT_BSTR:
        return "BSTR " + utf8(phone::com::fromBstr(value.bstrVal));
    default:
        return "VT " + std::to_string(value.vt);
    }
}

// Records every event as "2: &BSTR 0711, &BSTR 4711, &I4 42", arguments in call order.
class RawSink final : public IDispatch
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == tervani_double::eventsId) {
            *object = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *,
                                     EXCEPINFO *, UINT *) override
    {
        std::string line = std::to_string(id) + ":";
        for (UINT i = params->cArgs; i > 0; --i)
            line += (i == params->cArgs ? " " : ", ") + describe(params->rgvarg[i - 1]);
        events.push_back(line);
        // What a sink writes into its arguments stays its own.
        for (UINT i = 0; i < params->cArgs; ++i) {
            if (params->rgvarg[i].vt == (VT_BYREF | VT_VARIANT)) {
                VariantClear(params->rgvarg[i].pvarVal);
                params->rgvarg[i].pvarVal->vt = VT_I4;
                params->rgvarg[i].pvarVal->lVal = -1;
            }
        }
        if (during)
            during();
        return S_OK;
    }

    // The test owns the sink: it outlives every reference the double holds.
    ULONG references() const { return m_references; }

    std::vector<std::string> events;
    std::function<void()> during;

private:
    ULONG m_references = 0;
};

VARIANT textVariant(const wchar_t *text)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    return value;
}

VARIANT longVariant(LONG number)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

class RawScriptedTest : public DoubleLeakCheck<>
{
protected:
    void SetUp() override
    {
        DoubleLeakCheck::SetUp();
        if (HasFatalFailure())
            return;
        ComPtr<IUnknown> created;
        ASSERT_EQ(CoCreateInstance(tervani_double::scriptedClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IUnknown, created.putVoid()),
                  S_OK);
        control = created.query<IDispatch>();
        host = std::make_unique<phone::com::ControlHost>(created, phone::com::ControlPlacement{});
        host->initialise();
        host->activate();
        const auto container = created.query<IConnectionPointContainer>();
        ASSERT_TRUE(container);
        ASSERT_EQ(container->FindConnectionPoint(tervani_double::eventsId, point.put()), S_OK);
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    }
    void TearDown() override
    {
        if (point && cookie)
            point->Unadvise(cookie);
        point.reset();
        host.reset();
        control.reset();
        EXPECT_EQ(sink.references(), 0u);
        DoubleLeakCheck::TearDown();
    }

    // Arguments in call order; each is cleared afterwards.
    HRESULT invoke(DISPID member, std::vector<VARIANT> arguments, VARIANT *result = nullptr,
                   EXCEPINFO *exception = nullptr, IDispatch *target = nullptr)
    {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        EXCEPINFO ignored{};
        const HRESULT hr = (target ? target : control.get())
                               ->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                        &params, result, exception ? exception : &ignored, nullptr);
        for (VARIANT &argument : reversed)
            VariantClear(&argument);
        SysFreeString(ignored.bstrSource);
        SysFreeString(ignored.bstrDescription);
        return hr;
    }
    HRESULT raise(const wchar_t *name, VARIANT callingNumber, VARIANT calledMSN, VARIANT callId)
    {
        return invoke(ids::ScriptRaise, {textVariant(name), callingNumber, calledMSN, callId});
    }
    HRESULT raiseRing(const wchar_t *name)
    {
        return raise(name, textVariant(L"0711"), textVariant(L"4711"), longVariant(42));
    }

    RawSink sink;
    ComPtr<IDispatch> control;
    std::unique_ptr<phone::com::ControlHost> host;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

TEST_F(RawScriptedTest, EventsCarryVariantReferencesToCopiesOfTheValues)
{
    VARIANT flag;
    VariantInit(&flag);
    flag.vt = VT_NULL;
    VARIANT small;
    VariantInit(&small);
    small.vt = VT_I2;
    small.iVal = 5;
    ASSERT_EQ(raise(L"OnRing", textVariant(L"0711"), small, flag), S_OK);
    ASSERT_EQ(raiseRing(L"OnIdle"), S_OK);
    // OnStatus has the one argument.
    ASSERT_EQ(raiseRing(L"OnStatus"), S_OK);
    const std::vector<std::string> expected{
        "2: &BSTR 0711, &I2 5, &Null",
        "1: &BSTR 0711, &BSTR 4711, &I4 42",
        "8: &BSTR 0711",
    };
    EXPECT_EQ(sink.events, expected);
}

TEST_F(RawScriptedTest, AValueGivenByReferenceIsRaisedByValue)
{
    VARIANT held = textVariant(L"0711");
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &held;
    LONG number = 42;
    VARIANT numberReference;
    VariantInit(&numberReference);
    numberReference.vt = VT_BYREF | VT_I4;
    numberReference.plVal = &number;
    ASSERT_EQ(raise(L"OnConnected", reference, textVariant(L"4711"), numberReference), S_OK);
    EXPECT_EQ(sink.events, std::vector<std::string>{"5: &BSTR 0711, &BSTR 4711, &I4 42"});
    // Nothing the sink wrote reached the caller's values.
    EXPECT_EQ(describe(held), "BSTR 0711");
    EXPECT_EQ(number, 42);
    VariantClear(&held);
}

TEST_F(RawScriptedTest, EveryDeliveryStartsFromTheScriptedValues)
{
    // The sink overwrites its arguments each time.
    VARIANT count = longVariant(3);
    ASSERT_EQ(invoke(ids::ScriptRaiseMany, {textVariant(L"OnOffering"), count, textVariant(L"0711"),
                                            textVariant(L"4711"), longVariant(9)}),
              S_OK);
    const std::vector<std::string> expected(3, "3: &BSTR 0711, &BSTR 4711, &I4 9");
    EXPECT_EQ(sink.events, expected);
}

TEST_F(RawScriptedTest, UnlistedNamesReachNoSink)
{
    for (const wchar_t *name : {L"OnFoo", L"onring", L"OnStatus ", L"", L"OnDisconnected"})
        EXPECT_EQ(raiseRing(name), S_OK);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(RawScriptedTest, FrozenEventsAreDropped)
{
    const auto oleControl = control.query<IOleControl>();
    ASSERT_TRUE(oleControl);
    oleControl->FreezeEvents(TRUE);
    EXPECT_EQ(raiseRing(L"OnRing"), S_OK);
    EXPECT_EQ(
        invoke(ids::ScriptRaiseMany, {textVariant(L"OnRing"), longVariant(4), textVariant(L"0711"),
                                      textVariant(L"4711"), longVariant(1)}),
        S_OK);
    EXPECT_TRUE(sink.events.empty());
    oleControl->FreezeEvents(FALSE);
    EXPECT_EQ(raiseRing(L"OnRing"), S_OK);
    EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(RawScriptedTest, ACallWritesIntoItsNumberAndVariantReferences)
{
    LONG number = 7;
    VARIANT held = textVariant(L"x");
    BSTR text = SysAllocString(L"12#");
    VARIANT arguments[3];
    for (VARIANT &argument : arguments)
        VariantInit(&argument);
    arguments[0].vt = VT_BYREF | VT_I4;
    arguments[0].plVal = &number;
    arguments[1].vt = VT_BYREF | VT_VARIANT;
    arguments[1].pvarVal = &held;
    arguments[2].vt = VT_BYREF | VT_BSTR;
    arguments[2].pbstrVal = &text;
    EXPECT_EQ(invoke(phone::dispid::SendDTMF,
                     {arguments[0], arguments[1], arguments[2], textVariant(L"by value")}),
              S_OK);
    EXPECT_EQ(number, 424242);
    EXPECT_EQ(describe(held), "I4 424242");
    EXPECT_EQ(utf8(phone::com::fromBstr(text)), "12#");
    SysFreeString(text);

    // A read writes nothing.
    number = 7;
    DISPPARAMS params{arguments, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(control->Invoke(phone::dispid::SendDTMF, IID_NULL, LOCALE_USER_DEFAULT,
                              DISPATCH_PROPERTYGET, &params, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(number, 7);
    VariantClear(&result);
}

TEST_F(RawScriptedTest, AnAnswerGivenByReferenceIsKeptByValue)
{
    VARIANT held = textVariant(L"Grüße");
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &held;
    EXPECT_EQ(invoke(ids::ScriptAnswer, {longVariant(phone::dispid::LatestText), reference}), S_OK);
    VariantClear(&held);
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(invoke(phone::dispid::LatestText, {}, &result), S_OK);
    EXPECT_EQ(describe(result), "BSTR Grüße");
    VariantClear(&result);
}

TEST_F(RawScriptedTest, AFailureNamesTheMemberAndTheControl)
{
    EXPECT_EQ(invoke(ids::ScriptFailing, {longVariant(phone::dispid::AcceptCall)}), S_OK);
    EXCEPINFO exception{};
    EXPECT_EQ(invoke(phone::dispid::AcceptCall, {longVariant(1)}, nullptr, &exception),
              DISP_E_EXCEPTION);
    EXPECT_EQ(utf8(phone::com::fromBstr(exception.bstrDescription)), "Skriptfehler bei AcceptCall");
    EXPECT_EQ(utf8(phone::com::fromBstr(exception.bstrSource)), "Tervani.TestDoubleScripted");
    EXPECT_EQ(exception.scode, E_FAIL);
    EXPECT_EQ(exception.pfnDeferredFillIn, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

TEST_F(RawScriptedTest, ScriptMembersCheckTheirArguments)
{
    EXPECT_EQ(invoke(ids::ScriptRaise, {textVariant(L"OnRing")}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(
        invoke(ids::ScriptRaise, {longVariant(2), longVariant(0), longVariant(0), longVariant(0)}),
        DISP_E_TYPEMISMATCH);
    EXPECT_EQ(invoke(ids::ScriptAnswer, {textVariant(L"Dial"), longVariant(1)}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(invoke(ids::ScriptFaultOn, {longVariant(phone::dispid::Dial), longVariant(9)}),
              E_INVALIDARG);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(RawScriptedTest, SurvivesASinkThatLetsGoOfItDuringTheEvent)
{
    // The test's last references go while the double is inside ScriptRaiseMany: the call
    // goes through a borrowed pointer, as when a window closes in a handler.
    IDispatch *const raw = control.get();
    sink.during = [this] {
        if (!host)
            return;
        point->Unadvise(cookie);
        cookie = 0;
        point.reset();
        host.reset();
        control.reset();
    };
    const HRESULT hr = invoke(ids::ScriptRaiseMany,
                              {textVariant(L"OnDisConnected"), longVariant(3), textVariant(L"0711"),
                               textVariant(L"4711"), longVariant(5)},
                              nullptr, nullptr, raw);
    EXPECT_EQ(hr, S_OK);
    // No sink left for the other two; the double went when the call ended.
    EXPECT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(doubleLibrary().liveObjects(), 0);
}

} // namespace
} // namespace tervani_tests
