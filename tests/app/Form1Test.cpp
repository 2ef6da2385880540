#include "app/Form1.h"

#include "form/FormLayout.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"
#include "tools/scenario/AccessTrace.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <sstream>
#include <vector>

using form::Control;

namespace {

// One window on a scripted control, shown and active so that the keyboard reaches it.
struct Rig
{
    explicit Rig(bool popUp = false)
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

    static scenario::TracedControl &withPopUp(scenario::TracedControl &control, bool popUp)
    {
        control.setAnswer(phone::dispid::PopUp, popUp);
        return control;
    }

    std::ostringstream accesses;
    scenario::TracedControl control{accesses};
    testsupport::RecordingDialogs dialogs;
    app::Form1 form;
};

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
    void labelTooltipShowsTheWholeCaption_data();
    void labelTooltipShowsTheWholeCaption();
    void aScreenReaderSaysWhatAPersonSees();
    void ctrlZTakesBackWhatTheWindowWroteIntoAField();
};

void Form1Test::windowHasItsCaptionAndFixedClientArea()
{
    Rig rig;
    QCOMPARE(rig.form.windowTitle(), QStringLiteral("Teste ActiveX-Control 2.3"));
    QCOMPARE(rig.form.size(), QSize(500, 379));
    QCOMPARE(rig.form.minimumSize(), rig.form.maximumSize());
    QCOMPARE(rig.form.windowIcon().availableSizes().value(0), QSize(48, 48));
}

void Form1Test::controlsSitWhereTheLayoutPutsThem_data()
{
    // As designed, in twips; written out here, not taken from the window's own table, so that a
    // wrong entry there fails.
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char *name, Control control, const char16_t *text,
                        const char16_t *toolTip, int left, int top, int width, int height) {
        QTest::newRow(name) << static_cast<int>(control) << QString::fromUtf16(text)
                            << QString::fromUtf16(toolTip) << QRect(left, top, width, height);
    };
    row("TXT_Nummer", Control::TXT_Nummer, u"", u"Anzurufende Nummer eingeben", 360, 120, 4695,
        375);
    row("BTN_Dial", Control::BTN_Dial, u"&Wählen", u"", 5280, 120, 975, 375);
    row("BTN_Disconnect", Control::BTN_Disconnect, u"&Auflegen", u"", 6240, 120, 855, 375);
    row("TXT_SMS", Control::TXT_SMS, u"", u"Kurzmitteilung für SMS oder TTS eingeben", 360, 600,
        4695, 375);
    row("BTN_SMS", Control::BTN_SMS, u"&SMS/TTS senden", u"", 5280, 600, 1815, 375);
    row("TXT_DTMF", Control::TXT_DTMF, u"", u"DTMF-Signal Zeichenkette eingeben", 360, 1080, 4695,
        375);
    row("BTN_DTMF", Control::BTN_DTMF, u"&DTMF senden", u"", 5280, 1080, 1815, 375);
    row("TXT_Konvert", Control::TXT_Konvert, u"(012) 34 55 66",
        u"Testet das Konvertieren einer von Tervani erkannten Telefonnummer", 360, 1560, 4695, 375);
    row("BTN_Konvert", Control::BTN_Konvert, u"&Konvertieren", u"", 5280, 1560, 1815, 375);
    row("Annehmen", Control::Annehmen, u"Anruf annehmen", u"", 5280, 2040, 1815, 375);
    row("Label1", Control::Label1, u"Ereignisse und Meldungen", u"", 360, 2520, 1935, 255);
    row("LBL_Anzahl", Control::LBL_Anzahl, u"Anzahl Verbindungen: ", u"", 2520, 2520, 2175, 255);
    row("LBL_Last", Control::LBL_Last, u"Zuletzt: ", u"", 4920, 2520, 2175, 255);
    row("LST_Message", Control::LST_Message, u"", u"", 360, 2880, 6735, 2010);
    row("BTN_Clear", Control::BTN_Clear, u"&Listbox löschen", u"", 360, 5160, 1815, 375);
    row("CHK_PopUp", Control::CHK_PopUp, u"Tervani PopUp anzeigen", u"", 2640, 5160, 2175, 375);
    row("BTN_Exit", Control::BTN_Exit, u"&Beenden", u"", 5160, 5160, 1935, 375);
}

void Form1Test::controlsSitWhereTheLayoutPutsThem()
{
    QFETCH(int, control);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QRect, twips);
    Rig rig;
    QWidget *widget = rig.form.widget(static_cast<Control>(control));
    QCOMPARE(widget->objectName(), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(widget->toolTip(), toolTip);
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *field = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(field->text(), text);
    else
        QCOMPARE(text, QString()); // the list starts empty
}

void Form1Test::opensWithFocusInNumberAndAcceptDisabled()
{
    Rig rig(true);
    QCOMPARE(QApplication::focusWidget(), rig.form.widget(Control::TXT_Nummer));
    QVERIFY(!rig.form.widget(Control::Annehmen)->isEnabled());
    QCOMPARE(rig.widget<QLabel>(Control::LBL_Anzahl)->text(),
             QStringLiteral("Anzahl Verbindungen: "));
    QCOMPARE(rig.widget<QLabel>(Control::LBL_Last)->text(), QStringLiteral("Zuletzt: "));
}

void Form1Test::tabVisitsControlsInDesignedOrder()
{
    Rig rig;
    const std::vector<Control> expected{
        Control::BTN_Dial,    Control::BTN_Disconnect, Control::TXT_SMS,     Control::BTN_SMS,
        Control::TXT_DTMF,    Control::BTN_DTMF,       Control::TXT_Konvert, Control::BTN_Konvert,
        Control::LST_Message, Control::BTN_Clear,      Control::CHK_PopUp,   Control::BTN_Exit,
        Control::TXT_Nummer, // Annehmen is skipped while disabled, labels never take focus
    };
    for (Control next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), rig.form.widget(next)->objectName());
    }
}

void Form1Test::tabIncludesAcceptOnceEnabled()
{
    Rig rig;
    rig.form.widget(Control::Annehmen)->setEnabled(true);
    rig.form.widget(Control::BTN_Exit)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), rig.form.widget(Control::Annehmen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), rig.form.widget(Control::BTN_Exit));
}

void Form1Test::returnPressesNoButton()
{
    Rig rig;
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton *button : rig.form.findChildren<QPushButton *>()) {
        QVERIFY(!button->isDefault());
        spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    }
    for (Control focus : {Control::TXT_Nummer, Control::BTN_Dial, Control::BTN_Konvert}) {
        rig.form.widget(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    }
    QTest::qWait(150); // an access key would click after its press animation
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 0);
    QCOMPARE(rig.accesses.str(), std::string("get PopUp\n"));
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
    Rig rig(popUp);
    QCOMPARE(rig.widget<QCheckBox>(Control::CHK_PopUp)->isChecked(), popUp);
    QCOMPARE(rig.accesses.str(), std::string("get PopUp\n"));

    // Each click writes the box's new value as a 16-bit integer.
    QTest::mouseClick(rig.form.widget(Control::CHK_PopUp), Qt::LeftButton);
    QTest::mouseClick(rig.form.widget(Control::CHK_PopUp), Qt::LeftButton);
    const std::string first = popUp ? "put PopUp i2:0\n" : "put PopUp i2:1\n";
    const std::string second = popUp ? "put PopUp i2:1\n" : "put PopUp i2:0\n";
    QCOMPARE(rig.accesses.str(), "get PopUp\n" + first + second);
}

void Form1Test::failingPopUpReadLeavesTheBoxClear()
{
    std::ostringstream accesses;
    scenario::TracedControl control(accesses);
    control.setAnswer(phone::dispid::PopUp, std::u16string(u"vielleicht"));
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    QVERIFY(!qobject_cast<QCheckBox *>(form.widget(Control::CHK_PopUp))->isChecked());
    QCOMPARE(dialogs.errors.size(), 1u);
    QCOMPARE(dialogs.errors[0].kind, phone::ErrorKind::Type);
}

void Form1Test::altLClearsTheListButNotTheLabels()
{
    Rig rig;
    rig.control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{2});
    rig.control.setAnswer(phone::dispid::LatestText, std::u16string(u"Anruf"));
    rig.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 3});
    rig.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 4});
    QTRY_COMPARE(rig.widget<QListView>(Control::LST_Message)->model()->rowCount(), 2);
    QTRY_COMPARE(rig.widget<QLabel>(Control::LBL_Last)->text(), QStringLiteral("Zuletzt: Anruf"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(rig.form.messages().lineCount(), 0);
    QCOMPARE(rig.widget<QListView>(Control::LST_Message)->model()->rowCount(), 0);
    QCOMPARE(rig.widget<QLabel>(Control::LBL_Anzahl)->text(),
             QStringLiteral("Anzahl Verbindungen:  2"));
    QCOMPARE(rig.widget<QLabel>(Control::LBL_Last)->text(), QStringLiteral("Zuletzt: Anruf"));
    QCOMPARE(rig.form.strEvent(), std::u16string(u"OnIdle"));
    QCOMPARE(rig.form.callIDs().fetch(0), 0);
}

void Form1Test::altBUnloadsTheWindow()
{
    Rig rig;
    QVERIFY(rig.form.isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(!rig.form.isVisible());
}

void Form1Test::labelsShowMarkupAsPlainText()
{
    Rig rig;
    rig.control.setAnswer(phone::dispid::LatestText, std::u16string(u"<b>fett</b> & mehr"));
    rig.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 3});
    auto *label = rig.widget<QLabel>(Control::LBL_Last);
    QTRY_COMPARE(label->text(), QStringLiteral("Zuletzt: <b>fett</b> & mehr"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
}

void Form1Test::labelTooltipShowsTheWholeCaption_data()
{
    QTest::addColumn<QString>("latestText");
    QTest::addColumn<QString>("toolTip");
    const QString number = QStringLiteral("Verbunden mit 030 1234567 über die Zentrale");
    QTest::newRow("wider than the label") << number << QStringLiteral("Zuletzt: ") + number;
    const QString megabyte(1 << 20, u'9');
    QTest::newRow("a megabyte, cut as the label draws it")
        << megabyte << (QStringLiteral("Zuletzt: ") + megabyte).left(1000) + QStringLiteral("…");
}

void Form1Test::labelTooltipShowsTheWholeCaption()
{
    QFETCH(QString, latestText);
    QFETCH(QString, toolTip);
    Rig rig;
    rig.control.setAnswer(phone::dispid::LatestText, latestText.toStdU16String());
    rig.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 3});
    auto *label = rig.widget<QLabel>(Control::LBL_Last);
    QTRY_COMPARE(label->toolTip(), toolTip);
    QCOMPARE(rig.widget<QLabel>(Control::LBL_Anzahl)->toolTip(),
             QStringLiteral("Anzahl Verbindungen:  0"));
}

void Form1Test::aScreenReaderSaysWhatAPersonSees()
{
    Rig rig;
    const auto spoken = [&rig](Control control, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(rig.form.widget(control))->text(text);
    };
    for (const form::ControlLayout &entry : form::formLayout) {
        const QString name = spoken(entry.control, QAccessible::Name);
        QVERIFY2(!name.isEmpty() && name != QLatin1String(entry.name.data(), entry.name.size()),
                 entry.name.data());
        if (entry.kind == form::ControlKind::Button || entry.kind == form::ControlKind::CheckBox)
            QCOMPARE(name, QString::fromStdU16String(std::u16string(entry.caption)).remove(u'&'));
        if (entry.kind == form::ControlKind::TextField)
            QCOMPARE(spoken(entry.control, QAccessible::Description),
                     QString::fromStdU16String(std::u16string(entry.toolTip)));
    }
    QCOMPARE(spoken(Control::LST_Message, QAccessible::Name),
             QStringLiteral("Ereignisse und Meldungen"));

    // A label's name is its caption as it changes.
    rig.control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{2});
    rig.control.raiseEvent("OnIdle", {std::u16string(u"1"), std::u16string(u"2"), 3});
    QTRY_COMPARE(spoken(Control::LBL_Anzahl, QAccessible::Name),
                 QStringLiteral("Anzahl Verbindungen:  2"));
}

void Form1Test::ctrlZTakesBackWhatTheWindowWroteIntoAField()
{
    Rig rig;
    auto *konvert = rig.widget<QLineEdit>(Control::TXT_Konvert);
    konvert->setFocus();
    konvert->selectAll();
    QTest::keyClicks(konvert, QStringLiteral("0171 99"));
    QTest::mouseDClick(konvert, Qt::LeftButton);
    QCOMPARE(konvert->text(), QStringLiteral("(012) 34 55 66"));
    QTest::keyClick(konvert, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(konvert->text(), QStringLiteral("0171 99"));
    // Taking it back is the user's own edit: the window reads it as typed.
    QCOMPARE(rig.form.text(Control::TXT_Konvert), std::u16string(u"0171 99"));

    // A conversion's result likewise.
    rig.control.setAnswer(phone::dispid::ConvertNumber, std::u16string(u"+49 171 99"));
    QTest::mouseClick(rig.widget<QPushButton>(Control::BTN_Konvert), Qt::LeftButton);
    QCOMPARE(konvert->text(), QStringLiteral("+49 171 99"));
    QTest::keyClick(konvert, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(konvert->text(), QStringLiteral("0171 99"));
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
