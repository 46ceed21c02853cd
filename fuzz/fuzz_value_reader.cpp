// Drives every TReader operation over arbitrary bytes. Input: one byte for the buffer size, one
// for the length n of the operation script, n script bytes, then the stream itself. Bad input
// must end in a vcl::Exception; values that were read must survive a write and a read.

#include "rtl/Filer.h"

#include <cstdlib>
#include <cstring>

using namespace vcl;

namespace {

const TEnumInfo kMembers{"TMembers", {"a", "b", "fsBold", "Item"}};

template <class W, class R> void roundTrip(W write, R read) {
    TMemoryStream m;
    {
        TWriter w(&m, 16);
        write(w);
    }
    m.SetPosition(0);
    TReader r(&m, 16);
    if (!read(r)) std::abort();
}

void step(TReader& r, uint8_t op) {
    switch (op % 26) {
    case 0:
        r.NextValue();
        break;
    case 1:
        r.ReadValue();
        break;
    case 2:
        r.EndOfList();
        break;
    case 3:
        r.ReadListBegin();
        break;
    case 4:
        r.ReadListEnd();
        break;
    case 5:
        r.ReadSignature();
        break;
    case 6: {
        int32_t v = r.ReadInteger();
        roundTrip([v](TWriter& w) { w.WriteInteger(v); },
                  [v](TReader& rr) { return rr.ReadInteger() == v; });
        break;
    }
    case 7: {
        int64_t v = r.ReadInt64();
        roundTrip([v](TWriter& w) { w.WriteInteger(v); },
                  [v](TReader& rr) { return rr.ReadInt64() == v; });
        break;
    }
    case 8: {
        AnsiString s = r.ReadString();
        roundTrip([&s](TWriter& w) { w.WriteString(s); },
                  [&s](TReader& rr) { return rr.ReadString() == s; });
        break;
    }
    case 9:
        r.ReadBoolean();
        break;
    case 10:
        r.ReadChar();
        break;
    case 11:
        r.ReadIdent();
        break;
    case 12: {
        long double v = r.ReadFloat();
        if (v == v)
            roundTrip([v](TWriter& w) { w.WriteFloat(v); },
                      [v](TReader& rr) { return rr.ReadFloat() == v; });
        break;
    }
    case 13:
        r.ReadSingle();
        break;
    case 14:
        r.ReadCurrency();
        break;
    case 15:
        r.ReadDate();
        break;
    case 16: {
        uint64_t mask = r.ReadSet(op & 0x80 ? nullptr : &kMembers);
        roundTrip([mask](TWriter& w) { w.WriteSet(mask, &kMembers); },
                  [mask](TReader& rr) { return rr.ReadSet(&kMembers) == mask; });
        break;
    }
    case 17:
        r.ReadBinary();
        break;
    case 18:
        r.ReadStr();
        break;
    case 19:
        r.SkipValue();
        break;
    case 20:
        r.SkipProperty();
        break;
    case 21: {
        uint8_t flags;
        int32_t pos;
        r.ReadPrefix(flags, pos);
        break;
    }
    case 22:
        r.CheckValue(static_cast<TValueType>(op >> 3));
        break;
    case 23:
        r.PropName = "Items";
        r.DefineProperty(
            "items", [](TReader* rr) { rr->SkipValue(); }, nullptr, true);
        break;
    case 24:
        r.PropName = "Data";
        r.DefineBinaryProperty(
            "Data", [](TStream* s) { s->SetPosition(s->GetSize()); }, nullptr, true);
        break;
    case 25: {
        char buf[16];
        r.Read(buf, op >> 4);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    int bufSize = 1 + data[0] % 64;
    size_t n = std::min<size_t>(data[1], size - 2);
    const uint8_t* script = data + 2;
    TMemoryStream stream;
    if (size - 2 - n > 0) stream.WriteBuffer(data + 2 + n, static_cast<int32_t>(size - 2 - n));
    stream.SetPosition(0);
    int64_t position = 0;
    {
        TReader reader(&stream, bufSize);
        try {
            for (size_t i = 0; n > 0 && i < 4 * n; ++i)
                step(reader, script[i % n]);
        } catch (const Exception&) {
        }
        position = reader.Position();
    }
    // The reader gave back what it had buffered but not used.
    if (stream.GetPosition() != position) std::abort();
    return 0;
}
