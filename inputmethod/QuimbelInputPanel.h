#pragma once
// QuimbelInputPanel: the input method's panel, a QuimbelKeyboard under a strip that names the
// layout (a tap switches to the next one) and has a hide key. Its keys type into whatever has the
// focus: characters as QInputMethodEvent commit strings, editing keys (Backspace, Enter, Tab,
// Escape, arrows, Home, End, Page Up/Down, Delete, Insert) as key presses and releases. Neither
// the panel nor its keys take the focus.
//
// The input-context plugin (QT_IM_MODULE=quimbel) shows it on its own; a program that links the
// library may also put a panel wherever it likes:
//
//   auto* panel = new QuimbelInputPanel(window);
//   panel->setLayouts({"de", "us"});
//   panel->applyHints(Qt::ImhNone);

#include "qtkeyboard/QuimbelKeyboard.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class QToolButton;

namespace quimbel::im {
class TFocusSink;
}

class QuimbelInputPanel : public QWidget {
    Q_OBJECT
public:
    explicit QuimbelInputPanel(QWidget* parent = nullptr);
    ~QuimbelInputPanel() override;

    QuimbelKeyboard* keyboard() const { return keyboard_; }

    // The language layouts the strip cycles through (built-in names or .kly paths); the first is
    // shown for fields without a number or telephone hint. Layouts that do not load are skipped
    // with layoutFailed.
    void setLayouts(const QStringList& layouts);
    // The keyboard's theme, with the panel around it (background, the strip's buttons) in the
    // theme's colours.
    void setTheme(QuimbelKeyboard::Theme theme);
    QStringList layouts() const { return layouts_; }
    // The layout the keys show now.
    QString currentLayout() const { return current_; }

    // Chooses the pad for a field's input method hints: digits and numbers the numeric pad,
    // dialable characters the telephone pad, anything else the current language layout; the
    // case hints set Shift or Caps Lock and the case of what the keys type.
    void applyHints(Qt::InputMethodHints hints);
    // Shows a held key enlarged (the default), except over fields whose hints ask that nothing
    // about the typed keys shows or is kept (hidden text, sensitive data, no predictive text).
    void setKeyPreview(bool on);
    // The next language layout, as a tap on the layout's name does.
    void nextLayout();

    // The text of the strip's layout button and of its hide key, for tests and tools.
    QToolButton* layoutButton() const { return layoutButton_; }
    QToolButton* hideButton() const { return hideButton_; }

signals:
    // The hide key was pressed.
    void hideRequested();
    // A layout did not load (a file removed since the start, a broken file); the keys stay.
    void layoutFailed(const QString& layout, const QString& reason);

private:
    bool showLayout(const QString& layout);

    QuimbelKeyboard* keyboard_ = nullptr;
    QToolButton* layoutButton_ = nullptr;
    QToolButton* hideButton_ = nullptr;
    quimbel::im::TFocusSink* sink_ = nullptr;
    QStringList layouts_{QStringLiteral("us")};
    int languageIndex_ = 0;
    QString current_;
    Qt::InputMethodHints hints_;
    bool keyPreview_ = true;
};
