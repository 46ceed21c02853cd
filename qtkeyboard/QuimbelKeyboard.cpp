#include "QuimbelKeyboard.h"

#include "qt/Codepage.h"
#include "qt/Colors.h"
#include "qt/KeyInput.h"
#include "qt/QtWidgetset.h"
#include "runtime/Quimbel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

using vcl::qt::FromQString;
using vcl::qt::ToQString;

bool isLayoutFile(const QString& layout) {
    return layout.contains(QLatin1Char('/')) ||
           layout.endsWith(QLatin1String(".kly"), Qt::CaseInsensitive);
}

// Text widgets, and any other widget that takes typed text (it enables input methods).
bool takesText(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) ||
           widget->testAttribute(Qt::WA_InputMethodEnabled);
}

} // namespace

QuimbelKeyboard::QuimbelKeyboard(QWidget* parent) : QWidget(parent) {
    if (!vcl::qt::QtWidgetset()) vcl::qt::InstallQtWidgetset();
    setFocusPolicy(Qt::NoFocus);
    keyboard_ = new quimbel::TKeyboard(nullptr);
    // Hidden until it sits in this widget: shown as a window of its own first, it would take the
    // activation from the program's window on platforms that activate every shown window.
    keyboard_->SetVisible(false);
    keyboard_->OnKey = [this](vcl::TObject*, quimbel::TKey*, quimbel::TKeyLevel,
                              vcl::AnsiString Value) {
        emit keyTyped(ToQString(Value));
        emitStateChanges();
    };
    keyboard_->OnKeyPressed = [this](vcl::TObject*, quimbel::TKey* Key) {
        // Nothing a password field is given may show on the screen.
        const auto* line = qobject_cast<const QLineEdit*>(target_.data());
        keyboard_->SetKeyPreview(keyPreview_ && (!line || line->echoMode() == QLineEdit::Normal));
        emit keyPressed(ToQString(keyboard_->TypedValue(Key)));
    };
    keyboard_->SetMultiTouch(true);
    keyboard_->SetKeyRepeat(true);
    keyboard_->SetLongPressAlternates(true);
    keyboard_->SetScaleCaptions(true);
    keyboard_->SetLatchModifiers(true);
    keyboard_->SetCapsLockLettersOnly(true);
    auto changed = [this](vcl::TObject*, bool) { emitStateChanges(); };
    keyboard_->OnShiftStateChange = changed;
    keyboard_->OnCapsStateChange = changed;
    keyboard_->OnAltGrStateChange = changed;

    new QVBoxLayout(this);
    layout()->setContentsMargins(0, 0, 0, 0);
    loadKeyLayout(QStringLiteral("us"));
    // The widgetset shows a control without a parent control as a window of its own; the
    // keyboard's surface belongs into this widget, where it stays when its keys change.
    QWidget* surface = vcl::qt::WidgetOf(keyboard_);
    surface->setParent(this); // as a plain child widget, without the window flags
    layout()->addWidget(surface);
    keyboard_->SetVisible(true);
}

QuimbelKeyboard::~QuimbelKeyboard() {
    disconnect(focusConnection_);
    delete keyboard_; // takes its surface widget, a child of this one, along
    delete link_;
}

bool QuimbelKeyboard::loadKeyLayout(const QString& layout) {
    try {
        const vcl::AnsiString name = FromQString(layout);
        quimbel::TLayoutRead read = isLayoutFile(layout) ? quimbel::TLayoutRead::FromFile(name)
                                                         : quimbel::TLayoutRead::FromResource(name);
        quimbel::TakeLayout(keyboard_, read);
    } catch (const vcl::Exception& e) {
        errorString_ = ToQString(e.Message());
        return false;
    }
    errorString_.clear();
    if (keyLayout_ != layout) {
        keyLayout_ = layout;
        emit keyLayoutChanged(layout);
    }
    return true;
}

void QuimbelKeyboard::setKeyLayout(const QString& layout) {
    if (!loadKeyLayout(layout))
        qWarning("QuimbelKeyboard: layout %s: %s", qUtf8Printable(layout),
                 qUtf8Printable(errorString_));
}

QColor QuimbelKeyboard::highlightColor() const {
    return vcl::qt::ColorToQColor(keyboard_->GetHighlightColor());
}

void QuimbelKeyboard::setHighlightColor(const QColor& color) {
    // The component keeps colours as 0x00BBGGRR.
    keyboard_->SetHighlightColor(static_cast<vcl::TColor>(color.red() | color.green() << 8 |
                                                          color.blue() << 16));
}

QuimbelKeyboard::Theme QuimbelKeyboard::theme() const {
    return static_cast<Theme>(keyboard_->GetTheme());
}

void QuimbelKeyboard::setTheme(Theme theme) {
    keyboard_->SetTheme(static_cast<vcl::TTheme>(theme));
}

namespace {

vcl::TColor vcl::TThemeColors::*const themeRoles[] = {
    &vcl::TThemeColors::Background, &vcl::TThemeColors::Face,     &vcl::TThemeColors::Text,
    &vcl::TThemeColors::DownFace,   &vcl::TThemeColors::DownText, &vcl::TThemeColors::Edge,
    &vcl::TThemeColors::Accent};

} // namespace

QColor QuimbelKeyboard::themeColor(int role) const {
    const vcl::TColor c = keyboard_->GetThemeColors().*themeRoles[role];
    return c == vcl::clDefault ? QColor() : vcl::qt::ColorToQColor(static_cast<std::uint32_t>(c));
}

void QuimbelKeyboard::setThemeColor(int role, const QColor& color) {
    vcl::TThemeColors colors = keyboard_->GetThemeColors();
    colors.*themeRoles[role] = color.isValid() ? vcl::RGB(static_cast<uint8_t>(color.red()),
                                               static_cast<uint8_t>(color.green()),
                                               static_cast<uint8_t>(color.blue()))
                                    : vcl::clDefault;
    keyboard_->SetThemeColors(colors);
}

bool QuimbelKeyboard::beep() const { return keyboard_->GetBeepOnKeyPressed(); }
void QuimbelKeyboard::setBeep(bool on) { keyboard_->SetBeepOnKeyPressed(on); }

QuimbelKeyboard::CharCase QuimbelKeyboard::charCase() const {
    return static_cast<CharCase>(keyboard_->GetCharCase());
}

void QuimbelKeyboard::setCharCase(CharCase charCase) {
    keyboard_->SetCharCase(static_cast<vcl::TEditCharCase>(charCase));
}

QuimbelKeyboard::SwitchScanning QuimbelKeyboard::switchScanning() const {
    return static_cast<SwitchScanning>(keyboard_->GetSwitchScanning());
}
void QuimbelKeyboard::setSwitchScanning(SwitchScanning mode) {
    keyboard_->SetSwitchScanning(static_cast<quimbel::TSwitchScanning>(mode));
}
int QuimbelKeyboard::scanInterval() const {
    return keyboard_->GetScanInterval();
}
void QuimbelKeyboard::setScanInterval(int milliseconds) {
    keyboard_->SetScanInterval(milliseconds);
}
int QuimbelKeyboard::switchKey() const {
    return vcl::qt::VirtualKeyToQtKey(static_cast<unsigned>(keyboard_->GetSwitchKey()));
}
void QuimbelKeyboard::setSwitchKey(int key) {
    keyboard_->SetSwitchKey(static_cast<int>(vcl::qt::QtKeyToVirtualKey(key)));
}
int QuimbelKeyboard::moveSwitchKey() const {
    return vcl::qt::VirtualKeyToQtKey(static_cast<unsigned>(keyboard_->GetMoveSwitchKey()));
}
void QuimbelKeyboard::setMoveSwitchKey(int key) {
    keyboard_->SetMoveSwitchKey(static_cast<int>(vcl::qt::QtKeyToVirtualKey(key)));
}

namespace {

const Qt::MouseButton switchButtons[] = {Qt::NoButton, Qt::LeftButton, Qt::RightButton,
                                         Qt::MiddleButton};

// The model's switch button for a Qt button; the extra buttons of a mouse are none.
quimbel::TSwitchButton toSwitchButton(Qt::MouseButton button) {
    for (int i = 0; i < 4; ++i)
        if (switchButtons[i] == button) return static_cast<quimbel::TSwitchButton>(i);
    return quimbel::sbNone;
}

} // namespace

Qt::MouseButton QuimbelKeyboard::switchButton() const {
    return switchButtons[keyboard_->GetSwitchButton()];
}
void QuimbelKeyboard::setSwitchButton(Qt::MouseButton button) {
    keyboard_->SetSwitchButton(toSwitchButton(button));
}
Qt::MouseButton QuimbelKeyboard::moveSwitchButton() const {
    return switchButtons[keyboard_->GetMoveSwitchButton()];
}
void QuimbelKeyboard::setMoveSwitchButton(Qt::MouseButton button) {
    keyboard_->SetMoveSwitchButton(toSwitchButton(button));
}
int QuimbelKeyboard::dwellTime() const {
    return keyboard_->GetDwellTime();
}
void QuimbelKeyboard::setDwellTime(int milliseconds) {
    keyboard_->SetDwellTime(milliseconds);
}

bool QuimbelKeyboard::isShift() const { return keyboard_->GetShiftState(); }
bool QuimbelKeyboard::isCapsLock() const { return keyboard_->GetCapsState(); }
bool QuimbelKeyboard::isAltGr() const { return keyboard_->GetAltGrState(); }

void QuimbelKeyboard::setShift(bool on) {
    if (on == isShift()) return;
    if (on)
        keyboard_->SetShiftState();
    else
        keyboard_->ClearShiftState();
    emitStateChanges();
}

void QuimbelKeyboard::setCapsLock(bool on) {
    if (on != isCapsLock()) {
        if (on && isShift()) keyboard_->ClearShiftState(); // else the toggle only clears Shift
        keyboard_->ToggleCapsState();
    }
    emitStateChanges();
}

void QuimbelKeyboard::setAltGr(bool on) {
    if (on != isAltGr()) keyboard_->ToggleAltGrState();
    emitStateChanges();
}

// The component reports every toggle, also of states already in force; the widget reports changes.
void QuimbelKeyboard::emitStateChanges() {
    if (shift_ != isShift()) emit shiftChanged(shift_ = isShift());
    if (capsLock_ != isCapsLock()) emit capsLockChanged(capsLock_ = isCapsLock());
    if (altGr_ != isAltGr()) emit altGrChanged(altGr_ = isAltGr());
}

void QuimbelKeyboard::setTarget(QWidget* widget) {
    if (widget && (widget == this || isAncestorOf(widget))) return;
    if (widget == target_) return;
    target_ = widget;
    if (!link_) {
        link_ = new vcl::qt::TQtWidgetControl(nullptr);
        link_->OnWidgetDestroyed = [this](vcl::TObject*) { target_ = nullptr; };
    }
    link_->SetWidget(widget);
    keyboard_->SetLinkedControl(widget ? link_ : nullptr);
}

void QuimbelKeyboard::setFollowFocus(bool on) {
    if (on == followFocus_) return;
    followFocus_ = on;
    disconnect(focusConnection_);
    if (!on) return;
    focusConnection_ = connect(qApp, &QApplication::focusChanged, this,
                               [this](QWidget*, QWidget* now) { focusChanged(now); });
    focusChanged(QApplication::focusWidget());
}

// A click on a key never moves the focus, so the target stays while the user types; moving the
// focus to something that takes no text (a button) keeps the last text widget as the target.
void QuimbelKeyboard::focusChanged(QWidget* now) {
    if (now && takesText(now)) setTarget(now);
}

QRect QuimbelKeyboard::keyRect(const QString& caption) const {
    const vcl::AnsiString text = FromQString(caption);
    quimbel::TKey* key = keyboard_->SearchKey(text, keyboard_->GetKeyLevel());
    for (int i = 0; !key && i < keyboard_->GetKeys()->GetCount(); ++i) {
        quimbel::TKey* k = keyboard_->GetKeys()->GetItem(i);
        if (k->KeyType != quimbel::ktNormal && k->GetKeyCaption(quimbel::klNormal) == text) key = k;
    }
    if (!key || !key->Control) return QRect();
    const vcl::TControl* button = key->Control;
    const QWidget* surface = vcl::qt::WidgetOf(keyboard_);
    return QRect(surface->mapTo(this, QPoint(button->GetLeft(), button->GetTop())),
                 QSize(button->GetWidth(), button->GetHeight()));
}

QSize QuimbelKeyboard::sizeHint() const { return QSize(740, 240); }
