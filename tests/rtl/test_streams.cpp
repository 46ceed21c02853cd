#include "rtl/CodePage.h"
#include "rtl/Resources.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace vcl;

namespace {

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + "quimbel_streams_" + std::to_string(::getpid()) +
           "_" + name;
}

} // namespace

TEST(MemoryStream, ReadWriteSeekAndGaps) {
    TMemoryStream m;
    m.WriteBuffer("abc", 3);
    EXPECT_EQ(m.GetSize(), 3);
    EXPECT_EQ(m.GetPosition(), 3);
    // Writing past the end fills the gap with zeroes.
    m.SetPosition(5);
    m.WriteBuffer("z", 1);
    EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{'a', 'b', 'c', 0, 0, 'z'}));
    m.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 5);
    EXPECT_EQ(std::memcmp(buf, "bc\0\0z", 5), 0);
    EXPECT_EQ(m.Read(buf, 8), 0);
    // A position before the start is clamped; beyond the end reads nothing.
    EXPECT_EQ(m.Seek(-100, soCurrent), 0);
    EXPECT_EQ(m.Seek(10, soEnd), 16);
    EXPECT_EQ(m.Read(buf, 1), 0);
    m.SetSize(2);
    EXPECT_EQ(m.GetPosition(), 2);
    EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
    m.Clear();
    EXPECT_EQ(m.GetSize(), 0);
}

TEST(MemoryStream, ShortReadBufferRaisesReadError) {
    TMemoryStream m;
    m.WriteBuffer("ab", 2);
    m.SetPosition(0);
    char buf[3];
    try {
        m.ReadBuffer(buf, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

TEST(MemoryStream, CopyFromAndLoadFromStream) {
    TMemoryStream a;
    std::string text(100000, 'x');
    text[99999] = 'y';
    a.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    TMemoryStream b;
    EXPECT_EQ(b.CopyFrom(&a, 0), 100000);
    EXPECT_EQ(b.Bytes(), a.Bytes());
    TMemoryStream c;
    a.SetPosition(99990);
    EXPECT_THROW(c.CopyFrom(&a, 20), EReadError);
    TMemoryStream d;
    d.LoadFromStream(&a);
    EXPECT_EQ(d.GetSize(), 100000);
    EXPECT_EQ(d.GetPosition(), 0);
}

TEST(FileStream, CreateTruncateReadBack) {
    std::string path = tempPath("create.bin");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("hello world", 11);
        f.Flush();
    }
    {
        TFileStream f(path, fmCreate); // truncates
        f.WriteBuffer("hi", 2);
    }
    {
        TFileStream f(path, fmOpenRead);
        EXPECT_EQ(f.GetSize(), 2);
        char buf[4] = {};
        EXPECT_EQ(f.Read(buf, 4), 2);
        EXPECT_STREQ(buf, "hi");
        // Read-only: writing fails as a stream write error.
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream f(path, fmOpenReadWrite);
        f.Seek(0, soEnd);
        f.WriteBuffer("!", 1);
        f.SetSize(1);
        EXPECT_EQ(f.GetSize(), 1);
        EXPECT_EQ(f.GetPosition(), 1);
    }
    TMemoryStream m;
    m.LoadFromFile(path);
    EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{'h'}));
    std::remove(path.c_str());
}

TEST(FileStream, ErrorsCarryTheNameAndTheSystemReason) {
    std::string missing = tempPath("does-not-exist.kly");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". " + std::strerror(ENOENT));
    }
    std::string noDir = tempPath("no-such-dir") + "/x.kly";
    try {
        TFileStream f(noDir, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + noDir + "\". " + std::strerror(ENOENT));
    }
    // A directory is no file, although POSIX lets one open it for reading.
    try {
        TFileStream f(::testing::TempDir(), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(std::strerror(EISDIR)), std::string::npos);
    }
    EXPECT_THROW(TFileStream(::testing::TempDir(), fmCreate), EFCreateError);
}

TEST(Resources, LookupIsCaseInsensitiveAndMissingRaises) {
    static const uint8_t data[] = {1, 2, 3};
    RegisterResource("RCDATA", "TTestForm", data, sizeof data);
    EXPECT_TRUE(ResourceExists("rcdata", "TTESTFORM"));
    TResourceStream rs("ttestform", "RCDATA");
    EXPECT_EQ(rs.GetSize(), 3);
    uint8_t b[3];
    rs.ReadBuffer(b, 3);
    EXPECT_EQ(b[2], 3);
    EXPECT_THROW(rs.WriteBuffer(b, 1), EStreamError);
    try {
        TResourceStream missing("NOPE", "RCDATA");
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NOPE not found");
    }
}

TEST(CodePage, EveryByteSurvivesUnicodeAndBack) {
    AnsiString all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
    EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(AnsiCharToUnicode(0x81), 0x81u);
    // Characters without a Windows-1252 byte, and malformed input, become '?'.
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC\xCE\xA9\xF0\x9F\x98\x80"), "\x80??");
    EXPECT_EQ(Utf8ToAnsi("a\xC3"
                         "b\xFF\xC0\x80"),
              "a?b??");
    EXPECT_EQ(Utf16ToAnsi(u"\u00e9\u2122\u03a9\xD83D\xDE00\xD800x"), "\xE9\x99???x");
}
