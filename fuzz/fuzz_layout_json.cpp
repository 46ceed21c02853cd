// Arbitrary bytes as the JSON form of a layout, read as kly build reads it. A failed read raises
// the tool's own error and changes nothing: neither the keys already there nor the active code
// page. A successful one dumps to JSON that builds the same keys byte for byte, and dumps again
// to the same text.

#include "KlyConsts.h"
#include "LayoutJson.h"

#include "rtl/CodePage.h"
#include "rtl/Streams.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> bytesOf(quimbel::TKeyCollection& Keys) {
    vcl::TMemoryStream stream;
    {
        vcl::TWriter writer(&stream, 1024);
        Keys.WriteKeys(&writer);
    }
    return stream.Bytes();
}

void check(bool Condition) {
    if (!Condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vcl::SetAnsiCodePage(1252);
    quimbel::TKeyCollection keys;
    auto* first = new quimbel::TKey(quimbel::ktNormal);
    first->SetKeyCaption(quimbel::klNormal, "q");
    keys.AddKey(first);
    const std::vector<uint8_t> before = bytesOf(keys);
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        kly::LayoutFromJson(text, keys);
    } catch (const kly::EKlyError&) {
        check(bytesOf(keys) == before && vcl::GetAnsiCodePage() == 1252);
        return 0;
    }
    const std::string dump = kly::LayoutToJson(keys);
    quimbel::TKeyCollection built;
    vcl::SetAnsiCodePage(1250); // the dump names its page
    kly::LayoutFromJson(dump, built);
    check(bytesOf(built) == bytesOf(keys) && kly::LayoutToJson(built) == dump);
    check(kly::LayoutToJson(built, true) == kly::LayoutToJson(keys, true));
    return 0;
}
