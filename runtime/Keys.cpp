#include "Keys.h"

#include "KeyDetail.h"
#include "QuimbelConsts.h"

#include <algorithm>
#include <vector>

namespace quimbel {

const vcl::TEnumInfo TypeInfoKeyType{"TKeyType",
                                     {"ktNormal", "ktShift", "ktCapsLock", "ktEscape", "ktAltGr",
                                      "ktEnter", "KtTab", "ktBackspace", "ktInsert", "ktDelete",
                                      "ktHome", "ktEnd", "ktPageUp", "ktPageDown", "ktLeft",
                                      "ktRight", "ktUp", "ktDown", "ktFunction"}};

const vcl::TEnumInfo TypeInfoKeyLevel{"TKeyLevel", {"klNormal", "klShift", "klAltGr"}};

VCL_DEFINE_PLAIN_CLASS(TKeyControl, vcl::TSpeedButton)
VCL_DEFINE_PLAIN_CLASS(TKey, vcl::TObject)
VCL_DEFINE_PLAIN_CLASS(TKeyCollection, vcl::TPersistent)

size_t detail::levelIndex(TKeyLevel Level) {
    if (Level > klAltGr)
        throw vcl::ERangeError(vcl::FmtLoadStr(SKeyLevelOutOfRange, {static_cast<int>(Level)}));
    return Level;
}

namespace {

using detail::levelIndex;

// Layout units at the design scale. The product wraps around in 32 bits, as the stream's
// integers do, instead of overflowing for absurd stored positions.
int32_t unitsToPixels(int32_t units) {
    return static_cast<int32_t>(static_cast<uint32_t>(units) * uint32_t{PixelsPerUnit});
}

} // namespace

// --- TKey ------------------------------------------------------------------------------------

TKeyControl::TKeyControl(vcl::TComponent* AOwner) : vcl::TSpeedButton(AOwner) {
    SetSiblingNotifications(false);
}

TKeyControl::~TKeyControl() {
    if (Key && Key->Control == this) Key->Control = nullptr;
}

void TKeyControl::WndProc(vcl::TMessage& Message) {
    if (TakeMessage) {
        // Taking a switch press may type a key whose handler frees this button.
        const auto take = TakeMessage;
        if (take(Message)) return;
    }
    vcl::TSpeedButton::WndProc(Message);
}

TKey::TKey(TKeyType AKeyType) : KeyType(AKeyType), Font(&fontObject_) {}

TKey::~TKey() {
    if (Control && Control->Key == this) Control->Key = nullptr;
    detail::KeyWatch::Forget(this);
}
vcl::AnsiString TKey::GetKeyCaption(TKeyLevel Level) const {
    return KeyCaption[levelIndex(Level)];
}

vcl::AnsiString TKey::GetKeyValue(TKeyLevel Level) const {
    return KeyValue[levelIndex(Level)];
}

void TKey::SetKeyCaption(TKeyLevel Level, vcl::AnsiString Value) {
    KeyCaption[levelIndex(Level)] = std::move(Value);
}

void TKey::SetKeyValue(TKeyLevel Level, vcl::AnsiString Value) {
    KeyValue[levelIndex(Level)] = std::move(Value);
}

void TKey::SetKeyType(TKeyType Value) {
    KeyType = Value;
    if (Value != ktNormal)
        for (vcl::AnsiString& v : KeyValue)
            v.clear();
}

void TKey::SetLeft(int32_t Value) {
    Left = Value;
    if (Control) Control->SetLeft(unitsToPixels(Value));
}

void TKey::SetTop(int32_t Value) {
    Top = Value;
    if (Control) Control->SetTop(unitsToPixels(Value));
}

void TKey::SetWidth(TKeyWidth Value) {
    Width = Value;
    if (Control) Control->SetWidth(Value * PixelsPerUnit);
}

void TKey::SetHeight(TKeyHeight Value) {
    Height = Value;
    if (Control) Control->SetHeight(Value * PixelsPerUnit);
}

void TKey::SetEnabled(bool Value) {
    Enabled = Value;
    if (Control) Control->SetEnabled(Value);
}

void TKey::SetVisible(bool Value) {
    Visible = Value;
    if (Control) Control->SetVisible(Value);
}

void TKey::SetFont(vcl::TFont* Value) {
    Font->Assign(Value);
    if (Control) Control->GetFont()->Assign(Value);
}

void TKey::AssignControl(TKeyControl* AControl) {
    // One binding each way at a time, so that each side can unbind the other when it is freed.
    if (Control && Control != AControl && Control->Key == this) Control->Key = nullptr;
    if (AControl->Key && AControl->Key != this && AControl->Key->Control == AControl)
        AControl->Key->Control = nullptr;
    Control = AControl;
    AControl->Key = this;
    AControl->SetTop(unitsToPixels(Top));
    AControl->SetLeft(unitsToPixels(Left));
    AControl->SetWidth(Width * PixelsPerUnit);
    AControl->SetHeight(Height * PixelsPerUnit);
    AControl->SetEnabled(Enabled);
    AControl->SetVisible(Visible);
    AControl->GetFont()->Assign(Font);
    AControl->SetText(KeyCaption[klNormal]);
}

void TKey::UpdateControl() {
    if (!Control) return;
    Control->SetTop(unitsToPixels(Top));
    Control->SetLeft(unitsToPixels(Left));
    Control->SetWidth(Width * PixelsPerUnit);
    Control->SetHeight(Height * PixelsPerUnit);
    Control->SetEnabled(Enabled);
    Control->SetVisible(Visible);
    Control->SetText(KeyCaption[klNormal]);
    Control->GetFont()->Assign(Font);
}

// --- TKeyCollection --------------------------------------------------------------------------

TKeyCollection::TKeyCollection() = default;

TKeyCollection::~TKeyCollection() {
    DeleteAllKeys();
}

void TKeyCollection::AddKey(TKey* Key) {
    list_.Add(Key);
}

TKey* TKeyCollection::GetItem(int Index) const {
    return static_cast<TKey*>(list_.Get(Index));
}

int TKeyCollection::GetCount() const {
    return list_.GetCount();
}

void TKeyCollection::DeleteKey(int Index) {
    list_.Delete(Index);
}

void TKeyCollection::DeleteKey(TKey* Key) {
    int index = list_.IndexOf(Key);
    if (index >= 0) list_.Delete(index);
}

void TKeyCollection::DeleteAndFreeKey(int Index) {
    DeleteAndFreeKey(GetItem(Index));
}

void TKeyCollection::DeleteAndFreeKey(TKey* Key) {
    while (list_.Remove(Key) >= 0) {
    }
    delete Key;
}

void TKeyCollection::DeleteAllKeys() {
    // The list is emptied in one step rather than entry by entry from the front, which would
    // take quadratic time on large layouts; a key listed more than once is freed once.
    std::vector<TKey*> keys;
    keys.reserve(static_cast<size_t>(GetCount()));
    for (int i = 0; i < GetCount(); ++i)
        keys.push_back(GetItem(i));
    list_.Clear();
    std::vector<TKey*> sorted(keys);
    std::sort(sorted.begin(), sorted.end());
    std::vector<bool> freed(sorted.size());
    for (TKey* key : keys) {
        size_t i = static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), key) -
                                       sorted.begin());
        if (freed[i]) continue;
        freed[i] = true;
        delete key;
    }
}

} // namespace quimbel
