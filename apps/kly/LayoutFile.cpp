#include "LayoutFile.h"

#include "rtl/Streams.h"
#include "runtime/LayoutRecord.h"

namespace kly {

namespace {

using quimbel::layoutrecord::TValueKind;

// Walks a layout stream value by value and returns the offset where the value that fails
// starts. TKeyCollection::LoadKeys reads the same values with the same reader, so it fails at
// the same value; this walk only locates it.
int64_t locateError(vcl::TStream* Stream, int64_t Start) {
    Stream->SetPosition(Start);
    vcl::TReader reader(Stream, 1024);
    int64_t at = reader.Position();
    try {
        reader.ReadListBegin();
        for (;;) {
            at = reader.Position();
            if (reader.EndOfList()) break;
            for (const auto& field : quimbel::layoutrecord::Fields) {
                at = reader.Position();
                switch (field.Kind) {
                case TValueKind::Integer:
                    reader.ReadInteger();
                    break;
                case TValueKind::String:
                    reader.ReadString();
                    break;
                case TValueKind::Boolean:
                    reader.ReadBoolean();
                    break;
                }
            }
        }
        reader.ReadListEnd();
    } catch (const vcl::Exception&) {
        return at;
    }
    return reader.Position();
}

} // namespace

TLayoutReadResult ReadLayout(vcl::TStream* Stream, quimbel::TKeyCollection& Keys) {
    TLayoutReadResult result;
    const int64_t start = Stream->GetPosition();
    try {
        int64_t end;
        {
            vcl::TReader reader(Stream, 1024);
            Keys.LoadKeys(&reader);
            end = reader.Position();
        }
        result.TrailingBytes = Stream->GetSize() - end;
    } catch (const vcl::EReadError& e) {
        result.Ok = false;
        result.ErrorMessage = e.Message();
        result.ErrorOffset = locateError(Stream, start);
    }
    return result;
}

TLayoutReadResult ReadLayoutFile(const vcl::AnsiString& FileName, quimbel::TKeyCollection& Keys) {
    // Read whole, so that an error names the byte where the layout breaks off, not the file,
    // which the command names itself.
    vcl::TMemoryStream stream;
    stream.LoadFromFile(FileName);
    return ReadLayout(&stream, Keys);
}

} // namespace kly
