#include "inputmethod/QuimbelInputPanel.h"

#include "QuimbelKeyboard.h"
#include "qt/Codepage.h"
#include "qt/Convert.h"
#include "qt/KeyInput.h"
#include "qt/QtWidgetset.h"
#include "qt/Themes.h"
#include "runtime/Keyboard.h"
#include "runtime/Quimbel.h"
#include "vcl/Controls.h"
#include "vcl/Messages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace quimbel::im {

// The keyboard's linked control: a control without a peer that turns the keyboard's messages
// into input for the focus object of the moment, so that the keyboard never holds on to a field
// that may go away.
class TFocusSink : public vcl::TWinControl {
public:
    explicit TFocusSink() : vcl::TWinControl(nullptr) {}
    Qt::InputMethodHints hints;

    void DefaultHandler(vcl::TMessage& message) override {
        if (message.Msg == vcl::WM_CHAR)
            character(static_cast<unsigned char>(message.WParam));
        else if (message.Msg == vcl::WM_KEYDOWN)
            key(vcl::qt::VirtualKeyToQtKey(static_cast<unsigned>(message.WParam)), QString());
        else
            vcl::TWinControl::DefaultHandler(message);
    }

private:
    void character(unsigned char byte) {
        switch (byte) {
        case 8:
            return key(Qt::Key_Backspace, QStringLiteral("\b"));
        case 9:
            return key(Qt::Key_Tab, QStringLiteral("\t"));
        case 13:
            return key(Qt::Key_Return, QStringLiteral("\r"));
        case 27:
            return key(Qt::Key_Escape, QString(QChar(27)));
        default:
            break;
        }
        QString text(QChar(vcl::qt::AnsiToUnicode(byte)));
        if (hints & Qt::ImhUppercaseOnly) text = text.toUpper();
        if (hints & Qt::ImhLowercaseOnly) text = text.toLower();
        QObject* target = QGuiApplication::focusObject();
        if (!target) return;
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QCoreApplication::sendEvent(target, &query);
        if (!query.value(Qt::ImEnabled).toBool()) return;
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(target, &event);
    }

    // A press and a release, as a physical key gives them; the release goes nowhere when the
    // press took the focus object away (an Enter that closes a dialog).
    static void key(int qtKey, const QString& text) {
        if (qtKey == 0) return;
        QPointer<QObject> target = QGuiApplication::focusObject();
        if (!target) return;
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
        if (!target) return;
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &release);
    }
};

} // namespace quimbel::im

namespace {

QString displayName(const QString& layout) {
    if (layout.contains(QLatin1Char('/')) || layout.endsWith(QLatin1String(".kly")))
        return QFileInfo(layout).completeBaseName();
    return layout;
}

} // namespace

QuimbelInputPanel::QuimbelInputPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("QuimbelInputPanel"));
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true); // drawn over a window's own widgets, it must hide them
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    auto* strip = new QHBoxLayout;
    layoutButton_ = new QToolButton(this);
    layoutButton_->setObjectName(QStringLiteral("layoutButton"));
    layoutButton_->setToolTip(tr("Next layout"));
    hideButton_ = new QToolButton(this);
    hideButton_->setObjectName(QStringLiteral("hideButton"));
    hideButton_->setText(tr("Hide"));
    hideButton_->setToolTip(tr("Hide the keyboard"));
    for (QToolButton* button : {layoutButton_, hideButton_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
    }
    strip->addWidget(layoutButton_);
    strip->addStretch();
    strip->addWidget(hideButton_);
    column->addLayout(strip);
    // The keyboard comes with the built-in "us" layout loaded, read in its code page; when that
    // is the first layout, it is not loaded a second time.
    quimbel::SelectCodePage(nullptr, "us");
    keyboard_ = new QuimbelKeyboard(this);
    // Shown and hidden at every change of focus, the keys show again from their last picture.
    vcl::qt::KeepPaintedImage(keyboard_->keyboard(), true);
    current_ = keyboard_->keyLayout();
    layoutButton_->setText(displayName(current_));
    column->addWidget(keyboard_, 1);
    sink_ = new quimbel::im::TFocusSink;
    keyboard_->keyboard()->SetLinkedControl(sink_);
    connect(layoutButton_, &QToolButton::clicked, this, &QuimbelInputPanel::nextLayout);
    connect(hideButton_, &QToolButton::clicked, this, &QuimbelInputPanel::hideRequested);
    showLayout(layouts_.first());
}

QuimbelInputPanel::~QuimbelInputPanel() {
    keyboard_->keyboard()->SetLinkedControl(nullptr);
    delete sink_;
}

void QuimbelInputPanel::setTheme(QuimbelKeyboard::Theme theme) {
    keyboard_->setTheme(theme);
    const vcl::TLook* look = keyboard_->keyboard()->GetLook();
    if (!vcl::qt::IsThemed(look) || look->Theme == vcl::thNative) {
        setPalette(QPalette());
        return;
    }
    QPalette pal = palette();
    const vcl::TThemeColors colors = vcl::ResolvedColors(*look);
    const QColor text = vcl::qt::ToQColor(colors.Text);
    pal.setColor(QPalette::Window, vcl::qt::ThemeBackground(*look, pal));
    pal.setColor(QPalette::Button, vcl::qt::ToQColor(colors.Face));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
        pal.setColor(role, text);
    setPalette(pal);
}

void QuimbelInputPanel::setLayouts(const QStringList& layouts) {
    if (layouts.isEmpty() || layouts == layouts_) return;
    layouts_ = layouts;
    languageIndex_ = 0;
    applyHints(hints_);
}

bool QuimbelInputPanel::showLayout(const QString& layout) {
    if (layout == current_) return true;
    // A built-in layout brings its code page; the keys' bytes are read in it.
    quimbel::SelectCodePage(nullptr, vcl::qt::FromQString(layout));
    if (!keyboard_->loadKeyLayout(layout)) {
        emit layoutFailed(layout, keyboard_->errorString());
        return false;
    }
    current_ = layout;
    layoutButton_->setText(displayName(layout));
    return true;
}

void QuimbelInputPanel::applyHints(Qt::InputMethodHints hints) {
    hints_ = hints;
    sink_->hints = hints;
    if (hints & (Qt::ImhDigitsOnly | Qt::ImhFormattedNumbersOnly | Qt::ImhPreferNumbers))
        showLayout(QStringLiteral("numpad"));
    else if (hints & Qt::ImhDialableCharactersOnly)
        showLayout(QStringLiteral("phone"));
    else
        showLayout(layouts_.value(languageIndex_, layouts_.first()));
    setKeyPreview(keyPreview_);
    const bool upper = hints & Qt::ImhUppercaseOnly;
    keyboard_->setCapsLock(upper);
    if (!upper) keyboard_->setShift(hints & Qt::ImhPreferUppercase);
}

void QuimbelInputPanel::setKeyPreview(bool on) {
    keyPreview_ = on;
    keyboard_->setKeyPreview(on && !(hints_ & (Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                               Qt::ImhNoPredictiveText)));
}

void QuimbelInputPanel::nextLayout() {
    // Over a pad the field's hints chose, a tap brings the language layout back first. A layout
    // that no longer loads is passed over, so that the tap never gets stuck on it.
    bool advance = current_ == layouts_.value(languageIndex_);
    for (int tries = 0; tries < layouts_.size(); ++tries, advance = true) {
        if (advance) languageIndex_ = (languageIndex_ + 1) % layouts_.size();
        if (showLayout(layouts_[languageIndex_])) return;
    }
}
