#include "Keydesignsurface.h"

#include "vcl/ExtCtrls.h"

#include <cstdint>
#include <cstdlib>

namespace quimbel {

namespace {

constexpr int gridStep = 8;
constexpr int gridWidth = 2000;
constexpr int gridHeight = 1500;
// Pixels a pointer must move away from where a left press began before the press is a drag.
constexpr int dragThreshold = 2;

TKeyControl* keyButton(vcl::TObject* Sender) {
    if (!Sender) vcl::RaiseInvalidCast();
    return vcl::As<TKeyControl>(Sender);
}

} // namespace

TKeyDesignSurface::TKeyDesignSurface(vcl::TWinControl* Surface, TKeyCollection* Keys)
    : surface_(Surface), keys_(Keys) {}

void TKeyDesignSurface::CreateGrid(vcl::TColor Color) {
    auto line = [&](int Left, int Top, int Width, int Height) {
        auto* shape = new vcl::TShape(surface_);
        shape->SetShape(vcl::stRectangle);
        shape->GetPen()->SetStyle(vcl::psSolid);
        shape->GetPen()->SetColor(Color);
        shape->SetBounds(Left, Top, Width, Height);
        shape->SetParent(surface_);
    };
    for (int x = 0; x <= gridWidth; x += gridStep)
        line(x, 0, 1, gridHeight);
    for (int y = 0; y <= gridHeight; y += gridStep)
        line(0, y, gridWidth, 1);
}

void TKeyDesignSurface::SetGridColor(vcl::TColor Color) {
    for (int i = 0; i < surface_->ControlCount(); ++i)
        if (auto* shape = dynamic_cast<vcl::TShape*>(surface_->GetControl(i)))
            shape->GetPen()->SetColor(Color);
}

TKeyControl* TKeyDesignSurface::CreateKeyControl() {
    auto* button = new TKeyControl(surface_);
    button->SetParent(surface_);
    button->OnMouseMove = [this](vcl::TObject* Sender, vcl::TShiftState Shift, int X, int Y) {
        BtnMouseMove(Sender, Shift, X, Y);
    };
    button->OnMouseDown = [this](vcl::TObject* Sender, vcl::TMouseButton Button,
                                 vcl::TShiftState Shift, int X,
                                 int Y) { BtnMouseDown(Sender, Button, Shift, X, Y); };
    button->OnMouseUp = [this](vcl::TObject* Sender, vcl::TMouseButton Button,
                               vcl::TShiftState Shift, int X,
                               int Y) { BtnMouseUp(Sender, Button, Shift, X, Y); };
    button->OnClick = [this](vcl::TObject* Sender) { BtnClick(Sender); };
    if (KeyPopupMenu) button->SetPopupMenu(KeyPopupMenu);
    return button;
}

void TKeyDesignSurface::CreateControls() {
    for (int i = 0; i < keys_->GetCount(); ++i)
        keys_->GetItem(i)->AssignControl(CreateKeyControl());
}

void TKeyDesignSurface::DestroyControls() {
    for (int i = 0; i < keys_->GetCount(); ++i) {
        TKey* key = keys_->GetItem(i);
        if (!key->Control) continue;
        TKeyControl* button = key->Control;
        button->SetParent(nullptr);
        delete button;
        key->Control = nullptr;
    }
}

TKey* TKeyDesignSurface::NewKey(vcl::TFont* Font) {
    auto* key = new TKey(ktNormal);
    key->SetTop(0);
    key->SetLeft(0);
    key->SetWidth(8);
    key->SetHeight(8);
    key->Font->Assign(Font);
    keys_->AddKey(key);
    key->AssignControl(CreateKeyControl());
    return key;
}

void TKeyDesignSurface::DeleteKey(TKey* Key) {
    TKeyControl* button = Key->Control;
    keys_->DeleteAndFreeKey(Key);
    delete button;
}

void TKeyDesignSurface::ClearAll() {
    DestroyControls();
    keys_->DeleteAllKeys();
}

void TKeyDesignSurface::SetKeyFont(vcl::TFont* Font) {
    for (int i = 0; i < keys_->GetCount(); ++i) {
        TKey* key = keys_->GetItem(i);
        key->Font->Assign(Font);
        key->UpdateControl();
    }
}

void TKeyDesignSurface::LoadLayout(const vcl::AnsiString& FileName) {
    TLayoutRead read = TLayoutRead::FromFile(FileName);
    DestroyControls();
    read.HandOver(keys_);
    CreateControls(); // also after a failed read: the surface shows the keys it holds
    read.RaiseError();
}

bool TKeyDesignSurface::MoveKeys(TKeyShiftDirection Direction, int Delta, bool KeepInside) {
    const int count = keys_->GetCount();
    const bool vertical = Direction == ksUp || Direction == ksDown;
    const int64_t step = Direction == ksDown || Direction == ksRight ? Delta : -int64_t{Delta};
    const int64_t limit =
        (vertical ? surface_->GetClientHeight() : surface_->GetClientWidth()) / PixelsPerUnit;
    auto position = [vertical](const TKey* key) { return vertical ? key->Top : key->Left; };
    // All keys move or none: every key is checked first, in 64 bits, since stored layouts may
    // hold any 32-bit position and a position beyond 32 bits could not be stored at all.
    for (int i = 0; i < count; ++i) {
        const TKey* key = keys_->GetItem(i);
        const int64_t moved = position(key) + step;
        if (moved < INT32_MIN || moved > INT32_MAX) return false;
        if (!KeepInside) continue;
        if (step < 0 ? moved < 0 : moved + (vertical ? key->Height : key->Width) > limit)
            return false;
    }
    for (int i = 0; i < count; ++i) {
        TKey* key = keys_->GetItem(i);
        const auto moved = static_cast<int32_t>(position(key) + step);
        if (vertical)
            key->SetTop(moved);
        else
            key->SetLeft(moved);
    }
    return true;
}

void TKeyDesignSurface::BtnMouseDown(vcl::TObject* Sender, vcl::TMouseButton Button,
                                     vcl::TShiftState, int X, int Y) {
    if (Button == vcl::mbLeft) {
        pressed_ = true;
        pressX_ = X;
        pressY_ = Y;
    } else if (OnKeyOtherButton) {
        OnKeyOtherButton(keyButton(Sender));
    }
}

void TKeyDesignSurface::BtnMouseUp(vcl::TObject*, vcl::TMouseButton Button, vcl::TShiftState, int,
                                   int) {
    if (Button == vcl::mbLeft) pressed_ = false;
}

void TKeyDesignSurface::BtnMouseMove(vcl::TObject* Sender, vcl::TShiftState, int X, int Y) {
    if (pressed_ &&
        (std::abs(X - pressX_) > dragThreshold || std::abs(Y - pressY_) > dragThreshold))
        dragging_ = true;
    if (!dragging_) return;
    placeKey(keyButton(Sender));
}

void TKeyDesignSurface::BtnClick(vcl::TObject* Sender) {
    if (dragging_) {
        dragging_ = false;
        return;
    }
    if (OnKeyClick) OnKeyClick(keyButton(Sender));
}

void TKeyDesignSurface::placeKey(TKeyControl* Button) {
    TKey* key = Button->Key;
    if (!key) return;
    // Placed from where the pointer really is, not from the event's coordinates, which are
    // relative to a button that may have moved since.
    const vcl::TPoint p = surface_->ScreenToClient(vcl::Mouse->GetCursorPos());
    const int w = Button->GetWidth();
    const int h = Button->GetHeight();
    // C++ division truncates toward zero, which is the snapping wanted: the key's centre goes to
    // the pointer position truncated to a multiple of the snap step.
    key->SetLeft(((p.X / snapX_) * snapX_ - w / 2) / PixelsPerUnit);
    key->SetTop(((p.Y / snapY_) * snapY_ - h / 2) / PixelsPerUnit);
    if (!LimitDesignArea) return;
    // Half the key's size in pixels, from its size in layout units. The tests use the pointer
    // before snapping; when the key is larger than the client area the second test of each pair
    // decides.
    const int hw = key->Width * PixelsPerUnit / 2;
    const int hh = key->Height * PixelsPerUnit / 2;
    const int cw = surface_->GetClientWidth();
    const int ch = surface_->GetClientHeight();
    if (p.X < hw) key->SetLeft(0);
    if (p.X > cw - hw) key->SetLeft((cw - 2 * hw) / PixelsPerUnit);
    if (p.Y < hh) key->SetTop(0);
    if (p.Y > ch - hh) key->SetTop((ch - 2 * hh) / PixelsPerUnit);
}

} // namespace quimbel
