#pragma once
// Helpers shared by the key model tests: building keys, writing and reading layout streams in
// memory, and comparing keys field by field.

#include "runtime/Keyboard.h"

#include "rtl/Streams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace keytest {

using Bytes = std::vector<uint8_t>;

inline quimbel::TKey* MakeKey(quimbel::TKeyType type, const std::string& normal,
                              const std::string& shift, const std::string& altgr) {
    auto* key = new quimbel::TKey(type);
    key->SetKeyCaption(quimbel::klNormal, normal);
    key->SetKeyCaption(quimbel::klShift, shift);
    key->SetKeyCaption(quimbel::klAltGr, altgr);
    key->SetKeyValue(quimbel::klNormal, normal);
    key->SetKeyValue(quimbel::klShift, shift);
    key->SetKeyValue(quimbel::klAltGr, altgr);
    return key;
}

inline Bytes Write(quimbel::TKeyCollection& keys) {
    vcl::TMemoryStream stream;
    {
        vcl::TWriter writer(&stream, 1024);
        keys.WriteKeys(&writer);
    }
    return stream.Bytes();
}

inline vcl::TMemoryStream* StreamOf(const Bytes& bytes) {
    auto* stream = new vcl::TMemoryStream;
    if (!bytes.empty()) stream->Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

// Reads bytes into keys; the reader's exception propagates.
inline void Read(quimbel::TKeyCollection& keys, const Bytes& bytes) {
    std::unique_ptr<vcl::TMemoryStream> stream(StreamOf(bytes));
    vcl::TReader reader(stream.get(), 1024);
    keys.LoadKeys(&reader);
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes ShortString(const std::string& s) {
    Bytes out{0x06, static_cast<uint8_t>(s.size())};
    out.insert(out.end(), s.begin(), s.end());
    return out;
}

// Everything the layout stream carries of a key, for comparisons with a readable failure.
inline std::string Describe(const quimbel::TKey& k) {
    std::string s = std::to_string(k.KeyType);
    for (const auto& c : k.KeyCaption)
        s += "|" + c;
    for (const auto& v : k.KeyValue)
        s += "|" + v;
    s += "|" + std::to_string(k.Left) + "," + std::to_string(k.Top) + "," +
         std::to_string(k.Width) + "x" + std::to_string(k.Height);
    s += k.Visible ? "|visible" : "|hidden";
    s += k.Enabled ? "|enabled" : "|disabled";
    s += "|" + k.Font->GetName() + "," + std::to_string(k.Font->GetSize()) + "," +
         std::to_string(k.Font->GetColor()) + "," + std::to_string(k.Font->GetStyle().Mask());
    return s;
}

inline std::vector<std::string> Describe(const quimbel::TKeyCollection& keys) {
    std::vector<std::string> out;
    for (int i = 0; i < keys.GetCount(); ++i)
        out.push_back(Describe(*keys.GetItem(i)));
    return out;
}

} // namespace keytest
