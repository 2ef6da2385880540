#pragma once

#include "form/FormPort.h"

#include <array>
#include <string_view>

namespace form {

enum class ControlKind { TextField, Button, Label, List, CheckBox };

// One control of Form1 as designed: geometry in twips (15 to a pixel at 96 dpi) and its
// place in the tab order.
struct ControlLayout
{
    Control control;
    std::string_view name;
    ControlKind kind;
    std::u16string_view caption; // caption or initial text
    std::u16string_view toolTip;
    int left, top, width, height;
    int tabIndex;
};

inline constexpr int twipsPerPixel = 15;
inline constexpr int clientWidthTwips = 7500;
inline constexpr int clientHeightTwips = 5685;

inline constexpr std::u16string_view windowCaption = u"Teste ActiveX-Control 2.3";
inline constexpr std::u16string_view sampleNumber = u"(012) 34 55 66";
inline constexpr std::u16string_view countCaption = u"Anzahl Verbindungen: ";
inline constexpr std::u16string_view latestCaption = u"Zuletzt: ";

// In the order of their rows on screen.
inline constexpr std::array<ControlLayout, controlCount> formLayout{{
    {Control::TXT_Nummer, "TXT_Nummer", ControlKind::TextField, u"", u"Anzurufende Nummer eingeben",
     360, 120, 4695, 375, 0},
    {Control::BTN_Dial, "BTN_Dial", ControlKind::Button, u"&Wählen", u"", 5280, 120, 975, 375, 1},
    {Control::BTN_Disconnect, "BTN_Disconnect", ControlKind::Button, u"&Auflegen", u"", 6240, 120,
     855, 375, 2},
    {Control::TXT_SMS, "TXT_SMS", ControlKind::TextField, u"",
     u"Kurzmitteilung für SMS oder TTS eingeben", 360, 600, 4695, 375, 3},
    {Control::BTN_SMS, "BTN_SMS", ControlKind::Button, u"&SMS/TTS senden", u"", 5280, 600, 1815,
     375, 4},
    {Control::TXT_DTMF, "TXT_DTMF", ControlKind::TextField, u"",
     u"DTMF-Signal Zeichenkette eingeben", 360, 1080, 4695, 375, 5},
    {Control::BTN_DTMF, "BTN_DTMF", ControlKind::Button, u"&DTMF senden", u"", 5280, 1080, 1815,
     375, 6},
    {Control::TXT_Konvert, "TXT_Konvert", ControlKind::TextField, sampleNumber,
     u"Testet das Konvertieren einer von Tervani erkannten Telefonnummer", 360, 1560, 4695, 375, 7},
    {Control::BTN_Konvert, "BTN_Konvert", ControlKind::Button, u"&Konvertieren", u"", 5280, 1560,
     1815, 375, 8},
    {Control::Annehmen, "Annehmen", ControlKind::Button, u"Anruf annehmen", u"", 5280, 2040, 1815,
     375, 16},
    {Control::Label1, "Label1", ControlKind::Label, u"Ereignisse und Meldungen", u"", 360, 2520,
     1935, 255, 13},
    {Control::LBL_Anzahl, "LBL_Anzahl", ControlKind::Label, countCaption, u"", 2520, 2520, 2175,
     255, 14},
    {Control::LBL_Last, "LBL_Last", ControlKind::Label, latestCaption, u"", 4920, 2520, 2175, 255,
     15},
    {Control::LST_Message, "LST_Message", ControlKind::List, u"", u"", 360, 2880, 6735, 2010, 9},
    {Control::BTN_Clear, "BTN_Clear", ControlKind::Button, u"&Listbox löschen", u"", 360, 5160,
     1815, 375, 10},
    {Control::CHK_PopUp, "CHK_PopUp", ControlKind::CheckBox, u"Tervani PopUp anzeigen", u"", 2640,
     5160, 2175, 375, 11},
    {Control::BTN_Exit, "BTN_Exit", ControlKind::Button, u"&Beenden", u"", 5160, 5160, 1935, 375,
     12},
}};

constexpr bool layoutFollowsControlOrder()
{
    for (std::size_t i = 0; i < formLayout.size(); ++i) {
        if (static_cast<std::size_t>(formLayout[i].control) != i)
            return false;
    }
    return true;
}
static_assert(layoutFollowsControlOrder(), "formLayout is indexed by Control");

constexpr const ControlLayout &layoutOf(Control control)
{
    return formLayout[static_cast<std::size_t>(control)];
}

constexpr const ControlLayout *findLayout(std::string_view name)
{
    for (const ControlLayout &entry : formLayout) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

} // namespace form
