// The bench against the control host under Wine, with the scripted COM double hosted in place:
// the window's handlers reach it as they reach the real control, and when the host dies,
// hangs or writes garbage in the middle of a handler, that handler stops with a German error
// naming the cause, the window keeps its log, and later accesses fail the same way at once.

#include "phone/remote/HostedControl.h"
#include "app/ErrorReportText.h"
#include "app/Form1.h"
#include "form/FormLayout.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/remote/ChildProcess.h"
#include "phone/remote/Framing.h"
#include "phone/remote/HostLauncher.h"
#include "phone/remote/PipeStream.h"
#include "phone/remote/StreamChannel.h"
#include "phone/scripted/ScriptIds.h"
#include "tests/hosted/HostBitness.h"
#include "tests/support/RecordingDialogs.h"
#include "tools/scenario/HostedScript.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <array>
#include <memory>

namespace script = phone::scripted::ids;
using form::Control;
using namespace std::chrono_literals;

namespace {

void scriptAnswer(phone::Dispatch &control, std::int32_t dispId, const phone::Value &value)
{
    std::array<phone::Argument, 2> arguments{phone::Argument{dispId}, phone::Argument{value}};
    control.invoke(script::Answer, arguments);
}

void scriptRing(phone::Dispatch &control, std::int32_t callId)
{
    std::array<phone::Argument, 4> arguments{
        phone::Argument{std::u16string(u"OnRing")}, phone::Argument{std::u16string(u"0301234")},
        phone::Argument{std::u16string(u"4711")}, phone::Argument{callId}};
    control.invoke(script::Raise, arguments);
}

} // namespace

class HostedControlTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theWindowWorksThroughTheHost_data();
    void theWindowWorksThroughTheHost();
    void aControlThatCannotBeCreatedGivesTheHostsReason();
    void faultsStopTheRunningHandler_data();
    void faultsStopTheRunningHandler();
    void theHostEndsByItself_data();
    void theHostEndsByItself();
    void theReportNumbersTheErrorAsTheRuntimeDoes_data();
    void theReportNumbersTheErrorAsTheRuntimeDoes();
    void aDriftedControlIsToldOnItsFirstFailure_data();
    void aDriftedControlIsToldOnItsFirstFailure();

private:
    phone::remote::HostCommand m_command;
};

void HostedControlTest::initTestCase()
{
    m_command = scenario::prepareHostUnderWine(QCoreApplication::applicationDirPath());
}

void HostedControlTest::theWindowWorksThroughTheHost_data()
{
    hosted::addHostRows();
}

void HostedControlTest::theWindowWorksThroughTheHost()
{
    QFETCH(int, bits);
    if (const char *reason = hosted::hostCannotRun(bits))
        QSKIP(reason);
    const phone::remote::HostCommand command = hosted::hostOfBits(m_command, bits);
    if (bits == 32)
        QCOMPARE(command.arguments.front(), std::string("/usr/lib/wine/wine"));
    phone::remote::HostedControl control(command, script::progIdText);
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);

    scriptAnswer(control, phone::dispid::ConnectionCount, std::int32_t{3});
    scriptAnswer(control, phone::dispid::LatestText, std::u16string(u"Gespräch läuft"));
    scriptRing(control, 42);
    QCOMPARE(form.messages().lineCount(), qsizetype(1));
    // Str's sign position: a blank before a number that is not negative.
    QCOMPARE(form.caption(Control::LBL_Anzahl), std::u16string(form::countCaption) + u" 3");
    QCOMPARE(form.caption(Control::LBL_Last),
             std::u16string(form::latestCaption) + u"Gespräch läuft");
    QVERIFY(form.widget(Control::Annehmen)->isEnabled());
    QVERIFY(dialogs.errors.empty());
}

void HostedControlTest::aControlThatCannotBeCreatedGivesTheHostsReason()
{
    try {
        phone::remote::HostedControl control(m_command, u"Tervani.NoSuchControl");
        QFAIL("created");
    } catch (const phone::Error &error) {
        QCOMPARE(error.kind(), phone::ErrorKind::Component);
        QCOMPARE(QString::fromStdString(error.description()),
                 QStringLiteral("Das Steuerelement „Tervani.NoSuchControl“ konnte nicht erstellt "
                                "werden.\nFehler 0x800401F3\nDer Name ist auf diesem Rechner "
                                "nicht registriert; das tut das Installationsprogramm des "
                                "Steuerelements (oder regsvr32 mit seiner Datei)."));
    }
}

void HostedControlTest::faultsStopTheRunningHandler_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("cause");
    QTest::newRow("host killed") << int(script::ExitFault)
                                 << QStringLiteral("Der Steuerelement-Host ist beendet.");
    QTest::newRow("host never answers")
        << int(script::HangFault)
        << QStringLiteral("Der Steuerelement-Host antwortet nicht (2 s).");
    QTest::newRow("garbage on the pipe")
        << int(script::GarbageFault)
        << QStringLiteral("Der Steuerelement-Host hat unlesbare Daten gesendet: Rahmen zu groß "
                          "(2147483647 Bytes, höchstens 67108864)");
}

void HostedControlTest::faultsStopTheRunningHandler()
{
    QFETCH(int, fault);
    QFETCH(QString, cause);
    phone::remote::HostCommand command = m_command;
    command.timeout = 2s;
    command.closeGrace = 500ms;
    phone::remote::HostedControl control(command, script::progIdText);
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    scriptRing(control, 7);
    QCOMPARE(form.messages().lineCount(), qsizetype(1));

    std::array<phone::Argument, 2> arguments{phone::Argument{phone::dispid::Dial},
                                             phone::Argument{std::int32_t{fault}}};
    control.invoke(script::FaultOn, arguments);
    static_cast<QLineEdit *>(form.widget(Control::TXT_Nummer))->setText(QStringLiteral("0301"));
    QTest::mouseClick(form.widget(Control::BTN_Dial), Qt::LeftButton);
    QCOMPARE(dialogs.errors.size(), std::size_t(1));
    QVERIFY2(QString::fromStdString(dialogs.errors[0].description).startsWith(cause),
             dialogs.errors[0].description.c_str());
    QCOMPARE(form.messages().lineCount(), qsizetype(1));

    // Lost for good: the next handler stops the same way, without waiting for anything.
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form.widget(Control::BTN_Dial), Qt::LeftButton);
    QVERIFY2(clock.elapsed() < 500, QByteArray::number(clock.elapsed()));
    QCOMPARE(dialogs.errors.size(), std::size_t(2));
    QCOMPARE(dialogs.errors[1].description, dialogs.errors[0].description);
    QVERIFY(control.remote().broken());
    QCOMPARE(form.messages().lineCount(), qsizetype(1));
}

void HostedControlTest::theHostEndsByItself_data()
{
    QTest::addColumn<bool>("saysClose");
    QTest::newRow("told to close") << true;
    QTest::newRow("the bench gone without a word") << false;
}

// Either way the host lets go of the control in order and ends by itself, reading the end
// of its input.
void HostedControlTest::theHostEndsByItself()
{
    QFETCH(bool, saysClose);
    phone::remote::Pipe toHost = phone::remote::makePipe();
    phone::remote::Pipe fromHost = phone::remote::makePipe();
    phone::remote::ChildProcess host(m_command.arguments, m_command.environment,
                                     std::move(toHost.readEnd), std::move(fromHost.writeEnd));
    phone::remote::PipeStream stream(std::move(fromHost.readEnd), std::move(toHost.writeEnd));
    phone::remote::StreamChannel channel(stream);
    channel.send(phone::remote::encode(phone::remote::Hello{}));
    channel.send(phone::remote::encode(phone::remote::Create{script::progIdText}));
    const std::optional<phone::remote::Frame> hello = channel.receive();
    QVERIFY(hello);
    QVERIFY(std::holds_alternative<phone::remote::Hello>(phone::remote::decode(*hello)));
    const std::optional<phone::remote::Frame> created = channel.receive();
    QVERIFY(created);
    QVERIFY(std::holds_alternative<phone::remote::Result>(phone::remote::decode(*created)));

    if (saysClose)
        channel.send(phone::remote::encode(phone::remote::Close{}));
    else
        stream.closeWrite();
    QVERIFY(host.waitFor(20s));
    // Whatever it said last, its output then ends.
    int frames = 0;
    while (channel.receive())
        QVERIFY(++frames < 3);
}

void HostedControlTest::theReportNumbersTheErrorAsTheRuntimeDoes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("heading");
    // The windowed double's Fail(mode) modes.
    QTest::newRow("EXCEPINFO with the control's own number")
        << 6 << QStringLiteral("Laufzeitfehler '380'");
    QTest::newRow("EXCEPINFO with a code of the runtime's facility")
        << 7 << QStringLiteral("Laufzeitfehler '380'");
    QTest::newRow("a failing code of the runtime's facility")
        << 8 << QStringLiteral("Laufzeitfehler '2'");
    QTest::newRow("any other failing code")
        << 4 << QStringLiteral("Laufzeitfehler '-2147024891 (80070005)'");
}

void HostedControlTest::theReportNumbersTheErrorAsTheRuntimeDoes()
{
    QFETCH(int, mode);
    QFETCH(QString, heading);
    // The windowed test double's Fail(mode), a member of its own.
    constexpr std::int32_t failMember = 0x60030101;
    phone::remote::HostedControl control(m_command, u"Tervani.TestDoubleWindowed");
    std::array<phone::Argument, 1> arguments{phone::Argument{std::int32_t{mode}}};
    try {
        control.invoke(failMember, arguments);
        QFAIL("no error");
    } catch (const phone::Error &error) {
        QCOMPARE(QString::fromStdString(app::errorHeading(error)), heading);
    }
}

void HostedControlTest::aDriftedControlIsToldOnItsFirstFailure_data()
{
    hosted::addHostRows();
}

// The host checks the control's type information when it creates it; a control that
// conforms says nothing more, one whose Dial moved says so with the first error, once.
void HostedControlTest::aDriftedControlIsToldOnItsFirstFailure()
{
    QFETCH(int, bits);
    if (const char *reason = hosted::hostCannotRun(bits))
        QSKIP(reason);
    const phone::remote::HostCommand command = hosted::hostOfBits(m_command, bits);
    {
        phone::remote::HostedControl conforming(command, u"Tervani.TestDouble");
        QVERIFY(conforming.remote().contract());
        QVERIFY(conforming.remote().contract()->matches());
    }
    phone::remote::HostedControl control(command, u"Tervani.TestDoubleDrifted");
    QVERIFY(control.remote().contract());
    const std::string moved = "Dial 0x6003000A Methode (BSTR): andere ID 0x6003001A";
    QCOMPARE(control.remote().contract()->differences(), moved);

    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    static_cast<QLineEdit *>(form.widget(Control::TXT_Nummer))->setText(QStringLiteral("0301"));
    QTest::mouseClick(form.widget(Control::BTN_Dial), Qt::LeftButton);
    QTest::mouseClick(form.widget(Control::BTN_Dial), Qt::LeftButton);
    QCOMPARE(dialogs.errors.size(), std::size_t(2));
    const std::string told =
        "\nDas installierte Steuerelement weicht vom erwarteten Vertrag ab: " + moved;
    QVERIFY2(dialogs.errors[0].description.ends_with(told), dialogs.errors[0].description.c_str());
    QVERIFY2(dialogs.errors[1].description.find("Vertrag") == std::string::npos,
             dialogs.errors[1].description.c_str());
}

QTEST_MAIN(HostedControlTest)
#include "HostedControlTest.moc"
