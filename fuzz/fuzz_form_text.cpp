// Converts arbitrary text to a binary form stream and back. Text that converts must give text
// that converts to the very same binary again, and that text must be stable.

#include "rtl/FormStreams.h"

#include <cstdlib>

using namespace vcl;

namespace {

std::vector<uint8_t> convert(const std::vector<uint8_t>& in, bool toBinary) {
    TMemoryStream input, output;
    if (!in.empty()) input.WriteBuffer(in.data(), static_cast<int32_t>(in.size()));
    input.SetPosition(0);
    if (toBinary)
        ObjectTextToBinary(&input, &output);
    else
        ObjectBinaryToText(&input, &output);
    return output.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> text(data, data + size);
    std::vector<uint8_t> binary;
    try {
        binary = convert(text, true);
    } catch (const EParserError&) {
        return 0;
    }
    // Everything the text converter writes, the binary converter must read.
    std::vector<uint8_t> text1 = convert(binary, false);
    std::vector<uint8_t> binary2 = convert(text1, true);
    std::vector<uint8_t> text2 = convert(binary2, false);
    if (binary2 != binary || text1 != text2) std::abort();
    return 0;
}
