#include "Filer.h"

#include "CodePage.h"
#include "RTLConsts.h"
#include "ValueEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vcl {

VCL_DEFINE_PLAIN_CLASS(TFiler, TObject)
VCL_DEFINE_PLAIN_CLASS(TReader, TFiler)
VCL_DEFINE_PLAIN_CLASS(TWriter, TFiler)

namespace {

uint64_t loadLE(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

void storeLE(uint8_t* p, uint64_t v, int n) {
    for (int i = 0; i < n; ++i, v >>= 8)
        p[i] = static_cast<uint8_t>(v);
}

const TResStringRec& expectedMessage(TValueType v) {
    switch (v) {
    case vaNull:
        return rtlconsts::SListEndExpected;
    case vaList:
        return rtlconsts::SListExpected;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        return rtlconsts::SIntegerExpected;
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        return rtlconsts::SStringExpected;
    case vaIdent:
    case vaNil:
        return rtlconsts::SIdentExpected;
    case vaFalse:
    case vaTrue:
        return rtlconsts::SBooleanExpected;
    case vaExtended:
    case vaSingle:
    case vaCurrency:
    case vaDate:
        return rtlconsts::SFloatExpected;
    case vaBinary:
        return rtlconsts::SBinaryExpected;
    case vaSet:
        return rtlconsts::SSetExpected;
    case vaCollection:
        return rtlconsts::SCollectionExpected;
    }
    return rtlconsts::SInvalidPropertyValue;
}

} // namespace

// --- TFiler ----------------------------------------------------------------------------------

TFiler::TFiler(TStream* Stream, int BufSize)
    : stream_(Stream), buffer_(static_cast<size_t>(std::max(BufSize, 1))) {}

TFiler::~TFiler() = default;

// --- TReader ---------------------------------------------------------------------------------

TReader::TReader(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) {}

TReader::~TReader() {
    if (bufEnd_ > bufPos_) {
        try {
            stream_->Seek(-static_cast<int64_t>(bufEnd_ - bufPos_), soCurrent);
        } catch (...) {
            // A destructor cannot report; the position is then just after the buffered block.
        }
    }
}

void TReader::Error(const AnsiString& Message) const {
    throw EReadError(Message);
}

void TReader::refill() {
    int32_t n = stream_->Read(buffer_.data(), static_cast<int32_t>(buffer_.size()));
    if (n <= 0) Error(stream_->ErrorMessage(LoadResString(rtlconsts::SReadError)));
    bufPos_ = 0;
    bufEnd_ = n;
}

uint8_t TReader::peekByte() {
    if (bufPos_ >= bufEnd_) refill();
    return buffer_[static_cast<size_t>(bufPos_)];
}

uint8_t TReader::readByte() {
    uint8_t b = peekByte();
    ++bufPos_;
    return b;
}

// Numbers are a few bytes each: copied byte by byte, they cost less than a call of memcpy.
void TReader::readSmall(uint8_t* Bytes, int32_t Count) {
    if (Count > bufEnd_ - bufPos_) {
        Read(Bytes, Count);
        return;
    }
    const uint8_t* s = buffer_.data() + bufPos_;
    for (int32_t i = 0; i < Count; ++i)
        Bytes[i] = s[i];
    bufPos_ += Count;
}

uint32_t TReader::readUInt32() {
    uint8_t b[4];
    readSmall(b, 4);
    return static_cast<uint32_t>(loadLE(b, 4));
}

void TReader::Read(void* Buf, int32_t Count) {
    // Most values lie wholly in the buffer.
    if (Count <= bufEnd_ - bufPos_) {
        if (Count > 0) std::memcpy(Buf, buffer_.data() + bufPos_, static_cast<size_t>(Count));
        bufPos_ += std::max(Count, 0);
        return;
    }
    auto* p = static_cast<uint8_t*>(Buf);
    while (Count > 0) {
        if (bufPos_ >= bufEnd_) {
            // Large blocks bypass the buffer.
            if (Count >= static_cast<int32_t>(buffer_.size())) {
                if (stream_->Read(p, Count) != Count)
                    Error(stream_->ErrorMessage(LoadResString(rtlconsts::SReadError)));
                return;
            }
            refill();
        }
        int32_t n = std::min(Count, bufEnd_ - bufPos_);
        std::memcpy(p, buffer_.data() + bufPos_, static_cast<size_t>(n));
        bufPos_ += n;
        p += n;
        Count -= n;
    }
}

int64_t TReader::Remaining() const {
    int64_t pos = stream_->GetPosition();
    int64_t size = pos < 0 ? -1 : stream_->GetSize();
    if (pos < 0 || size < 0) return INT64_MAX;
    return (bufEnd_ - bufPos_) + std::max<int64_t>(size - pos, 0);
}

int64_t TReader::Position() const {
    return stream_->GetPosition() - (bufEnd_ - bufPos_);
}

void TReader::checkLength(uint64_t count) const {
    if (count > static_cast<uint64_t>(Remaining()))
        Error(stream_->ErrorMessage(LoadResString(rtlconsts::SReadError)));
}

AnsiString TReader::readBytes(uint64_t count) {
    // Buffered bytes need no length check against the stream.
    if (count <= static_cast<uint64_t>(bufEnd_ - bufPos_)) {
        AnsiString s(reinterpret_cast<const char*>(buffer_.data()) + bufPos_, count);
        bufPos_ += static_cast<int32_t>(count);
        return s;
    }
    checkLength(count);
    AnsiString s;
    // Grown chunk by chunk: when the stream cannot tell its size, only bytes that really
    // arrived are ever allocated.
    constexpr uint64_t chunk = 1 << 20;
    while (s.size() < count) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(count - s.size(), chunk));
        size_t old = s.size();
        s.resize(old + n);
        Read(&s[old], static_cast<int32_t>(n));
    }
    return s;
}

TValueType TReader::NextValue() {
    return static_cast<TValueType>(peekByte());
}

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(readByte());
}

bool TReader::EndOfList() {
    return NextValue() == vaNull;
}

void TReader::CheckValue(TValueType Value) {
    if (ReadValue() != Value) Error(LoadResString(expectedMessage(Value)));
}

void TReader::ReadListBegin() {
    CheckValue(vaList);
}

void TReader::ReadListEnd() {
    CheckValue(vaNull);
}

void TReader::ReadSignature() {
    char sig[4];
    Read(sig, 4);
    if (std::memcmp(sig, "TPF0", 4) != 0) throw EReadError(LoadResString(rtlconsts::SInvalidImage));
}

void TReader::ReadPrefix(uint8_t& Flags, int32_t& ChildPos) {
    Flags = 0;
    ChildPos = 0;
    if ((peekByte() & 0xF0) == 0xF0) {
        Flags = readByte() & 0x0F;
        if (Flags & ffChildPos) ChildPos = ReadInteger();
    }
}

// The common case, a whole one- or two-byte integer in the buffer, decoded in place.
inline bool TReader::readSmallInteger(int32_t& Value) {
    if (bufEnd_ - bufPos_ < 3) return false;
    const uint8_t* p = buffer_.data() + bufPos_;
    if (p[0] == vaInt8) {
        bufPos_ += 2;
        Value = static_cast<int8_t>(p[1]);
        return true;
    }
    if (p[0] == vaInt16) {
        bufPos_ += 3;
        Value = static_cast<int16_t>(p[1] | (p[2] << 8));
        return true;
    }
    return false;
}

int64_t TReader::ReadInt64() {
    int32_t small;
    if (readSmallInteger(small)) return small;
    uint8_t b[8];
    switch (ReadValue()) {
    case vaInt8:
        readSmall(b, 1);
        return static_cast<int8_t>(b[0]);
    case vaInt16:
        readSmall(b, 2);
        return static_cast<int16_t>(loadLE(b, 2));
    case vaInt32:
        readSmall(b, 4);
        return static_cast<int32_t>(loadLE(b, 4));
    case vaInt64:
        readSmall(b, 8);
        return static_cast<int64_t>(loadLE(b, 8));
    default:
        Error(LoadResString(rtlconsts::SIntegerExpected));
    }
}

int32_t TReader::ReadInteger() {
    int32_t small;
    if (readSmallInteger(small)) return small;
    int64_t v = ReadInt64();
    if (v < INT32_MIN || v > INT32_MAX) Error(LoadResString(rtlconsts::SIntegerRange));
    return static_cast<int32_t>(v);
}

AnsiString TReader::ReadString() {
    // The common case, a whole short string in the buffer.
    if (bufEnd_ - bufPos_ >= 2 && buffer_[bufPos_] == vaString &&
        buffer_[bufPos_ + 1] + 2 <= bufEnd_ - bufPos_) {
        const char* p = reinterpret_cast<const char*>(buffer_.data()) + bufPos_;
        const int32_t n = static_cast<uint8_t>(p[1]);
        bufPos_ += n + 2;
        return AnsiString(p + 2, static_cast<size_t>(n));
    }
    switch (ReadValue()) {
    case vaString:
        return readBytes(readByte());
    case vaLString:
        return readBytes(readUInt32());
    case vaUTF8String:
        return Utf8ToAnsi(readBytes(readUInt32()));
    case vaWString: {
        uint64_t units = readUInt32();
        AnsiString raw = readBytes(units * 2);
        std::u16string w(static_cast<size_t>(units), u'\0');
        for (size_t i = 0; i < w.size(); ++i)
            w[i] = static_cast<char16_t>(
                loadLE(reinterpret_cast<const uint8_t*>(raw.data()) + 2 * i, 2));
        return Utf16ToAnsi(w);
    }
    default:
        Error(LoadResString(rtlconsts::SStringExpected));
    }
}

bool TReader::ReadBoolean() {
    switch (ReadValue()) {
    case vaTrue:
        return true;
    case vaFalse:
        return false;
    default:
        Error(LoadResString(rtlconsts::SBooleanExpected));
    }
}

char TReader::ReadChar() {
    if (ReadValue() != vaString || readByte() != 1) Error(LoadResString(rtlconsts::SCharExpected));
    return static_cast<char>(readByte());
}

AnsiString TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        Error(LoadResString(rtlconsts::SIdentExpected));
    }
}

float TReader::ReadSingle() {
    CheckValue(vaSingle);
    uint8_t b[4];
    Read(b, 4);
    uint32_t bits = static_cast<uint32_t>(loadLE(b, 4));
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

int64_t TReader::ReadCurrency() {
    CheckValue(vaCurrency);
    uint8_t b[8];
    Read(b, 8);
    return static_cast<int64_t>(loadLE(b, 8));
}

double TReader::ReadDate() {
    CheckValue(vaDate);
    uint8_t b[8];
    Read(b, 8);
    uint64_t bits = loadLE(b, 8);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

long double TReader::ReadFloat() {
    switch (NextValue()) {
    case vaExtended: {
        ReadValue();
        uint8_t b[10];
        Read(b, 10);
        return BytesToExtended(b);
    }
    case vaSingle:
        return ReadSingle();
    case vaCurrency:
        return static_cast<long double>(ReadCurrency()) / 10000;
    case vaDate:
        return ReadDate();
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        return static_cast<long double>(ReadInt64());
    default:
        Error(LoadResString(rtlconsts::SFloatExpected));
    }
}

uint64_t TReader::ReadSet(const TEnumInfo* MemberType) {
    CheckValue(vaSet);
    uint64_t mask = 0;
    for (;;) {
        AnsiString name = ReadStr();
        if (name.empty()) break;
        int ord = MemberType ? MemberType->IndexOf(name) : -1;
        if (ord < 0 || ord >= 64) Error(FmtLoadStr(rtlconsts::SInvalidPropertyElement, {name}));
        mask |= uint64_t{1} << ord;
    }
    return mask;
}

std::vector<uint8_t> TReader::ReadBinary() {
    CheckValue(vaBinary);
    AnsiString raw = readBytes(readUInt32());
    return std::vector<uint8_t>(raw.begin(), raw.end());
}

AnsiString TReader::ReadStr() {
    return readBytes(readByte());
}

void TReader::SkipValue() {
    skipValue(0);
}

void TReader::skipValue(int depth) {
    if (depth >= MaxStreamNesting)
        Error(FmtLoadStr(rtlconsts::SNestingTooDeep, {MaxStreamNesting}));
    auto skip = [this](uint64_t n) {
        checkLength(n);
        uint8_t b[256];
        while (n > 0) {
            int32_t k = static_cast<int32_t>(std::min<uint64_t>(n, sizeof b));
            Read(b, k);
            n -= static_cast<uint64_t>(k);
        }
    };
    TValueType v = ReadValue();
    switch (v) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList:
        while (!EndOfList())
            skipValue(depth + 1);
        ReadListEnd();
        break;
    case vaInt8:
        skip(1);
        break;
    case vaInt16:
        skip(2);
        break;
    case vaInt32:
    case vaSingle:
        skip(4);
        break;
    case vaInt64:
    case vaCurrency:
    case vaDate:
        skip(8);
        break;
    case vaExtended:
        skip(10);
        break;
    case vaString:
    case vaIdent:
        skip(readByte());
        break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        skip(readUInt32());
        break;
    case vaWString:
        skip(uint64_t{readUInt32()} * 2);
        break;
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection:
        while (!EndOfList()) {
            switch (NextValue()) {
            case vaInt8:
            case vaInt16:
            case vaInt32:
            case vaInt64:
                ReadInt64();
                break;
            default:
                break;
            }
            CheckValue(vaList);
            while (!EndOfList()) {
                ReadStr();
                skipValue(depth + 1);
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    default:
        Error(FmtLoadStr(rtlconsts::SInvalidValueType, {static_cast<int>(v)}));
    }
}

void TReader::SkipProperty() {
    ReadStr();
    SkipValue();
}

void TReader::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                             bool HasData) {
    (void)WriteData;
    (void)HasData;
    if (ReadData && !PropName.empty() && SameText(Name, PropName)) {
        PropName.clear();
        ReadData(this);
    }
}

void TReader::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData,
                                   TStreamProc WriteData, bool HasData) {
    (void)WriteData;
    (void)HasData;
    if (ReadData && !PropName.empty() && SameText(Name, PropName)) {
        PropName.clear();
        CheckValue(vaBinary);
        uint32_t count = readUInt32();
        checkLength(count);
        TMemoryStream data;
        data.SetSize(count);
        Read(data.Memory(), static_cast<int32_t>(count));
        data.SetPosition(0);
        ReadData(&data);
    }
}

// --- TWriter ---------------------------------------------------------------------------------

TWriter::TWriter(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // A destructor cannot report; callers that must see write errors call FlushBuffer.
    }
}

void TWriter::FlushBuffer() {
    int32_t n = bufPos_;
    bufPos_ = 0; // dropped even when the write fails, so nothing is written twice
    if (n > 0) stream_->WriteBuffer(buffer_.data(), n);
}

void TWriter::Write(const void* Buf, int32_t Count) {
    const int32_t size = static_cast<int32_t>(buffer_.size());
    // Most values fit into the buffer as they are.
    if (Count > 0 && Count <= size - bufPos_) {
        std::memcpy(buffer_.data() + bufPos_, Buf, static_cast<size_t>(Count));
        bufPos_ += Count;
        return;
    }
    const auto* p = static_cast<const uint8_t*>(Buf);
    while (Count > 0) {
        if (bufPos_ == size) FlushBuffer();
        if (bufPos_ == 0 && Count >= size) {
            stream_->WriteBuffer(p, Count);
            return;
        }
        int32_t n = std::min(Count, size - bufPos_);
        std::memcpy(buffer_.data() + bufPos_, p, static_cast<size_t>(n));
        bufPos_ += n;
        p += n;
        Count -= n;
    }
}

// Tags and numbers are a few bytes each: copied byte by byte, they cost less than a call of
// memcpy.
void TWriter::writeSmall(const uint8_t* Bytes, int32_t Count) {
    if (Count > static_cast<int32_t>(buffer_.size()) - bufPos_) {
        Write(Bytes, Count);
        return;
    }
    uint8_t* d = buffer_.data() + bufPos_;
    for (int32_t i = 0; i < Count; ++i)
        d[i] = Bytes[i];
    bufPos_ += Count;
}

int64_t TWriter::Position() const {
    return stream_->GetPosition() + bufPos_;
}

void TWriter::WriteValue(TValueType Value) {
    uint8_t b = Value;
    writeSmall(&b, 1);
}

void TWriter::WriteListBegin() {
    WriteValue(vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(vaNull);
}

void TWriter::WriteSignature() {
    Write("TPF0", 4);
}

void TWriter::WritePrefix(uint8_t Flags, int32_t ChildPos) {
    if (Flags == 0) return;
    uint8_t b = static_cast<uint8_t>(0xF0 | (Flags & 0x0F));
    Write(&b, 1);
    if (Flags & ffChildPos) WriteInteger(ChildPos);
}

void TWriter::WriteInteger(int64_t Value) {
    // The most frequent case, a one-byte integer, straight into the buffer.
    if (Value >= INT8_MIN && Value <= INT8_MAX &&
        bufPos_ + 2 <= static_cast<int32_t>(buffer_.size())) {
        buffer_[bufPos_] = vaInt8;
        buffer_[bufPos_ + 1] = static_cast<uint8_t>(Value);
        bufPos_ += 2;
        return;
    }
    uint8_t b[MaxEncodedInteger];
    writeSmall(b, static_cast<int32_t>(EncodeInteger(b, Value) - b));
}

void TWriter::WriteInt64(int64_t Value) {
    uint8_t b[9] = {vaInt64};
    storeLE(b + 1, static_cast<uint64_t>(Value), 8);
    Write(b, 9);
}

void TWriter::WriteString(const AnsiString& Value) {
    // A short string that fits into the buffer goes there in one piece.
    const size_t free = buffer_.size() - static_cast<size_t>(bufPos_);
    if (Value.size() <= 255 && Value.size() + 2 <= free) {
        EncodeShortString(buffer_.data() + bufPos_, Value);
        bufPos_ += static_cast<int32_t>(Value.size()) + 2;
        return;
    }
    if (Value.size() <= 255) {
        uint8_t b[2] = {vaString, static_cast<uint8_t>(Value.size())};
        writeSmall(b, 2);
    } else {
        if (Value.size() > static_cast<size_t>(INT32_MAX))
            throw EWriteError(LoadResString(rtlconsts::SStringTooLong));
        uint8_t b[5] = {vaLString};
        storeLE(b + 1, Value.size(), 4);
        Write(b, 5);
    }
    Write(Value.data(), static_cast<int32_t>(Value.size()));
}

void TWriter::WriteWideString(const std::u16string& Value) {
    if (Value.size() > static_cast<size_t>(INT32_MAX / 2))
        throw EWriteError(LoadResString(rtlconsts::SStringTooLong));
    uint8_t b[5] = {vaWString};
    storeLE(b + 1, Value.size(), 4);
    Write(b, 5);
    for (char16_t u : Value) {
        uint8_t w[2];
        storeLE(w, u, 2);
        Write(w, 2);
    }
}

void TWriter::WriteUTF8String(const std::string& Utf8) {
    if (Utf8.size() > static_cast<size_t>(INT32_MAX))
        throw EWriteError(LoadResString(rtlconsts::SStringTooLong));
    uint8_t b[5] = {vaUTF8String};
    storeLE(b + 1, Utf8.size(), 4);
    Write(b, 5);
    Write(Utf8.data(), static_cast<int32_t>(Utf8.size()));
}

void TWriter::WriteBoolean(bool Value) {
    WriteValue(Value ? vaTrue : vaFalse);
}

void TWriter::WriteChar(char Value) {
    uint8_t b[3] = {vaString, 1, static_cast<uint8_t>(Value)};
    Write(b, 3);
}

void TWriter::WriteIdent(const AnsiString& Ident) {
    if (SameText(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, "Null"))
        WriteValue(vaNull);
    else if (SameText(Ident, "nil"))
        WriteValue(vaNil);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteFloat(long double Value) {
    uint8_t b[11] = {vaExtended};
    ExtendedToBytes(Value, b + 1);
    Write(b, 11);
}

void TWriter::WriteSingle(float Value) {
    uint32_t bits;
    std::memcpy(&bits, &Value, 4);
    uint8_t b[5] = {vaSingle};
    storeLE(b + 1, bits, 4);
    Write(b, 5);
}

void TWriter::WriteCurrency(int64_t Value) {
    uint8_t b[9] = {vaCurrency};
    storeLE(b + 1, static_cast<uint64_t>(Value), 8);
    Write(b, 9);
}

void TWriter::WriteDate(double Value) {
    uint64_t bits;
    std::memcpy(&bits, &Value, 8);
    uint8_t b[9] = {vaDate};
    storeLE(b + 1, bits, 8);
    Write(b, 9);
}

void TWriter::WriteSet(uint64_t Mask, const TEnumInfo* MemberType) {
    WriteValue(vaSet);
    for (int i = 0; i < 64; ++i) {
        if (!(Mask & (uint64_t{1} << i))) continue;
        AnsiString name = MemberType ? MemberType->NameOf(i) : AnsiString();
        if (name.empty()) throw EWriteError(FmtLoadStr(rtlconsts::SUnknownSetMember, {i}));
        WriteStr(name);
    }
    WriteStr("");
}

void TWriter::WriteBinary(const std::vector<uint8_t>& Data) {
    if (Data.size() > static_cast<size_t>(INT32_MAX))
        throw EWriteError(LoadResString(rtlconsts::SStringTooLong));
    uint8_t b[5] = {vaBinary};
    storeLE(b + 1, Data.size(), 4);
    Write(b, 5);
    Write(Data.data(), static_cast<int32_t>(Data.size()));
}

void TWriter::WriteStr(const AnsiString& Value) {
    if (Value.size() > 255) throw EWriteError(FmtLoadStr(rtlconsts::SNameTooLong, {Value}));
    uint8_t n = static_cast<uint8_t>(Value.size());
    Write(&n, 1);
    Write(Value.data(), n);
}

void TWriter::WriteClassName(const AnsiString& Value) {
    if (Value.empty() || Value.size() > MaxClassNameLength)
        throw EWriteError(FmtLoadStr(rtlconsts::SClassNameLength, {Value}));
    WriteStr(Value);
}

void TWriter::WritePropName(const AnsiString& Name) {
    if (PropPath.empty() && Name.empty())
        throw EWriteError(LoadResString(rtlconsts::SEmptyPropertyName));
    WriteStr(PropPath + Name);
}

void TWriter::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                             bool HasData) {
    (void)ReadData;
    if (HasData && WriteData) {
        WritePropName(Name);
        WriteData(this);
    }
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData,
                                   TStreamProc WriteData, bool HasData) {
    (void)ReadData;
    if (HasData && WriteData) {
        WritePropName(Name);
        TMemoryStream data;
        WriteData(&data);
        WriteBinary(data.Bytes());
    }
}

// --- Extended (80-bit) values ----------------------------------------------------------------

// Built from frexp/ldexp rather than by copying memory, so that the bytes are right whatever
// the host's long double is.
void ExtendedToBytes(long double value, uint8_t out[10]) {
    uint64_t mantissa = 0;
    unsigned exponent = 0;
    bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int e;
        long double m = std::frexp(std::fabs(value), &e); // 0.5 <= m < 1
        long double scaled = std::ldexp(m, 64);
        // Hosts with wider mantissas round to the 64 bits kept.
        long double r = std::nearbyint(scaled);
        if (r >= std::ldexp(1.0L, 64)) {
            r = std::ldexp(1.0L, 63);
            ++e;
        }
        mantissa = static_cast<uint64_t>(r);
        int biased = e - 1 + 16383;
        if (biased >= 0x7FFF) {
            exponent = 0x7FFF;
            mantissa = 0x8000000000000000ull;
        } else if (biased <= 0) {
            int shift = 1 - biased;
            mantissa = shift >= 64 ? 0 : mantissa >> shift;
            exponent = 0;
        } else {
            exponent = static_cast<unsigned>(biased);
        }
    }
    storeLE(out, mantissa, 8);
    out[8] = static_cast<uint8_t>(exponent & 0xFF);
    out[9] = static_cast<uint8_t>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
}

long double BytesToExtended(const uint8_t in[10]) {
    uint64_t mantissa = loadLE(in, 8);
    unsigned exponent = in[8] | ((in[9] & 0x7F) << 8);
    bool negative = (in[9] & 0x80) != 0;
    long double v;
    if (exponent == 0x7FFF) {
        v = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
    } else {
        int e = exponent == 0 ? 1 - 16383 - 63 : static_cast<int>(exponent) - 16383 - 63;
        v = std::ldexp(static_cast<long double>(mantissa), e);
    }
    return negative ? -v : v;
}

} // namespace vcl
