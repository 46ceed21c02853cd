// Arbitrary bytes as a layout stream. Reading must either succeed or raise the platform's
// read error, and whatever it read must survive a write and a second read unchanged.

#include "runtime/Keyboard.h"

#include "rtl/Streams.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<uint8_t> write(quimbel::TKeyCollection& keys) {
    vcl::TMemoryStream stream;
    {
        vcl::TWriter writer(&stream, 1024);
        keys.WriteKeys(&writer);
    }
    return stream.Bytes();
}

void read(quimbel::TKeyCollection& keys, const uint8_t* data, size_t size) {
    vcl::TMemoryStream stream;
    if (size) stream.Write(data, static_cast<int32_t>(size));
    stream.SetPosition(0);
    vcl::TReader reader(&stream, 1024);
    keys.LoadKeys(&reader);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quimbel::TKeyCollection keys;
    try {
        read(keys, data, size);
    } catch (const vcl::EReadError&) {
        // Keys read completely before the error stay; they must write and read back too.
    }
    const std::vector<uint8_t> written = write(keys);
    quimbel::TKeyCollection back;
    read(back, written.data(), written.size());
    if (back.GetCount() != keys.GetCount() || write(back) != written) std::abort();
    return 0;
}
