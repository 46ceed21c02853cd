#pragma once
// A component as the bytes of its form stream, and read back from them: for tests of what a
// property stores.

#include "rtl/FormStreams.h"
#include "rtl/Streams.h"

#include <string>

namespace testsupport {

inline std::string StreamedBytes(vcl::TComponent* Component) {
    vcl::TMemoryStream stream;
    vcl::WriteComponent(&stream, Component);
    return std::string(static_cast<const char*>(stream.Memory()),
                       static_cast<size_t>(stream.GetSize()));
}

inline void ReadBytes(const std::string& Bytes, vcl::TComponent* Component) {
    vcl::TMemoryStream in;
    in.WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    in.SetPosition(0);
    vcl::ReadComponent(&in, Component);
}

} // namespace testsupport
