#include "Keyboard.h"

#include "LayoutRecord.h"
#include "Quimbel.h"
#include "QuimbelConsts.h"
#include "rtl/Streams.h"
#include "rtl/ValueEncoding.h"
#include "vcl/Publish.h"
#include "vcl/Widgetset.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace quimbel {

const vcl::TEnumInfo TypeInfoKeyType{"TKeyType",
                                     {"ktNormal", "ktShift", "ktCapsLock", "ktEscape", "ktAltGr",
                                      "ktEnter", "KtTab", "ktBackspace", "ktInsert", "ktDelete",
                                      "ktHome", "ktEnd", "ktPageUp", "ktPageDown", "ktLeft",
                                      "ktRight", "ktUp", "ktDown", "ktFunction"}};

const vcl::TEnumInfo TypeInfoKeyLevel{"TKeyLevel", {"klNormal", "klShift", "klAltGr"}};

VCL_DEFINE_CLASS(TKeyControl, vcl::TSpeedButton, c) {
    (void)c;
}
VCL_DEFINE_CLASS(TKey, vcl::TObject, c) {
    (void)c;
}
VCL_DEFINE_CLASS(TKeyCollection, vcl::TPersistent, c) {
    (void)c;
}

namespace {

// Layout units at the design scale. The product wraps around in 32 bits, as the stream's
// integers do, instead of overflowing for absurd stored positions.
int32_t unitsToPixels(int32_t units) {
    return static_cast<int32_t>(static_cast<uint32_t>(units) * 4u);
}

// Captions and values are arrays of three: a level from outside the enumeration is refused
// instead of indexing past them.
size_t levelIndex(TKeyLevel Level) {
    if (Level > klAltGr)
        throw vcl::ERangeError(vcl::FmtLoadStr(SKeyLevelOutOfRange, {static_cast<int>(Level)}));
    return Level;
}

// Keys that a click in progress still uses, innermost click first. A key freed meanwhile (a
// handler switched or emptied the layout) is cleared here, so the click can tell.
struct KeyWatch {
    explicit KeyWatch(const TKey* AKey) : key(AKey), next(first) { first = this; }
    ~KeyWatch() {
        for (KeyWatch** w = &first; *w; w = &(*w)->next)
            if (*w == this) {
                *w = next;
                break;
            }
    }
    KeyWatch(const KeyWatch&) = delete;
    KeyWatch& operator=(const KeyWatch&) = delete;

    static void Forget(const TKey* AKey) {
        for (KeyWatch* w = first; w; w = w->next)
            if (w->key == AKey) w->key = nullptr;
    }

    const TKey* key;
    KeyWatch* next;
    static inline thread_local KeyWatch* first = nullptr;
};

} // namespace

// --- TKey ------------------------------------------------------------------------------------

TKeyControl::~TKeyControl() {
    if (Key && Key->Control == this) Key->Control = nullptr;
}

TKey::TKey(TKeyType AKeyType) : KeyType(AKeyType), Font(&fontObject_) {}

TKey::~TKey() {
    if (Control && Control->Key == this) Control->Key = nullptr;
    KeyWatch::Forget(this);
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
    if (Control) Control->SetWidth(Value * 4);
}

void TKey::SetHeight(TKeyHeight Value) {
    Height = Value;
    if (Control) Control->SetHeight(Value * 4);
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
    AControl->SetWidth(Width * 4);
    AControl->SetHeight(Height * 4);
    AControl->SetEnabled(Enabled);
    AControl->SetVisible(Visible);
    AControl->GetFont()->Assign(Font);
    AControl->SetText(KeyCaption[klNormal]);
}

void TKey::UpdateControl() {
    if (!Control) return;
    Control->SetTop(unitsToPixels(Top));
    Control->SetLeft(unitsToPixels(Left));
    Control->SetWidth(Width * 4);
    Control->SetHeight(Height * 4);
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

// LoadKeys and WriteKeys handle the fields of layoutrecord::Fields in its order.
void TKeyCollection::LoadKeys(vcl::TReader* Reader) {
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) {
        // Held here until the whole record was read: a key cut short is not added.
        std::unique_ptr<TKey> key(new TKey(static_cast<TKeyType>(Reader->ReadInteger() & 0xFF)));
        for (TKeyLevel level : {klNormal, klShift, klAltGr})
            key->SetKeyCaption(level, Reader->ReadString());
        for (TKeyLevel level : {klNormal, klShift, klAltGr})
            key->SetKeyValue(level, Reader->ReadString());
        key->SetLeft(Reader->ReadInteger());
        key->SetTop(Reader->ReadInteger());
        key->SetWidth(static_cast<TKeyWidth>(Reader->ReadInteger() & 0xFF));
        key->SetHeight(static_cast<TKeyHeight>(Reader->ReadInteger() & 0xFF));
        key->SetVisible(Reader->ReadBoolean());
        key->SetEnabled(Reader->ReadBoolean());
        vcl::TFont* font = key->Font;
        font->SetName(Reader->ReadString());
        font->SetSize(Reader->ReadInteger());
        font->SetColor(Reader->ReadInteger());
        font->SetStyle(font->GetStyle() + layoutrecord::StylesOf(Reader->ReadInteger()));
        AddKey(key.release());
    }
    Reader->ReadListEnd();
}

namespace {

// The fields of a key in stream order, handed to Out.
template <class Out> void writeKey(Out& out, const TKey* key) {
    out.Integer(key->KeyType);
    for (const vcl::AnsiString& caption : key->KeyCaption)
        out.String(caption);
    for (const vcl::AnsiString& value : key->KeyValue)
        out.String(value);
    out.Integer(key->Left);
    out.Integer(key->Top);
    out.Integer(key->Width);
    out.Integer(key->Height);
    out.Boolean(key->Visible);
    out.Boolean(key->Enabled);
    const vcl::TFont* font = key->Font;
    out.String(font->GetName());
    out.Integer(font->GetSize());
    out.Integer(font->GetColor());
    out.Integer(layoutrecord::StyleValue(font->GetStyle()));
}

constexpr int keyIntegers = 8;
constexpr int keyBooleans = 2;

// Encodes into memory: a whole key is handed to the writer in one piece.
struct EncodeOut {
    uint8_t* p;
    void Integer(int64_t v) { p = vcl::EncodeInteger(p, v); }
    void String(const vcl::AnsiString& v) { p = vcl::EncodeShortString(p, v); }
    void Boolean(bool v) { p = vcl::EncodeBoolean(p, v); }
};

// Each value through the writer; for keys with a string longer than a short string.
struct WriterOut {
    vcl::TWriter* w;
    void Integer(int64_t v) { w->WriteInteger(v); }
    void String(const vcl::AnsiString& v) { w->WriteString(v); }
    void Boolean(bool v) { w->WriteBoolean(v); }
};

} // namespace

void TKeyCollection::WriteKeys(vcl::TWriter* Writer) {
    Writer->WriteListBegin();
    // Room for a key whose strings are all short: 7 strings of up to 257 bytes and the numbers.
    uint8_t buffer[7 * 257 + keyIntegers * vcl::MaxEncodedInteger + keyBooleans];
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const TKey* key = GetItem(i);
        bool allShort = key->Font->GetName().size() <= 255;
        for (int l = 0; l < 3; ++l)
            allShort =
                allShort && key->KeyCaption[l].size() <= 255 && key->KeyValue[l].size() <= 255;
        if (allShort) {
            EncodeOut out{buffer};
            writeKey(out, key);
            Writer->Write(buffer, static_cast<int32_t>(out.p - buffer));
        } else {
            WriterOut out{Writer};
            writeKey(out, key);
        }
    }
    Writer->WriteListEnd();
}

void TKeyCollection::DefineProperties(vcl::TFiler* Filer) {
    vcl::TPersistent::DefineProperties(Filer);
    // Always stored, so that a form keeps an empty layout as such.
    Filer->DefineProperty(
        "Items", [this](vcl::TReader* Reader) { LoadKeys(Reader); },
        [this](vcl::TWriter* Writer) { WriteKeys(Writer); }, true);
}

void TKeyCollection::LoadFromFile(const vcl::AnsiString& FileName) {
    DeleteAllKeys();
    vcl::TFileStream stream(FileName, vcl::fmOpenRead);
    vcl::TReader reader(&stream, 1024);
    LoadKeys(&reader);
}

void TKeyCollection::SaveToFile(const vcl::AnsiString& FileName) {
    vcl::TSaveFileStream stream(FileName);
    vcl::TWriter writer(&stream, 1024);
    WriteKeys(&writer);
    writer.FlushBuffer();
    stream.Commit();
}

VCL_DEFINE_CLASS(TKeyboard, vcl::TCustomPanel, c) {
    using namespace vcl;
    c.Enum("BevelOuter", TBevelCutInfo, &TKeyboard::GetBevelOuter, &TKeyboard::SetBevelOuter)
        .Default(bvRaised);
    c.Enum("BevelInner", TBevelCutInfo, &TKeyboard::GetBevelInner, &TKeyboard::SetBevelInner)
        .Default(bvNone);
    c.Int("BevelWidth", &TKeyboard::GetBevelWidth, &TKeyboard::SetBevelWidth).Default(1);
    c.Enum("BorderStyle", TBorderStyleInfo, &TKeyboard::GetBorderStyle, &TKeyboard::SetBorderStyle)
        .Default(bsNone);
    c.Int("BorderWidth", &TKeyboard::GetBorderWidth, &TKeyboard::SetBorderWidth).Default(0);
    publish::Color(c, clBtnFace);
    publish::Enabled(c);
    c.Enum("CharCase", TEditCharCaseInfo, &TKeyboard::GetCharCase, &TKeyboard::SetCharCase)
        .Default(ecNormal);
    c.Bool("BeepOnKeyPressed", &TKeyboard::GetBeepOnKeyPressed, &TKeyboard::SetBeepOnKeyPressed)
        .Default(false);
    c.Object<TWinControl>("LinkedControl", &TKeyboard::GetLinkedControl,
                          &TKeyboard::SetLinkedControl);
    c.Int("HighlightColor", &TKeyboard::GetHighlightColor, &TKeyboard::SetHighlightColor)
        .Idents(ColorIdents);
    c.Bool("ShiftState", &TKeyboard::GetShiftState).NotStored();
    c.Bool("CapsState", &TKeyboard::GetCapsState).NotStored();
    c.Bool("AltGrState", &TKeyboard::GetAltGrState).NotStored();
    c.Enum("KeyLevel", TypeInfoKeyLevel, &TKeyboard::GetKeyLevel).NotStored();
    c.Object<TKeyCollection>("Keys", &TKeyboard::GetKeys, &TKeyboard::SetKeys);
    c.Event("OnKey", &TKeyboard::OnKey);
    c.Event("OnShiftStateChange", &TKeyboard::OnShiftStateChange);
    c.Event("OnCapsStateChange", &TKeyboard::OnCapsStateChange);
    c.Event("OnAltGrStateChange", &TKeyboard::OnAltGrStateChange);
}

TKeyboard::TKeyboard(vcl::TComponent* AOwner) : vcl::TCustomPanel(AOwner) {
    FShiftState = false;
    FCapsState = false;
    FAltGrState = false;
    FHighlightColor = vcl::clRed;
    SetBevelOuter(vcl::bvNone);
    SetBevelInner(vcl::bvNone);
    // No collection exists yet, so these size changes lay nothing out.
    SetHeight(80);
    SetWidth(400);
    FKeys = new TKeyCollection();
    CreateControls();
}

TKeyboard::~TKeyboard() {
    SendFreeNotifications();
    delete FKeys;
    FKeys = nullptr;
}

void TKeyboard::SetKeys(TKeyCollection* Value) {
    if (!Value) Value = new TKeyCollection(); // a keyboard always has a layout, maybe empty
    TKeyCollection* previous = FKeys;
    FKeys = Value;
    ReCreateControls();
    if (previous != Value) delete previous;
    ResizeKeyboard();
}

void TKeyboard::SetLinkedControl(vcl::TWinControl* Value) {
    if (Value == this) Value = nullptr;
    if (FLinkedControl == Value) return;
    if (FLinkedControl) FLinkedControl->RemoveFreeNotification(this);
    FLinkedControl = Value;
    if (FLinkedControl) FLinkedControl->FreeNotification(this);
}

void TKeyboard::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomPanel::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FLinkedControl) FLinkedControl = nullptr;
}

void TKeyboard::ReCreateControls() {
    FreeAllControls();
    CreateControls();
}

void TKeyboard::ReCreateKeys() {
    ReCreateControls();
}

void TKeyboard::CreateControls() {
    if (!FKeys) return;
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        auto* button = new TKeyControl(this);
        button->SetParent(this);
        button->OnClick = [this](vcl::TObject* Sender) { KeyClick(Sender); };
        key->AssignControl(button);
    }
}

void TKeyboard::FreeAllControls() {
    int i = 0;
    while (i < GetComponentCount()) {
        auto* button = dynamic_cast<TKeyControl*>(GetComponent(i));
        if (!button) {
            ++i;
            continue;
        }
        RemoveComponent(button);
        delete button;
    }
}

void TKeyboard::Loaded() {
    vcl::TCustomPanel::Loaded();
    SetText("");
    CreateControls();
    ResizeKeyboard();
}

void TKeyboard::Resize() {
    vcl::TCustomPanel::Resize();
    ResizeKeyboard();
}

namespace {

// Pixels that `units` layout units gain when each 8 units gain `extra` pixels, truncated toward
// zero. 64-bit arithmetic: stored layouts may hold any 32-bit position.
int scaledPosition(int64_t units, int64_t extra) {
    return static_cast<int>(units * 4 + (units * extra) / 8);
}

// units * extra / 8 rounded to the nearest integer, ties to the even one. Exact in integers,
// as the division by 8 is in floating point; the pass runs this for every key on every resize.
int scaledSize(int64_t units, int64_t extra) {
    const int64_t n = units * extra;
    int64_t q = n / 8, r = n % 8;
    if (r < 0) { // floor division, so that r is the non-negative remainder
        r += 8;
        --q;
    }
    if (r > 4 || (r == 4 && (q & 1) != 0)) ++q;
    return static_cast<int>(units * 4 + q);
}

// Extra pixels per 8 layout units that stretch a span of `span` units over `avail` units. A span
// of zero has nothing to stretch and keeps its natural size.
int64_t extraPerEightUnits(int64_t avail, int64_t span) {
    if (span == 0) return 0;
    long double perEight = static_cast<long double>(span) / 8;
    return vcl::Trunc(static_cast<long double>(avail - span) / perEight * 4);
}

} // namespace

void TKeyboard::ResizeKeyboard() {
    if (!FKeys) return;
    int64_t minLeft = 10000, minTop = 10000, maxRight = 0, maxBottom = 0;
    const int count = FKeys->GetCount();
    for (int i = 0; i < count; ++i) {
        const TKey* key = FKeys->GetItem(i);
        minLeft = std::min<int64_t>(minLeft, key->Left);
        minTop = std::min<int64_t>(minTop, key->Top);
        maxRight = std::max<int64_t>(maxRight, int64_t{key->Left} + key->Width);
        maxBottom = std::max<int64_t>(maxBottom, int64_t{key->Top} + key->Height);
    }
    const int64_t availX = GetClientWidth() / 4 - 4;
    const int64_t availY = GetClientHeight() / 4 - 2;
    const int64_t extraX = extraPerEightUnits(availX, maxRight - minLeft);
    const int64_t extraY = extraPerEightUnits(availY, maxBottom - minTop);
    for (int i = 0; i < count; ++i) {
        const TKey* key = FKeys->GetItem(i);
        TKeyControl* button = key->Control;
        if (!button) continue; // a key whose button is gone (a failed layout load) is not laid out
        button->SetLeft(scaledPosition(key->Left - minLeft, extraX));
        button->SetWidth(scaledSize(key->Width, extraX));
        button->SetTop(scaledPosition(key->Top - minTop, extraY));
        button->SetHeight(scaledSize(key->Height, extraY));
    }
}

void TKeyboard::LoadKeyLayout(const vcl::AnsiString& FileName) {
    if (!vcl::FileExists(FileName))
        throw vcl::Exception(vcl::FmtLoadStr(SFileNotFound, {FileName}));
    FreeAllControls();
    FKeys->DeleteAllKeys();
    FKeys->LoadFromFile(FileName);
    CreateControls();
}

void TKeyboard::SaveKeyLayout(const vcl::AnsiString& FileName) {
    FKeys->SaveToFile(FileName);
}

void TKeyboard::LoadLayoutResource(const vcl::AnsiString& Name) {
    vcl::TResourceStream stream(Name, LayoutResourceType);
    FreeAllControls();
    FKeys->DeleteAllKeys();
    vcl::TReader reader(&stream, 1024);
    FKeys->LoadKeys(&reader);
    CreateControls();
    ResizeKeyboard();
}

TKeyLevel TKeyboard::GetKeyLevel() const {
    if (FShiftState || FCapsState) return klShift;
    if (FAltGrState) return klAltGr;
    return klNormal;
}

void TKeyboard::highlight(TKey* Key, bool On) {
    if (!Key->Control) return;
    Key->Control->GetFont()->SetColor(On ? FHighlightColor : Key->Font->GetColor());
}

void TKeyboard::KeyClick(vcl::TObject* Sender) {
    if (!Sender) vcl::RaiseInvalidCast();
    TKey* key = vcl::As<TKeyControl>(Sender)->Key;
    if (FBeepOnKeyPressed) vcl::Beep();
    if (!key) return; // a button that shows no key types nothing
    switch (key->KeyType) {
    case ktCapsLock:
        ToggleCapsState();
        return;
    case ktShift:
        if (FCapsState)
            ToggleCapsState();
        else
            SetShiftState();
        return;
    case ktAltGr:
        ToggleAltGrState();
        return;
    default:
        break;
    }
    const TKeyLevel level = GetKeyLevel();
    vcl::AnsiString value = key->GetKeyValue(level);
    if (FCharCase == vcl::ecUpperCase)
        value = vcl::UpperCase(value);
    else if (FCharCase == vcl::ecLowerCase)
        value = vcl::LowerCase(value);
    const auto alive = LifeToken();
    const KeyWatch watch(key);
    // Each step may run handlers that free the keyboard or the key.
    auto goOn = [&] { return *alive && watch.key; };
    if (OnKey) OnKey(this, key, level, value);
    if (!goOn()) return;
    DoLinkedControlAction(key);
    if (!goOn()) return;
    if (FShiftState && !FCapsState) ClearShiftState();
    if (!goOn()) return;
    if (FAltGrState) ToggleAltGrState();
}

void TKeyboard::SetShiftState() {
    if (FAltGrState) {
        const auto alive = LifeToken();
        ToggleAltGrState();
        if (!*alive) return; // a state handler freed the keyboard
    }
    if (FShiftState) {
        ClearShiftState();
        return;
    }
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal && key->Control)
            key->Control->SetCaption(key->GetKeyCaption(klShift));
        else if (key->KeyType == ktShift && !FCapsState)
            highlight(key, true);
        else if (key->KeyType == ktCapsLock && FCapsState)
            highlight(key, true);
    }
    FShiftState = true;
    if (OnShiftStateChange) OnShiftStateChange(this, true);
}

void TKeyboard::ClearShiftState() {
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal && key->Control)
            key->Control->SetCaption(key->GetKeyCaption(klNormal));
        else if (key->KeyType == ktShift || key->KeyType == ktCapsLock)
            highlight(key, false);
    }
    FShiftState = false;
    FCapsState = false;
    if (OnShiftStateChange) OnShiftStateChange(this, false);
}

void TKeyboard::ToggleCapsState() {
    const auto alive = LifeToken();
    if (FShiftState) {
        ClearShiftState();
    } else {
        FCapsState = true;
        SetShiftState();
    }
    if (*alive && OnCapsStateChange) OnCapsStateChange(this, FCapsState);
}

void TKeyboard::ToggleAltGrState() {
    if (FShiftState) {
        const auto alive = LifeToken();
        const bool capsWasOn = FCapsState;
        ClearShiftState();
        if (*alive && capsWasOn && OnCapsStateChange) OnCapsStateChange(this, false);
        if (!*alive) return; // a state handler freed the keyboard
    }
    const TKeyLevel target = FAltGrState ? klNormal : klAltGr;
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal && key->Control)
            key->Control->SetCaption(key->GetKeyCaption(target));
        else if (key->KeyType == ktAltGr)
            highlight(key, target == klAltGr);
    }
    FAltGrState = !FAltGrState;
    if (OnAltGrStateChange) OnAltGrStateChange(this, FAltGrState);
}

void TKeyboard::DoLinkedControlAction(TKey* Key) {
    if (!FLinkedControl) return;
    auto keyDown = [this](unsigned vk) { FLinkedControl->Perform(vcl::WM_KEYDOWN, vk, 0); };
    auto character = [this](unsigned char ch) { FLinkedControl->Perform(vcl::WM_CHAR, ch, 0); };
    switch (Key->KeyType) {
    case ktNormal: {
        // The value is read once: a handler of the control may change the state meanwhile, or
        // free the control, the key or the keyboard, which ends the output.
        const vcl::AnsiString value = Key->GetKeyValue(GetKeyLevel());
        const auto alive = LifeToken();
        const KeyWatch watch(Key);
        for (char ch : value) {
            if (!*alive || !watch.key || !FLinkedControl) return;
            character(static_cast<unsigned char>(ch));
        }
        break;
    }
    case ktEscape:
        keyDown(vcl::VK_ESCAPE);
        break;
    case ktEnter:
        character(13);
        break;
    case KtTab:
        character(9);
        break;
    case ktBackspace:
        character(8);
        break;
    case ktInsert:
        keyDown(vcl::VK_INSERT);
        break;
    case ktDelete:
        keyDown(vcl::VK_DELETE);
        break;
    case ktHome:
        keyDown(vcl::VK_HOME);
        break;
    case ktEnd:
        keyDown(vcl::VK_END);
        break;
    case ktPageUp:
        keyDown(vcl::VK_PRIOR);
        break;
    case ktPageDown:
        keyDown(vcl::VK_NEXT);
        break;
    case ktLeft:
        keyDown(vcl::VK_LEFT);
        break;
    case ktRight:
        keyDown(vcl::VK_RIGHT);
        break;
    case ktUp:
        keyDown(vcl::VK_UP);
        break;
    case ktDown:
        keyDown(vcl::VK_DOWN);
        break;
    default:
        break; // modifiers and function keys send nothing
    }
}

TKey* TKeyboard::SearchKey(const vcl::AnsiString& Caption, TKeyLevel Level) const {
    levelIndex(Level);
    for (int i = 0; i < FKeys->GetCount(); ++i)
        if (FKeys->GetItem(i)->GetKeyCaption(Level) == Caption) return FKeys->GetItem(i);
    return nullptr;
}

TKey* TKeyboard::SearchKey(TKeyLevel Level, const vcl::AnsiString& Value) const {
    levelIndex(Level);
    for (int i = 0; i < FKeys->GetCount(); ++i)
        if (FKeys->GetItem(i)->GetKeyValue(Level) == Value) return FKeys->GetItem(i);
    return nullptr;
}

TKey* TKeyboard::SearchKey(TKeyType Type, const vcl::AnsiString& Caption, TKeyLevel Level) const {
    levelIndex(Level);
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == Type && (Caption.empty() || key->GetKeyCaption(Level) == Caption))
            return key;
    }
    return nullptr;
}

} // namespace quimbel
