#pragma once
// TFiler, TReader and TWriter: the value encoding of form streams and layout streams. Every value
// is one tag byte (TValueType) and its payload, little-endian. The component level of form
// streams (objects, properties, references) is in FormStreams.h and builds on these classes.

#include "Classes.h"
#include "Streams.h"

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vcl {

enum TValueType : uint8_t {
    vaNull = 0x00,
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaExtended = 0x05,
    vaString = 0x06,
    vaIdent = 0x07,
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,
    vaSet = 0x0B,
    vaLString = 0x0C,
    vaNil = 0x0D,
    vaCollection = 0x0E,
    vaSingle = 0x0F,
    vaCurrency = 0x10,
    vaDate = 0x11,
    vaWString = 0x12,
    vaInt64 = 0x13,
    vaUTF8String = 0x14
};

// Flags of an object header in a form stream (the byte 0xF0 | flags, present only when set).
enum TFilerFlag : uint8_t { ffInherited = 0x01, ffChildPos = 0x02, ffInline = 0x04 };

// An object header starts with the length byte of its class name unless that prefix comes first,
// and a list of objects ends with a zero byte; so a class name is 1 to 239 bytes long, and its
// length byte can be read as neither. Property names, whose list also ends with a zero byte, are
// never empty.
constexpr size_t MaxClassNameLength = 239;

// Deepest nesting of lists, collections and objects that readers and converters accept; deeper
// input is rejected as malformed instead of exhausting the stack.
constexpr int MaxStreamNesting = 256;

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

class TFiler : public TObject {
    VCL_DECLARE_CLASS(TFiler, TObject)
public:
    TFiler(TStream* Stream, int BufSize);
    ~TFiler() override;

    // Declares a property stored by the owner's own code (TPersistent::DefineProperties): the
    // reader calls ReadData when the property being read has this name; the writer writes the
    // name and calls WriteData when HasData is true.
    virtual void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;
    // The same for binary data, carried as vaBinary (4-byte length, then the bytes).
    virtual void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData,
                                      TStreamProc WriteData, bool HasData) = 0;

    TComponent* Root = nullptr;
    TComponent* LookupRoot = nullptr;
    TPersistent* Ancestor = nullptr;
    bool IgnoreChildren = false;

protected:
    TStream* stream_;
    std::vector<uint8_t> buffer_;
    int32_t bufPos_ = 0;
    int32_t bufEnd_ = 0;
};

class TReader : public TFiler {
    VCL_DECLARE_CLASS(TReader, TFiler)
public:
    TReader(TStream* Stream, int BufSize);
    // Gives back to the stream what was buffered but not consumed, so the stream's position is
    // just after the last value read.
    ~TReader() override;

    void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Raw buffered input; a short read raises EReadError "Stream read error".
    void Read(void* Buf, int32_t Count);
    // Bytes left to read, buffered ones included; INT64_MAX when the stream cannot tell. Lengths
    // read from the input are checked against it before anything is allocated.
    int64_t Remaining() const;
    // Offset in the stream of the next unread byte.
    int64_t Position() const;

    TValueType NextValue(); // the next tag, not consumed
    TValueType ReadValue(); // the next tag, consumed
    bool EndOfList();       // NextValue() == vaNull
    void CheckValue(TValueType Value);
    void ReadListBegin();
    void ReadListEnd();
    void ReadSignature(); // "TPF0"

    // Accepts vaInt8, vaInt16 and vaInt32 whatever the magnitude, and vaInt64 in range.
    int32_t ReadInteger();
    int64_t ReadInt64(); // the integer forms and vaInt64
    // vaString, vaLString; vaWString and vaUTF8String are converted to the active ANSI code page
    // (what it cannot hold becomes '?').
    AnsiString ReadString();
    bool ReadBoolean();
    char ReadChar();
    AnsiString
    ReadIdent(); // vaIdent, and vaFalse/vaTrue/vaNil/vaNull as "False"/"True"/"nil"/"Null"
    long double ReadFloat(); // vaExtended (10 bytes), vaSingle, vaCurrency, vaDate, integers
    float ReadSingle();      // vaSingle
    int64_t ReadCurrency();  // vaCurrency: the stored integer, ten thousand times the amount
    double ReadDate();       // vaDate
    uint64_t ReadSet(const struct TEnumInfo* MemberType); // vaSet: names until an empty name
    std::vector<uint8_t> ReadBinary();                    // vaBinary
    AnsiString ReadStr(); // a short string without a tag (property and class names)
    void SkipValue();     // skips one value of any kind, lists and collections included
    void SkipProperty();  // property name and value
    // The prefix of an object header: Flags (TFilerFlag bits, 0 when absent) and, with ffChildPos,
    // the child position.
    void ReadPrefix(uint8_t& Flags, int32_t& ChildPos);

    // The property name being read by the form reader; DefineProperty compares against it.
    AnsiString PropName;

    // Told by the form reader when the root has no published method named by an event in the
    // stream. Clearing Error lets reading go on with Handler (empty: no handler) bound under the
    // method's name; a host that designs a form keeps the names this way.
    std::function<void(TReader* Reader, const AnsiString& MethodName, const struct TPropInfo* Event,
                       std::any& Handler, bool& Error)>
        OnFindMethod;

    // Raises EReadError with Message (used for bad input: it says what was expected).
    [[noreturn]] void Error(const AnsiString& Message) const;

private:
    void refill();
    uint8_t peekByte();
    uint8_t readByte();
    void readSmall(uint8_t* Bytes, int32_t Count);
    bool readSmallInteger(int32_t& Value);
    uint32_t readUInt32();
    AnsiString readBytes(uint64_t count);
    void checkLength(uint64_t count) const;
    void skipValue(int depth);
};

class TWriter : public TFiler {
    VCL_DECLARE_CLASS(TWriter, TFiler)
public:
    TWriter(TStream* Stream, int BufSize);
    // Writes out what is still buffered. A failure there cannot propagate from a destructor; call
    // FlushBuffer first where a write error must be seen.
    ~TWriter() override;

    void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    void Write(const void* Buf, int32_t Count);
    void FlushBuffer();
    int64_t Position() const;

    void WriteValue(TValueType Value);
    void WriteListBegin();
    void WriteListEnd();
    void WriteSignature();
    // The smallest of vaInt8, vaInt16, vaInt32; vaInt64 beyond 32 bits.
    void WriteInteger(int64_t Value);
    // vaString up to 255 bytes, else vaLString.
    void WriteString(const AnsiString& Value);
    void WriteBoolean(bool Value);
    void WriteChar(char Value);
    void WriteIdent(const AnsiString& Ident);          // False/True/nil/Null get their own tags
    void WriteFloat(long double Value);                // vaExtended, 10 bytes
    void WriteSingle(float Value);                     // vaSingle
    void WriteCurrency(int64_t Value);                 // vaCurrency: ten thousand times the amount
    void WriteDate(double Value);                      // vaDate
    void WriteWideString(const std::u16string& Value); // vaWString
    void WriteUTF8String(const std::string& Utf8);     // vaUTF8String
    void WriteInt64(int64_t Value);                    // always vaInt64
    void WriteSet(uint64_t Mask, const struct TEnumInfo* MemberType);
    void WriteBinary(const std::vector<uint8_t>& Data);
    // Short string without a tag; more than 255 bytes raise EWriteError rather than being cut.
    void WriteStr(const AnsiString& Value);
    // Raises EWriteError for a name that a reader could not tell from a prefix or a list end.
    void WriteClassName(const AnsiString& Value);
    void WritePrefix(uint8_t Flags, int32_t ChildPos);
    void WritePropName(const AnsiString& Name); // with the current PropPath in front

    // Prefix of nested property names ("Font.") kept by the form writer.
    AnsiString PropPath;

private:
    void writeSmall(const uint8_t* Bytes, int32_t Count);
};

// Extended (80-bit) floating-point encoding used by vaExtended.
void ExtendedToBytes(long double value, uint8_t out[10]);
long double BytesToExtended(const uint8_t in[10]);

} // namespace vcl
