#pragma once
// What the layout designer programs add to editing a layout, shared by the layout editor
// application and the IDE's layout designer window: an undo history that keeps the layout's bytes
// after every step, the free place where a new key goes, and the question before a step that
// destroys work.

#include "runtime/Keyboard.h"

#include "rtl/Streams.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace quimbel {

using TLayoutBytes = std::vector<uint8_t>;

// The layout stream of Keys, as a layout file holds it.
inline TLayoutBytes LayoutBytes(TKeyCollection& Keys) {
    vcl::TMemoryStream stream;
    {
        vcl::TWriter writer(&stream, 1024);
        Keys.WriteKeys(&writer);
    }
    return stream.Bytes();
}

// Replaces the keys of Keys with those of Bytes; the caller frees and makes the buttons.
inline void SetLayoutBytes(TKeyCollection& Keys, const TLayoutBytes& Bytes) {
    Keys.DeleteAllKeys();
    vcl::TMemoryStream stream;
    if (!Bytes.empty()) stream.Write(Bytes.data(), static_cast<int32_t>(Bytes.size()));
    stream.SetPosition(0);
    vcl::TReader reader(&stream, 1024);
    Keys.LoadKeys(&reader);
}

// The steps of one editing session, each the whole layout after it and what it did ("New Key"),
// as deep as the session goes. A step that changed no byte is not kept.
class TKeyUndoStack {
public:
    // Forgets every step: Bytes is where the session starts.
    void Reset(const TLayoutBytes& Bytes) {
        steps_.assign(1, {Bytes, vcl::AnsiString()});
        at_ = 0;
    }
    // After a change named What that left the layout as Bytes; the steps undone before go.
    // False when nothing changed.
    bool Record(const vcl::AnsiString& What, const TLayoutBytes& Bytes) {
        if (steps_.empty()) Reset(TLayoutBytes());
        if (Bytes == steps_[at_].Bytes) return false;
        steps_.resize(at_ + 1);
        steps_.push_back({Bytes, What});
        ++at_;
        return true;
    }
    bool CanUndo() const { return at_ > 0; }
    bool CanRedo() const { return at_ + 1 < steps_.size(); }
    // What Undo and Redo would take back or do again; empty when there is nothing.
    vcl::AnsiString UndoName() const { return CanUndo() ? steps_[at_].What : vcl::AnsiString(); }
    vcl::AnsiString RedoName() const {
        return CanRedo() ? steps_[at_ + 1].What : vcl::AnsiString();
    }
    // The layout before the last step, or after the step undone last.
    const TLayoutBytes& Undo() { return steps_[CanUndo() ? --at_ : at_].Bytes; }
    const TLayoutBytes& Redo() { return steps_[CanRedo() ? ++at_ : at_].Bytes; }
    // The layout as the current step left it.
    const TLayoutBytes& Current() const { return steps_.at(at_).Bytes; }

private:
    struct Step {
        TLayoutBytes Bytes;
        vcl::AnsiString What;
    };
    std::vector<Step> steps_;
    size_t at_ = 0;
};

// Where a new key of Width x Height layout units goes: right of the last key of Keys when it fits
// in AreaWidth units there and covers no key, else at the left edge below every key; (0, 0) in an
// empty layout. Exclude (the new key itself, when it is already in Keys) is left out.
inline vcl::TPoint FreeKeyPlace(const TKeyCollection& Keys, int Width, int Height, int AreaWidth,
                                const TKey* Exclude = nullptr) {
    std::vector<const TKey*> keys;
    for (int i = 0; i < Keys.GetCount(); ++i)
        if (Keys.GetItem(i) != Exclude) keys.push_back(Keys.GetItem(i));
    if (keys.empty()) return {0, 0};
    auto covers = [&](int Left, int Top) {
        return std::any_of(keys.begin(), keys.end(), [&](const TKey* k) {
            return Left < k->Left + int(k->Width) && k->Left < Left + Width &&
                   Top < k->Top + int(k->Height) && k->Top < Top + Height;
        });
    };
    const TKey* last = keys.back();
    const int right = last->Left + int(last->Width);
    if (right + Width <= AreaWidth && !covers(right, last->Top)) return {right, last->Top};
    int bottom = 0;
    for (const TKey* k : keys)
        bottom = std::max(bottom, k->Top + int(k->Height));
    return {0, bottom};
}

// Asks Text with the buttons Yes and No, No being the default button (Enter) and the answer of
// Escape and the close box: for questions before a change that destroys work. mrYes or mrNo.
inline vcl::TModalResult ConfirmDefaultNo(const vcl::AnsiString& Text) {
    using namespace vcl;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("ConfirmForm");
    form->SetCaption(MsgDlgCaption(mtConfirmation));
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons({biSystemMenu});
    form->SetPosition(poScreenCenter);
    form->SetClientWidth(360);
    form->SetClientHeight(96);
    auto* text = new TLabel(form.get());
    text->SetName("TextLabel");
    text->SetParent(form.get());
    text->SetBounds(16, 16, 328, 40);
    text->SetWordWrap(true);
    text->SetCaption(Text);
    auto button = [&](const char* Name, TMsgDlgBtn Kind, TModalResult Result, int Left) {
        auto* b = new TButton(form.get());
        b->SetName(Name);
        b->SetParent(form.get());
        b->SetBounds(Left, 60, 80, 25);
        b->SetCaption(MsgDlgButtonCaption(Kind));
        b->SetModalResult(Result);
        return b;
    };
    button("YesBtn", mbYes, mrYes, 180);
    TButton* no = button("NoBtn", mbNo, mrNo, 268);
    no->SetDefault(true);
    no->SetCancel(true);
    form->SetActiveControl(no);
    return form->ShowModal() == mrYes ? mrYes : mrNo;
}

} // namespace quimbel
