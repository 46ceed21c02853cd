#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "qt/Codepage.h"
#include "qt/PeerTable.h"
#include "qt/Peers.h"
#include "qt/QtWidgetset.h"
#include "qt/Symbols.h"
#include "vcl/StdCtrls.h"

namespace vcl::qt {

class EditPeer : public QtPeer {
public:
    explicit EditPeer(vcl::TCustomEdit* e) : QtPeer(e), edit_(e) {
        auto* w = new QLineEdit();
        QObject::connect(w, &QLineEdit::textEdited, w, [this](const QString& text) {
            if (Syncing()) return;
            // Text the code page cannot hold is taken back, with a tool tip that names it.
            const vcl::AnsiString face = edit_->GetFont()->GetName();
            vcl::AnsiString typed;
            if (IsSymbolFont(face)) {
                typed = StoredText(face, text);
            } else if (!TypedTextToAnsi(line(), text, typed)) {
                const auto sync = Sync();
                const QString shown = Shown();
                const int pos = line()->cursorPosition() - int(text.size() - shown.size());
                line()->setText(shown);
                line()->setCursorPosition(pos > 0 ? pos : 0);
                ReportSelection();
                return;
            }
            RunFromEvent(edit_, [&] { edit_->PeerTextChanged(typed); });
            // The model may change what the user typed (character case); show its text.
            if (widget_ && line()->text() != Shown()) {
                const auto sync = Sync();
                const int pos = line()->cursorPosition();
                line()->setText(Shown());
                line()->setCursorPosition(pos);
            }
            ReportSelection();
        });
        QObject::connect(w, &QLineEdit::cursorPositionChanged, w, [this] { ReportSelection(); });
        QObject::connect(w, &QLineEdit::selectionChanged, w, [this] { ReportSelection(); });
        Attach(w);
        Changed(vcl::pcEditOptions);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (!widget_) return;
        const QString text = Shown();
        if (line()->text() == text) return;
        const auto sync = Sync();
        line()->setText(text);
        // The widget would put the cursor after the new text and show its end; the model keeps
        // its selection (the start for a new value), and the widget shows it.
        showSelection();
    }
    // The face decides how the bytes show: a symbol face shows its symbols.
    void FontChanged() override {
        QtPeer::FontChanged();
        TextChanged();
    }
    void Changed(vcl::TPeerChange What) override {
        if (!widget_) return;
        const auto sync = Sync();
        if (What == vcl::pcEditOptions || What == vcl::pcAppearance) {
            line()->setReadOnly(edit_->GetReadOnly());
            line()->setMaxLength(edit_->GetMaxLength() > 0 ? edit_->GetMaxLength() : 32767);
            line()->setEchoMode(edit_->GetPasswordChar() ? QLineEdit::Password : QLineEdit::Normal);
            line()->setFrame(edit_->GetBorderStyle() != vcl::bsNone);
            showSelection(); // setMaxLength puts the cursor after the text
        } else if (What == vcl::pcSelection) {
            showSelection();
        }
    }

private:
    QLineEdit* line() const { return static_cast<QLineEdit*>(widget_.data()); }
    void showSelection() {
        const int start = edit_->GetSelStart(), len = edit_->GetSelLength();
        if (len > 0)
            line()->setSelection(start, len);
        else
            line()->setCursorPosition(start);
    }
    QString Shown() const { return DisplayText(edit_->GetFont()->GetName(), edit_->GetText()); }
    void ReportSelection() {
        if (!widget_ || Syncing()) return;
        QLineEdit* l = line();
        const int start = l->hasSelectedText() ? l->selectionStart() : l->cursorPosition();
        const int len = l->hasSelectedText() ? static_cast<int>(l->selectedText().size()) : 0;
        if (start == edit_->GetSelStart() && len == edit_->GetSelLength()) return;
        const auto sync = Sync();
        RunFromEvent(edit_, [&] { edit_->PeerSelectionChanged(start, len); });
    }
    vcl::TCustomEdit* edit_;
};

// A memo's lines end in CR LF in the model and in LF in the widget.
class MemoPeer : public QtPeer {
public:
    explicit MemoPeer(vcl::TCustomMemo* m) : QtPeer(m), memo_(m) {
        auto* w = new QPlainTextEdit();
        QObject::connect(w, &QPlainTextEdit::textChanged, w, [this] {
            if (Syncing()) return;
            vcl::AnsiString typed;
            if (!TypedTextToAnsi(widget_, edit()->toPlainText(), typed)) {
                TextChanged();
                return;
            }
            vcl::AnsiString text;
            for (char c : typed) {
                if (c == '\n') text += '\r';
                text += c;
            }
            RunFromEvent(memo_, [&] { memo_->PeerTextChanged(text); });
        });
        Attach(w);
        Changed(vcl::pcAppearance);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (!widget_) return;
        QString text = ToQString(memo_->GetText());
        text.remove(QLatin1Char('\r'));
        if (edit()->toPlainText() == text) return;
        const auto sync = Sync();
        edit()->setPlainText(text);
    }
    void Changed(vcl::TPeerChange What) override {
        if (!widget_ || (What != vcl::pcAppearance && What != vcl::pcEditOptions)) return;
        const auto sync = Sync();
        edit()->setReadOnly(memo_->GetReadOnly());
        edit()->setLineWrapMode(memo_->GetWordWrap() ? QPlainTextEdit::WidgetWidth
                                                     : QPlainTextEdit::NoWrap);
        const vcl::TScrollStyle bars = memo_->GetScrollBars();
        edit()->setHorizontalScrollBarPolicy(bars == vcl::ssHorizontal || bars == vcl::ssBoth
                                                 ? Qt::ScrollBarAlwaysOn
                                                 : Qt::ScrollBarAlwaysOff);
        edit()->setVerticalScrollBarPolicy(bars == vcl::ssVertical || bars == vcl::ssBoth
                                               ? Qt::ScrollBarAlwaysOn
                                               : Qt::ScrollBarAlwaysOff);
    }

private:
    QPlainTextEdit* edit() const { return static_cast<QPlainTextEdit*>(widget_.data()); }
    vcl::TCustomMemo* memo_;
};

class ButtonPeer : public QtPeer {
public:
    explicit ButtonPeer(vcl::TButtonControl* b) : QtPeer(b) {
        auto* w = new QPushButton();
        w->setAutoDefault(false);
        QObject::connect(w, &QPushButton::clicked, w, [this] {
            if (Syncing()) return;
            vcl::TWinControl* c = Control();
            RunFromEvent(c, [c] { c->Click(); });
        });
        Attach(w);
        Changed(vcl::pcButtonOptions);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (widget_)
            static_cast<QPushButton*>(widget_.data())->setText(ToQString(Control()->GetText()));
    }
    void ColorChanged() override {} // a push button keeps the button face
    void Changed(vcl::TPeerChange What) override {
        if (What == vcl::pcButtonOptions && widget_)
            static_cast<QPushButton*>(widget_.data())
                ->setDefault(static_cast<vcl::TButtonControl*>(Control())->IsDefaultButton());
    }
};

class ComboPeer : public QtPeer {
public:
    explicit ComboPeer(vcl::TCustomComboBox* c) : QtPeer(c), combo_(c) {
        // Made in its parent, so that it starts with the parent's font: a box whose font
        // changes makes its drop-down list at once, and redoes it at every change of colour.
        auto* w = new QComboBox(ParentWidget());
        QObject::connect(w, &QComboBox::activated, w, [this](int index) {
            if (Syncing()) return;
            RunFromEvent(combo_, [&] { combo_->SelectItem(index); });
        });
        // A wheel turned over a list box the user is not working in scrolls what lies around it
        // (the Object Inspector's rows) instead of changing the list box's item; so the turn
        // must not give it the focus either.
        w->setFocusPolicy(Qt::StrongFocus);
        Attach(w);
        Changed(vcl::pcAppearance);
        Changed(vcl::pcItems);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (!widget_ || !box()->isEditable()) return;
        const auto sync = Sync();
        box()->setEditText(ToQString(combo_->GetText()));
    }
    void Changed(vcl::TPeerChange What) override {
        if (!widget_) return;
        const auto sync = Sync();
        if (What == vcl::pcAppearance) {
            const bool editable = combo_->GetStyle() != vcl::csDropDownList;
            if (box()->isEditable() != editable) {
                box()->setEditable(editable);
                if (editable) {
                    QObject::connect(box()->lineEdit(), &QLineEdit::textEdited, box(),
                                     [this](const QString& text) {
                                         if (Syncing()) return;
                                         vcl::AnsiString typed;
                                         if (!TypedTextToAnsi(box(), text, typed)) {
                                             const auto sync = Sync();
                                             box()->setEditText(ToQString(combo_->GetText()));
                                             return;
                                         }
                                         RunFromEvent(combo_,
                                                      [&] { combo_->PeerTextChanged(typed); });
                                     });
                }
            }
            box()->setMaxVisibleItems(combo_->GetDropDownCount() > 0 ? combo_->GetDropDownCount()
                                                                     : 8);
        } else if (What == vcl::pcItems) {
            box()->clear();
            vcl::TStrings* items = combo_->GetItems();
            QStringList texts; // added at once, which the box's model takes in one step
            texts.reserve(items->GetCount());
            for (int i = 0; i < items->GetCount(); ++i)
                texts.append(ToQString(items->Get(i)));
            box()->addItems(texts);
        }
        box()->setCurrentIndex(combo_->GetItemIndex());
        if (box()->isEditable()) box()->setEditText(ToQString(combo_->GetText()));
    }

protected:
    bool UsesWheel() const override { return widget_ && widget_->hasFocus(); }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget_.data()); }
    vcl::TCustomComboBox* combo_;
};

class ScrollBarPeer : public QtPeer {
public:
    explicit ScrollBarPeer(vcl::TScrollBar* s) : QtPeer(s), bar_(s) {
        auto* w = new QScrollBar();
        QObject::connect(w, &QScrollBar::valueChanged, w, [this](int value) {
            if (Syncing()) return;
            RunFromEvent(bar_, [&] { bar_->SetPosition(value); });
        });
        Attach(w);
        Changed(vcl::pcScroll);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void Changed(vcl::TPeerChange What) override {
        if (What != vcl::pcScroll || !widget_) return;
        const auto sync = Sync();
        auto* w = static_cast<QScrollBar*>(widget_.data());
        w->setOrientation(bar_->GetKind() == vcl::sbVertical ? Qt::Vertical : Qt::Horizontal);
        w->setRange(bar_->GetMin(), bar_->MaxPosition());
        w->setSingleStep(bar_->GetSmallChange());
        w->setPageStep(bar_->GetPageSize() > 0 ? bar_->GetPageSize() : bar_->GetLargeChange());
        w->setValue(bar_->GetPosition());
    }

private:
    vcl::TScrollBar* bar_;
};

// The peer of a TQtWidgetControl: borrows the application's widget.
class ExternalPeer : public QtPeer {
public:
    explicit ExternalPeer(TQtWidgetControl* c) : QtPeer(c) {
        if (c->Widget()) Attach(c->Widget(), false);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void SetFocus() override {
        if (widget_) widget_->setFocus(Qt::OtherFocusReason);
    }
};

namespace {

// A control on a form being designed belongs to the form designer: the pointer passes through
// its native widget to the form, which hands it to the model (and so to the designer), and the
// widget takes neither the focus nor typed text.
template <class Peer, class Control> std::unique_ptr<QtPeer> MakeStandardPeer(vcl::TWinControl* c) {
    std::unique_ptr<QtPeer> peer = MakePeer<Peer, Control>(c);
    if (peer->Widget() && c->ComponentState().Contains(vcl::csDesigning)) {
        QWidget* w = peer->Widget();
        for (QWidget* part : w->findChildren<QWidget*>()) {
            part->setAttribute(Qt::WA_TransparentForMouseEvents);
            part->setFocusPolicy(Qt::NoFocus);
        }
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
    }
    return peer;
}

} // namespace

void RegisterStandardPeers(PeerTable& Table) {
    Table.Add(TQtWidgetControl::StaticClass(), MakeStandardPeer<ExternalPeer, TQtWidgetControl>);
    Table.Add(vcl::TCustomEdit::StaticClass(), MakeStandardPeer<EditPeer, vcl::TCustomEdit>);
    Table.Add(vcl::TCustomMemo::StaticClass(), MakeStandardPeer<MemoPeer, vcl::TCustomMemo>);
    Table.Add(vcl::TButtonControl::StaticClass(),
              MakeStandardPeer<ButtonPeer, vcl::TButtonControl>);
    Table.Add(vcl::TCustomComboBox::StaticClass(),
              MakeStandardPeer<ComboPeer, vcl::TCustomComboBox>);
    Table.Add(vcl::TScrollBar::StaticClass(), MakeStandardPeer<ScrollBarPeer, vcl::TScrollBar>);
}

} // namespace vcl::qt
