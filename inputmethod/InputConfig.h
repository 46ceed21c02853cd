#pragma once
// What the input panel is told by its user: the layouts to offer, its height and position, and
// the keyboard's options. It comes from a configuration file (INI) and the environment:
//
//   QUIMBEL_LAYOUTS=de,us           the layouts, first one the default (overrides the file)
//   QUIMBEL_CONFIG=/path/file.conf  the file; else $XDG_CONFIG_HOME/quimbel/keyboard.conf
//                                   (~/.config when unset), else /etc/xdg/quimbel/keyboard.conf
//
// Every line the panel cannot use is reported, with the file, the line and the reason, and the
// default stays in force, so that a kiosk's setup never fails silently.

#include "qtkeyboard/QuimbelKeyboard.h"

#include <QColor>
#include <QString>
#include <QStringList>

namespace quimbel::im {

enum class PanelPosition {
    Bottom,    // always at the bottom; the field is scrolled or its window moved into sight
    Top,       // always at the top
    Automatic, // at the bottom unless it would cover the field and nothing else can move it
};

struct InputConfig {
    QStringList layouts{QStringLiteral("us")};
    int heightPercent = 33; // of the height of the screen the focused window is on
    PanelPosition position = PanelPosition::Automatic;
    bool beep = false;
    QColor highlightColor; // invalid: the keyboard's own
    QuimbelKeyboard::Theme theme = QuimbelKeyboard::ClassicTheme;
    // Typing on a touch screen, as QuimbelKeyboard has it by default.
    bool keyRepeat = true;
    int repeatDelay = 500; // milliseconds before a held key repeats or opens its alternates
    int repeatRate = 20;   // repeats a second
    bool longPress = true; // a held letter offers its accented forms
    bool multiTouch = true;
    bool scaleCaptions = true;
    bool latching = true;       // a double tap locks Shift or Alt Gr
    bool capsLettersOnly = true; // Caps Lock leaves digits and signs alone
    bool keyPreview = true;     // never over fields for hidden text
    // The panel is made ready (created, its layout loaded, its window created hidden, painted
    // once off the screen) in the first idle moment after the program's windows showed, so that
    // the first tap into a field finds it ready; off, the first show makes it.
    bool prepare = true;
};

// The configuration in force: defaults, then the file, then QUIMBEL_LAYOUTS. Each problem is one
// line of Problems ("file:line: reason" or "QUIMBEL_LAYOUTS: reason").
InputConfig ReadInputConfig(QStringList& Problems);
// The file ReadInputConfig reads, or empty when none of the places has one.
QString InputConfigFile();
// Applies the INI text of File to Config; lines it cannot use leave the defaults.
void ParseInputConfig(const QByteArray& Text, const QString& File, InputConfig& Config,
                      QStringList& Problems);
// A comma-separated list of built-in layout names and layout file paths; layouts that do not load
// are left out and reported with Where in front. Returns the layouts that load, in order.
QStringList ParseLayoutList(const QString& Value, const QString& Where, QStringList& Problems);
// Why a layout (built-in name or file) does not load, or empty when it does.
QString LayoutProblem(const QString& Layout);

} // namespace quimbel::im
