#include "Keyboard.h"

#include "rtl/RTLConsts.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace quimbel {

const vcl::TEnumInfo TypeInfoKeyType{
    "TKeyType",
    {"ktNormal", "ktShift", "ktCapsLock", "ktEscape", "ktAltGr", "ktEnter", "KtTab", "ktBackspace",
     "ktInsert", "ktDelete", "ktHome", "ktEnd", "ktPageUp", "ktPageDown", "ktLeft", "ktRight",
     "ktUp", "ktDown", "ktFunction"}};

const vcl::TEnumInfo TypeInfoKeyLevel{"TKeyLevel", {"klNormal", "klShift", "klAltGr"}};

VCL_DEFINE_CLASS(TKeyControl, vcl::TSpeedButton, c) { (void)c; }
VCL_DEFINE_CLASS(TKey, vcl::TObject, c) { (void)c; }
VCL_DEFINE_CLASS(TKeyCollection, vcl::TPersistent, c) { (void)c; }

namespace {

// Layout units at the design scale. The product wraps around in 32 bits, as the stream's
// integers do, instead of overflowing for absurd stored positions.
int32_t unitsToPixels(int32_t units) {
    return static_cast<int32_t>(static_cast<uint32_t>(units) * 4u);
}

// Style bits of the layout stream.
constexpr int32_t styleBold = 1;
constexpr int32_t styleItalic = 2;
constexpr int32_t styleUnderline = 4;
constexpr int32_t styleStrikeOut = 8;

} // namespace

// --- TKey ------------------------------------------------------------------------------------

TKey::TKey(TKeyType AKeyType) : KeyType(AKeyType), Font(new vcl::TFont) {}

TKey::~TKey() { delete Font; }

vcl::AnsiString TKey::GetKeyCaption(TKeyLevel Level) const {
    assert(Level <= klAltGr);
    return KeyCaption[Level];
}

vcl::AnsiString TKey::GetKeyValue(TKeyLevel Level) const {
    assert(Level <= klAltGr);
    return KeyValue[Level];
}

void TKey::SetKeyCaption(TKeyLevel Level, const vcl::AnsiString& Value) {
    assert(Level <= klAltGr);
    KeyCaption[Level] = Value;
}

void TKey::SetKeyValue(TKeyLevel Level, const vcl::AnsiString& Value) {
    assert(Level <= klAltGr);
    KeyValue[Level] = Value;
}

void TKey::SetKeyType(TKeyType Value) {
    KeyType = Value;
    if (Value != ktNormal)
        for (vcl::AnsiString& v : KeyValue) v.clear();
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

TKeyCollection::~TKeyCollection() { DeleteAllKeys(); }

void TKeyCollection::AddKey(TKey* Key) { list_.Add(Key); }

TKey* TKeyCollection::GetItem(int Index) const { return static_cast<TKey*>(list_.Get(Index)); }

int TKeyCollection::GetCount() const { return list_.GetCount(); }

void TKeyCollection::DeleteKey(int Index) { list_.Delete(Index); }

void TKeyCollection::DeleteKey(TKey* Key) {
    int index = list_.IndexOf(Key);
    if (index >= 0) list_.Delete(index);
}

void TKeyCollection::DeleteAndFreeKey(int Index) { DeleteAndFreeKey(GetItem(Index)); }

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
    for (int i = 0; i < GetCount(); ++i) keys.push_back(GetItem(i));
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
        int32_t style = Reader->ReadInteger();
        vcl::TFontStyles styles = font->GetStyle();
        if (style & styleBold) styles.Include(vcl::fsBold);
        if (style & styleItalic) styles.Include(vcl::fsItalic);
        if (style & styleUnderline) styles.Include(vcl::fsUnderline);
        if (style & styleStrikeOut) styles.Include(vcl::fsStrikeOut);
        font->SetStyle(styles);
        AddKey(key.release());
    }
    Reader->ReadListEnd();
}

void TKeyCollection::WriteKeys(vcl::TWriter* Writer) {
    Writer->WriteListBegin();
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const TKey* key = GetItem(i);
        Writer->WriteInteger(key->KeyType);
        for (const vcl::AnsiString& caption : key->KeyCaption) Writer->WriteString(caption);
        for (const vcl::AnsiString& value : key->KeyValue) Writer->WriteString(value);
        Writer->WriteInteger(key->Left);
        Writer->WriteInteger(key->Top);
        Writer->WriteInteger(key->Width);
        Writer->WriteInteger(key->Height);
        Writer->WriteBoolean(key->Visible);
        Writer->WriteBoolean(key->Enabled);
        const vcl::TFont* font = key->Font;
        Writer->WriteString(font->GetName());
        Writer->WriteInteger(font->GetSize());
        Writer->WriteInteger(font->GetColor());
        const vcl::TFontStyles styles = font->GetStyle();
        Writer->WriteInteger((styles.Contains(vcl::fsBold) ? styleBold : 0) |
                             (styles.Contains(vcl::fsItalic) ? styleItalic : 0) |
                             (styles.Contains(vcl::fsUnderline) ? styleUnderline : 0) |
                             (styles.Contains(vcl::fsStrikeOut) ? styleStrikeOut : 0));
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

namespace {

[[noreturn]] void raiseCreateError(const vcl::AnsiString& FileName, int Error) {
    throw vcl::EFCreateError(vcl::FmtLoadStr(vcl::rtlconsts::SFCreateErrorEx,
                                             {FileName, vcl::SysErrorMessage(Error)}));
}

// The file a save replaces. Saving through a symbolic link updates the file it points to
// rather than replacing the link.
vcl::AnsiString saveTarget(const vcl::AnsiString& FileName) {
    struct stat st;
    if (::lstat(FileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(FileName.c_str(), nullptr)) {
            vcl::AnsiString target = real;
            std::free(real);
            return target;
        }
    }
    return FileName;
}

// Creates an empty file of a unique name beside Target, with the permissions of the file it
// will replace, or those of a newly created file.
vcl::AnsiString createFileBeside(const vcl::AnsiString& Target, const vcl::AnsiString& FileName) {
    vcl::AnsiString name = Target + ".XXXXXX";
    int fd = ::mkstemp(&name[0]);
    if (fd < 0) raiseCreateError(FileName, errno);
    struct stat st;
    mode_t mode;
    if (::stat(Target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int chmodFailed = ::fchmod(fd, mode);
    ::close(fd);
    (void)chmodFailed; // the file stays usable with the private permissions of mkstemp
    return name;
}

} // namespace

void TKeyCollection::SaveToFile(const vcl::AnsiString& FileName) {
    const vcl::AnsiString target = saveTarget(FileName);
    const vcl::AnsiString temp = createFileBeside(target, FileName);
    try {
        vcl::TFileStream stream(temp, vcl::fmCreate);
        vcl::TWriter writer(&stream, 1024);
        WriteKeys(&writer);
        // Written out here rather than in the destructors, where a failure could not be seen.
        writer.FlushBuffer();
        stream.Flush();
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        raiseCreateError(FileName, error);
    }
}

} // namespace quimbel
