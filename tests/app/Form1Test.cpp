#include "app/Form1.h"

#include "app/FormLayout.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"
#include "tools/scenario/ScriptedControl.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <sstream>
#include <vector>

using app::Control;

namespace {

// One window on a scripted control, shown and active so that the keyboard reaches it.
struct Bench
{
    explicit Bench(bool popUp = false)
        : form(withPopUp(control, popUp), dialogs)
    {
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    template <typename Widget = QWidget>
    Widget *widget(Control control) const
    {
        return qobject_cast<Widget *>(form.widget(control));
    }

    static scenario::ScriptedControl &withPopUp(scenario::ScriptedControl &control, bool popUp)
    {
        control.setAnswer(phone::dispid::PopUp, popUp);
        return control;
    }

    std::ostringstream accesses;
    scenario::ScriptedControl control{accesses};
    testsupport::RecordingDialogs dialogs;
    app::Form1 form;
};

QString qt(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void windowHasItsCaptionAndFixedClientArea();
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void opensWithFocusInNumberAndAcceptDisabled();
    void tabVisitsControlsInDesignedOrder();
    void tabIncludesAcceptOnceEnabled();
    void returnPressesNoButton();
    void loadStepMirrorsPopUpWithoutWritingItBack_data();
    void loadStepMirrorsPopUpWithoutWritingItBack();
    void failingPopUpReadLeavesTheBoxClear();
    void altLClearsTheListButNotTheLabels();
    void altBUnloadsTheWindow();
    void labelsShowMarkupAsPlainText();
};

void Form1Test::windowHasItsCaptionAndFixedClientArea()
{
    Bench bench;
    QCOMPARE(bench.form.windowTitle(), QStringLiteral("Teste ActiveX-Control 2.3"));
    QCOMPARE(bench.form.size(), QSize(500, 379));
    QCOMPARE(bench.form.minimumSize(), bench.form.maximumSize());
    QCOMPARE(bench.form.windowIcon().availableSizes().value(0), QSize(48, 48));
}

void Form1Test::controlsSitWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<int>("control");
    for (const app::ControlLayout &entry : app::formLayout)
        QTest::newRow(entry.name.data()) << static_cast<int>(entry.control);
}

void Form1Test::controlsSitWhereTheLayoutPutsThem()
{
    QFETCH(int, control);
    Bench bench;
    const app::ControlLayout &entry = app::layoutOf(static_cast<Control>(control));
    QWidget *widget = bench.form.widget(entry.control);
    QCOMPARE(widget->objectName(), QString::fromLatin1(entry.name.data(), entry.name.size()));
    QCOMPARE(widget->geometry(),
             QRect(entry.left / 15, entry.top / 15, entry.width / 15, entry.height / 15));
    QCOMPARE(widget->toolTip(), qt(entry.toolTip));
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), qt(entry.caption));
    else if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), qt(entry.caption));
    else if (auto *field = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(field->text(), qt(entry.caption));
}

void Form1Test::opensWithFocusInNumberAndAcceptDisabled()
{
    Bench bench(true);
    QCOMPARE(QApplication::focusWidget(), bench.form.widget(Control::TXT_Nummer));
    QVERIFY(!bench.form.widget(Control::Annehmen)->isEnabled());
    QCOMPARE(bench.widget<QLabel>(Control::LBL_Anzahl)->text(),
             QStringLiteral("Anzahl Verbindungen: "));
    QCOMPARE(bench.widget<QLabel>(Control::LBL_Last)->text(), QStringLiteral("Zuletzt: "));
}

void Form1Test::tabVisitsControlsInDesignedOrder()
{
    Bench bench;
    const std::vector<Control> expected{
        Control::BTN_Dial,    Control::BTN_Disconnect, Control::TXT_SMS,     Control::BTN_SMS,
        Control::TXT_DTMF,    Control::BTN_DTMF,       Control::TXT_Konvert, Control::BTN_Konvert,
        Control::LST_Message, Control::BTN_Clear,      Control::CHK_PopUp,   Control::BTN_Exit,
        Control::TXT_Nummer, // Annehmen is skipped while disabled, labels never take focus
    };
    for (Control next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), bench.form.widget(next)->objectName());
    }
}

void Form1Test::tabIncludesAcceptOnceEnabled()
{
    Bench bench;
    bench.form.widget(Control::Annehmen)->setEnabled(true);
    bench.form.widget(Control::BTN_Exit)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), bench.form.widget(Control::Annehmen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), bench.form.widget(Control::BTN_Exit));
}

void Form1Test::returnPressesNoButton()
{
    Bench bench;
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton *button : bench.form.findChildren<QPushButton *>()) {
        QVERIFY(!button->isDefault());
        spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    }
    for (Control focus : {Control::TXT_Nummer, Control::BTN_Dial, Control::BTN_Konvert}) {
        bench.form.widget(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    }
    QTest::qWait(150); // an access key would click after its press animation
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 0);
    QCOMPARE(bench.accesses.str(), std::string("get PopUp\n"));
}

void Form1Test::loadStepMirrorsPopUpWithoutWritingItBack_data()
{
    QTest::addColumn<bool>("popUp");
    QTest::newRow("pop-up on") << true;
    QTest::newRow("pop-up off") << false;
}

void Form1Test::loadStepMirrorsPopUpWithoutWritingItBack()
{
    QFETCH(bool, popUp);
    Bench bench(popUp);
    QCOMPARE(bench.widget<QCheckBox>(Control::CHK_PopUp)->isChecked(), popUp);
    QCOMPARE(bench.accesses.str(), std::string("get PopUp\n"));

    // Each click writes the box's new value as a 16-bit integer.
    QTest::mouseClick(bench.form.widget(Control::CHK_PopUp), Qt::LeftButton);
    QTest::mouseClick(bench.form.widget(Control::CHK_PopUp), Qt::LeftButton);
    const std::string first = popUp ? "put PopUp i2:0\n" : "put PopUp i2:1\n";
    const std::string second = popUp ? "put PopUp i2:1\n" : "put PopUp i2:0\n";
    QCOMPARE(bench.accesses.str(), "get PopUp\n" + first + second);
}

void Form1Test::failingPopUpReadLeavesTheBoxClear()
{
    std::ostringstream accesses;
    scenario::ScriptedControl control(accesses);
    control.setAnswer(phone::dispid::PopUp, std::u16string(u"vielleicht"));
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    QVERIFY(!qobject_cast<QCheckBox *>(form.widget(Control::CHK_PopUp))->isChecked());
    QCOMPARE(dialogs.errors.size(), 1u);
    QCOMPARE(dialogs.errors[0].kind, phone::ErrorKind::Type);
}

void Form1Test::altLClearsTheListButNotTheLabels()
{
    Bench bench;
    bench.control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{2});
    bench.control.setAnswer(phone::dispid::LatestText, std::u16string(u"Anruf"));
    bench.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 3});
    bench.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 4});
    QTRY_COMPARE(bench.widget<QListView>(Control::LST_Message)->model()->rowCount(), 2);
    QTRY_COMPARE(bench.widget<QLabel>(Control::LBL_Last)->text(), QStringLiteral("Zuletzt: Anruf"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(bench.form.messages().lineCount(), 0);
    QCOMPARE(bench.widget<QListView>(Control::LST_Message)->model()->rowCount(), 0);
    QCOMPARE(bench.widget<QLabel>(Control::LBL_Anzahl)->text(),
             QStringLiteral("Anzahl Verbindungen:  2"));
    QCOMPARE(bench.widget<QLabel>(Control::LBL_Last)->text(), QStringLiteral("Zuletzt: Anruf"));
    QCOMPARE(bench.form.strEvent(), std::u16string(u"OnIdle"));
    QCOMPARE(bench.form.callIDs().fetch(0), 0);
}

void Form1Test::altBUnloadsTheWindow()
{
    Bench bench;
    QVERIFY(bench.form.isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(!bench.form.isVisible());
}

void Form1Test::labelsShowMarkupAsPlainText()
{
    Bench bench;
    bench.control.setAnswer(phone::dispid::LatestText, std::u16string(u"<b>fett</b> & mehr"));
    bench.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 3});
    auto *label = bench.widget<QLabel>(Control::LBL_Last);
    QTRY_COMPARE(label->text(), QStringLiteral("Zuletzt: <b>fett</b> & mehr"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
