#pragma once
// QuimbelKeyboard: the on-screen keyboard as a plain Qt widget.
//
//   auto* keyboard = new QuimbelKeyboard(window);   // owned by its parent like any widget
//   keyboard->setKeyLayout("de");                   // a built-in layout or a .kly file
//   keyboard->setFollowFocus(true);                 // types into whichever text widget has focus
//
// Its keys type into the target widget (QLineEdit, QTextEdit, QPlainTextEdit or any widget that
// takes key input) as key presses, except that a character for a plain QLineEdit goes in through
// QLineEdit::insert; either way the target edits as it does with a physical keyboard.
// Neither the keyboard nor its keys ever take the focus.
//
// It is made for touch screens: every finger presses its own key, held keys repeat, a long press
// offers the accented forms of a letter, captions scale with the keyboard and shrink to fit,
// Shift and Alt Gr lock on a double tap, Caps Lock shifts letters only, and a held key shows
// enlarged above the finger (never while the target is a password field). The component's
// options (keyboard()->SetKeyRepeat(false), ...) switch each of them off again. The keyboard
// installs the library's Qt widgetset on first use; a program needs nothing else.

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace quimbel {
class TKeyboard;
}
namespace vcl::qt {
class TQtWidgetControl;
}

class QuimbelKeyboard : public QWidget {
    Q_OBJECT
    // A built-in layout (quimbel::BuiltInLayouts: "us", "de", "numpad", "ru", "el"; not
    // case-sensitive) or the path of a layout file. The strings of a layout are bytes of the
    // active ANSI code page, so "ru" and "el" show their letters once the program has activated
    // their code page (vcl::SetAnsiCodePage).
    Q_PROPERTY(QString keyLayout READ keyLayout WRITE setKeyLayout NOTIFY keyLayoutChanged)
    // The colour of the captions of Shift, Caps Lock and Alt Gr while they are on.
    Q_PROPERTY(QColor highlightColor READ highlightColor WRITE setHighlightColor)
    // Beeps on every key press.
    Q_PROPERTY(bool beep READ beep WRITE setBeep)
    // The case of the text keyTyped reports: as the key gives it, or its ASCII letters as
    // capitals or small letters. What the keys type into the target keeps the key's own case.
    Q_PROPERTY(CharCase charCase READ charCase WRITE setCharCase)
    // Links the keyboard to the text widget that has the focus, as the focus moves.
    Q_PROPERTY(bool followFocus READ followFocus WRITE setFollowFocus)
    // Shows a held key enlarged above the finger, except while the target hides what is typed.
    Q_PROPERTY(bool keyPreview READ keyPreview WRITE setKeyPreview)
    Q_PROPERTY(bool shift READ isShift WRITE setShift NOTIFY shiftChanged)
    Q_PROPERTY(bool capsLock READ isCapsLock WRITE setCapsLock NOTIFY capsLockChanged)
    Q_PROPERTY(bool altGr READ isAltGr WRITE setAltGr NOTIFY altGrChanged)
    // Switch scanning, off by default: rows light up in turn, a switch picks the row, then the
    // keys of the row light up and a switch presses one. Automatic scanning steps every
    // scanInterval milliseconds and needs one switch; step scanning moves on the move switch.
    // A switch is a key pressed anywhere in the application (one that has a virtual-key code:
    // letters, digits, F1 to F24, Space, Return, Tab, Backspace, Escape, the arrows and the
    // editing keys) or a mouse button (left, right or middle) on the keyboard; the move switch
    // counts in step scanning only.
    Q_PROPERTY(SwitchScanning switchScanning READ switchScanning WRITE setSwitchScanning)
    Q_PROPERTY(int scanInterval READ scanInterval WRITE setScanInterval)
    Q_PROPERTY(int switchKey READ switchKey WRITE setSwitchKey)
    Q_PROPERTY(int moveSwitchKey READ moveSwitchKey WRITE setMoveSwitchKey)
    Q_PROPERTY(Qt::MouseButton switchButton READ switchButton WRITE setSwitchButton)
    Q_PROPERTY(Qt::MouseButton moveSwitchButton READ moveSwitchButton WRITE setMoveSwitchButton)
    // Dwell: the pointer resting on a key this many milliseconds presses it, with a bar on the
    // key that fills meanwhile; 0 (the default) turns it off.
    Q_PROPERTY(int dwellTime READ dwellTime WRITE setDwellTime)
    // How the keys look: the classic bevelled button (the default), the application style's
    // push button, or flat keys in light, dark or high-contrast colours. The colours below
    // override the theme's own one by one (an invalid colour keeps the theme's), so a style
    // sheet restyles the keyboard: QuimbelKeyboard { qproperty-keyColor: #223344; }. In the
    // native theme the key and caption colours replace the palette's button colours.
    Q_PROPERTY(Theme theme READ theme WRITE setTheme)
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor keyColor READ keyColor WRITE setKeyColor)
    Q_PROPERTY(QColor keyTextColor READ keyTextColor WRITE setKeyTextColor)
    Q_PROPERTY(QColor pressedKeyColor READ pressedKeyColor WRITE setPressedKeyColor)
    Q_PROPERTY(QColor pressedKeyTextColor READ pressedKeyTextColor WRITE setPressedKeyTextColor)
    Q_PROPERTY(QColor keyEdgeColor READ keyEdgeColor WRITE setKeyEdgeColor)
    // Captions of modifiers that are on, and the scanning and dwell marks.
    Q_PROPERTY(QColor accentColor READ accentColor WRITE setAccentColor)

public:
    enum CharCase { NormalCase, UpperCase, LowerCase };
    Q_ENUM(CharCase)
    enum SwitchScanning { NoScanning, AutomaticScanning, StepScanning };
    Q_ENUM(SwitchScanning)
    enum Theme { ClassicTheme, NativeTheme, LightTheme, DarkTheme, HighContrastTheme };
    Q_ENUM(Theme)

    explicit QuimbelKeyboard(QWidget* parent = nullptr);
    ~QuimbelKeyboard() override;

    QString keyLayout() const { return keyLayout_; }
    // Loads a layout; on failure the keyboard keeps its keys, returns false and tells why in
    // errorString().
    bool loadKeyLayout(const QString& layout);
    QString errorString() const { return errorString_; }

    QColor highlightColor() const;
    void setHighlightColor(const QColor& color);
    bool beep() const;
    void setBeep(bool on);
    CharCase charCase() const;
    void setCharCase(CharCase charCase);
    bool followFocus() const { return followFocus_; }
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool on) { keyPreview_ = on; }

    SwitchScanning switchScanning() const;
    void setSwitchScanning(SwitchScanning mode);
    int scanInterval() const;
    void setScanInterval(int milliseconds);
    int switchKey() const;
    void setSwitchKey(int key);
    int moveSwitchKey() const;
    void setMoveSwitchKey(int key);
    Qt::MouseButton switchButton() const;
    void setSwitchButton(Qt::MouseButton button);
    Qt::MouseButton moveSwitchButton() const;
    void setMoveSwitchButton(Qt::MouseButton button);
    int dwellTime() const;
    void setDwellTime(int milliseconds);

    Theme theme() const;
    void setTheme(Theme theme);
    QColor backgroundColor() const { return themeColor(0); }
    void setBackgroundColor(const QColor& c) { setThemeColor(0, c); }
    QColor keyColor() const { return themeColor(1); }
    void setKeyColor(const QColor& c) { setThemeColor(1, c); }
    QColor keyTextColor() const { return themeColor(2); }
    void setKeyTextColor(const QColor& c) { setThemeColor(2, c); }
    QColor pressedKeyColor() const { return themeColor(3); }
    void setPressedKeyColor(const QColor& c) { setThemeColor(3, c); }
    QColor pressedKeyTextColor() const { return themeColor(4); }
    void setPressedKeyTextColor(const QColor& c) {
        setThemeColor(4, c);
    }
    QColor keyEdgeColor() const { return themeColor(5); }
    void setKeyEdgeColor(const QColor& c) { setThemeColor(5, c); }
    QColor accentColor() const { return themeColor(6); }
    void setAccentColor(const QColor& c) { setThemeColor(6, c); }

    bool isShift() const;
    bool isCapsLock() const;
    bool isAltGr() const;

    // The widget the keys type into, or null.
    QWidget* target() const { return target_; }
    // The component behind the widget, for programs that use the component model directly.
    quimbel::TKeyboard* keyboard() const { return keyboard_; }

    // Where the key that shows the caption lies, in this widget's coordinates: a character key
    // by its caption at the level in force, any other key (Shift, Enter) by its caption; an empty
    // rectangle when no key shows it. Programs that click keys themselves (tests, demos) use it.
    QRect keyRect(const QString& caption) const;

    QSize sizeHint() const override;

public slots:
    void setKeyLayout(const QString& layout);
    void setTarget(QWidget* widget);
    void setFollowFocus(bool on);
    void setShift(bool on);
    void setCapsLock(bool on);
    void setAltGr(bool on);

signals:
    // A key went down, before it types: for a click of feedback or a buzz. Value is the key's
    // value at the level in force.
    void keyPressed(const QString& value);
    // The text a key typed (empty for keys that only move or delete).
    void keyTyped(const QString& text);
    void shiftChanged(bool on);
    void capsLockChanged(bool on);
    void altGrChanged(bool on);
    void keyLayoutChanged(const QString& layout);

private:
    // The theme colours by their order in the properties above, backgroundColor first.
    QColor themeColor(int role) const;
    void setThemeColor(int role, const QColor& color);
    void focusChanged(QWidget* now);
    void emitStateChanges();

    quimbel::TKeyboard* keyboard_ = nullptr;
    vcl::qt::TQtWidgetControl* link_ = nullptr;
    QPointer<QWidget> target_;
    QString keyLayout_;
    QString errorString_;
    bool followFocus_ = false;
    bool keyPreview_ = true;
    QMetaObject::Connection focusConnection_;
    bool shift_ = false;
    bool capsLock_ = false;
    bool altGr_ = false;
};
