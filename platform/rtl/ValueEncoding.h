#pragma once
// The encodings TWriter writes, for code that encodes a run of values into memory of its own and
// hands them to TWriter::Write in one piece. Each function writes at P and returns the end.

#include "Filer.h"

#include <cstdint>
#include <cstring>

namespace vcl {

// Bytes an integer takes at most.
constexpr int32_t MaxEncodedInteger = 9;

// The smallest of vaInt8, vaInt16, vaInt32; vaInt64 beyond 32 bits; little-endian.
inline uint8_t* EncodeInteger(uint8_t* P, int64_t Value) {
    int n;
    if (Value >= INT8_MIN && Value <= INT8_MAX)
        *P = vaInt8, n = 1;
    else if (Value >= INT16_MIN && Value <= INT16_MAX)
        *P = vaInt16, n = 2;
    else if (Value >= INT32_MIN && Value <= INT32_MAX)
        *P = vaInt32, n = 4;
    else
        *P = vaInt64, n = 8;
    auto v = static_cast<uint64_t>(Value);
    for (int i = 1; i <= n; ++i, v >>= 8)
        P[i] = static_cast<uint8_t>(v);
    return P + 1 + n;
}

// vaString: a string of at most 255 bytes (the caller checks), two bytes more than its length.
inline uint8_t* EncodeShortString(uint8_t* P, const AnsiString& Value) {
    P[0] = vaString;
    P[1] = static_cast<uint8_t>(Value.size());
    std::memcpy(P + 2, Value.data(), Value.size());
    return P + 2 + Value.size();
}

inline uint8_t* EncodeBoolean(uint8_t* P, bool Value) {
    *P = Value ? vaTrue : vaFalse;
    return P + 1;
}

} // namespace vcl
