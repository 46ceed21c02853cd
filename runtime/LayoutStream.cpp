#include "LayoutStream.h"

#include "LayoutRecord.h"
#include "Quimbel.h"
#include "rtl/Streams.h"
#include "rtl/ValueEncoding.h"

#include <utility>

namespace quimbel {

namespace {

using layoutrecord::Fields;
using layoutrecord::TField;
using layoutrecord::TValueKind;

// The fields are visited through a compile-time index, so that each accessor of the table is
// called directly and inlined: writing a key costs what writing its members one by one does.
constexpr auto allFields = std::make_index_sequence<layoutrecord::FieldCount>();

template <size_t I> void readField(vcl::TReader& Reader, TKey& Key) {
    constexpr const TField& f = Fields[I];
    if constexpr (f.Kind == TValueKind::Integer)
        f.SetInteger(Key, Reader.ReadInteger());
    else if constexpr (f.Kind == TValueKind::String)
        f.SetString(Key, Reader.ReadString());
    else
        f.SetBoolean(Key, Reader.ReadBoolean());
}

template <size_t... I> void readKey(vcl::TReader& Reader, TKey& Key, std::index_sequence<I...>) {
    (readField<I>(Reader, Key), ...); // a fold over the comma runs the fields in stream order
}

template <size_t I, class Out> void writeField(Out& out, const TKey& Key) {
    constexpr const TField& f = Fields[I];
    if constexpr (f.Kind == TValueKind::Integer)
        out.Integer(f.GetInteger(Key));
    else if constexpr (f.Kind == TValueKind::String)
        out.String(f.GetString(Key));
    else
        out.Boolean(f.GetBoolean(Key));
}

template <class Out, size_t... I>
void writeKey(Out& out, const TKey& Key, std::index_sequence<I...>) {
    (writeField<I>(out, Key), ...);
}

template <size_t I> bool fitsShortString(const TKey& Key) {
    constexpr const TField& f = Fields[I];
    if constexpr (f.Kind == TValueKind::String)
        return f.GetString(Key).size() <= 255;
    else
        return true;
}

template <size_t... I> bool allStringsShort(const TKey& Key, std::index_sequence<I...>) {
    return (fitsShortString<I>(Key) && ...);
}

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

// The most a key whose strings are all short takes encoded: a short string is a tag, a length
// byte and up to 255 bytes; a boolean is one tag.
constexpr int maxEncodedKey = layoutrecord::CountOf(TValueKind::String) * 257 +
                              layoutrecord::CountOf(TValueKind::Integer) * vcl::MaxEncodedInteger +
                              layoutrecord::CountOf(TValueKind::Boolean);

} // namespace

// --- TKeyCollection: the layout stream -------------------------------------------------------

void TKeyCollection::LoadKeys(vcl::TReader* Reader) {
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) {
        // Held here until the whole record was read: a key cut short is not added.
        auto key = std::make_unique<TKey>(ktNormal);
        readKey(*Reader, *key, allFields);
        AddKey(key.release());
    }
    Reader->ReadListEnd();
}

void TKeyCollection::WriteKeys(vcl::TWriter* Writer) {
    Writer->WriteListBegin();
    uint8_t buffer[maxEncodedKey];
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const TKey& key = *GetItem(i);
        if (allStringsShort(key, allFields)) {
            EncodeOut out{buffer};
            writeKey(out, key, allFields);
            Writer->Write(buffer, static_cast<int32_t>(out.p - buffer));
        } else {
            WriterOut out{Writer};
            writeKey(out, key, allFields);
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
    TLayoutRead read = TLayoutRead::FromFile(FileName);
    read.HandOver(this);
    read.RaiseError();
}

void TKeyCollection::SaveToFile(const vcl::AnsiString& FileName) {
    vcl::TSaveFileStream stream(FileName);
    vcl::TWriter writer(&stream, 1024);
    WriteKeys(&writer);
    writer.FlushBuffer();
    stream.Commit();
}

// --- TLayoutRead -----------------------------------------------------------------------------

TLayoutRead::TLayoutRead() : keys_(std::make_unique<TKeyCollection>()) {}

TLayoutRead TLayoutRead::FromFile(const vcl::AnsiString& FileName) {
    TLayoutRead read;
    try {
        vcl::TFileStream stream(FileName, vcl::fmOpenRead);
        vcl::TReader reader(&stream, 1024);
        read.keys_->LoadKeys(&reader);
    } catch (...) {
        read.error_ = std::current_exception();
    }
    return read;
}

TLayoutRead TLayoutRead::FromResource(const vcl::AnsiString& Name) {
    TLayoutRead read;
    try {
        vcl::TResourceStream stream(Name, LayoutResourceType);
        vcl::TReader reader(&stream, 1024);
        read.keys_->LoadKeys(&reader);
    } catch (...) {
        read.error_ = std::current_exception();
    }
    return read;
}

void TLayoutRead::RaiseError() const {
    if (error_) std::rethrow_exception(error_);
}

void TLayoutRead::HandOver(TKeyCollection* Keys) {
    Keys->DeleteAllKeys();
    for (int i = 0; i < keys_->GetCount(); ++i)
        Keys->list_.Add(keys_->GetItem(i));
    keys_->list_.Clear();
}

} // namespace quimbel
