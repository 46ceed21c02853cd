#include "rtl/CodePage.h"
#include "rtl/Resources.h"
#include "rtl/Streams.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vcl;

namespace {

// A file in a temporary folder that goes when the test program ends.
std::string tempPath(const char* name) {
    static const testsupport::TempDir dir;
    return dir.Path(name);
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

TEST(FileStream, ReadAndWriteErrorsNameTheFileAndTheReason) {
    const std::string path = tempPath("short.bin");
    testsupport::WriteFile(path, "ab");
    TFileStream f(path, fmOpenRead);
    char buf[3];
    try {
        f.ReadBuffer(buf, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error in file \"" + path + "\". The file ends early");
    }
    try {
        f.WriteBuffer(buf, 1);
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error in file \"" + path + "\". Bad file descriptor");
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

namespace {

// Runs Save as the unprivileged user nobody when the tests run as the superuser, whom file
// permissions do not bind; true when Save returned true.
bool AsUnprivileged(const std::function<bool()>& Save) {
    if (::geteuid() != 0) return Save();
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && Save() ? 0 : 1);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Save(const std::string& Path, const std::string& Text, bool Commit = true) {
    try {
        TSaveFileStream f(Path);
        f.WriteBuffer(Text.data(), static_cast<int32_t>(Text.size()));
        if (Commit) f.Commit();
        return true;
    } catch (const Exception& e) {
        ADD_FAILURE() << e.Message();
        return false;
    }
}

size_t EntryCount(const std::string& Dir) {
    size_t n = 0;
    if (DIR* d = ::opendir(Dir.c_str())) {
        while (dirent* e = ::readdir(d))
            n += std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0;
        ::closedir(d);
    }
    return n;
}

} // namespace

TEST(SaveFileStream, SavesWhereAPlainSaveWouldAndLeavesNothingBehind) {
    testsupport::TempDir dir;
    ASSERT_EQ(::chmod(dir.Dir().c_str(), 0755), 0);
    using testsupport::ReadFile;
    using testsupport::WriteFile;

    // A writable file in a folder that is not: written in place, the longer old data cut off.
    const std::string locked = dir.Path("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0755), 0);
    WriteFile(locked + "/f.kly", "old and longer");
    ASSERT_EQ(::chmod((locked + "/f.kly").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    EXPECT_TRUE(AsUnprivileged([&] { return Save(locked + "/f.kly", "new"); }));
    EXPECT_EQ(ReadFile(locked + "/f.kly"), "new");

    // The longest name a folder takes, replaced as a whole.
    const std::string longName = dir.Path(std::string(255, 'n'));
    WriteFile(longName, "old");
    EXPECT_TRUE(Save(longName, "new"));
    EXPECT_EQ(ReadFile(longName), "new");

    // A dangling symbolic link: its target is created and the link stays.
    ASSERT_EQ(::symlink("target.kly", dir.Path("link.kly").c_str()), 0);
    EXPECT_TRUE(Save(dir.Path("link.kly"), "via link"));
    struct stat st;
    ASSERT_EQ(::lstat(dir.Path("link.kly").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(dir.Path("target.kly")), "via link");

    // Other hard links keep seeing the file.
    ASSERT_EQ(::link(dir.Path("target.kly").c_str(), dir.Path("hard.kly").c_str()), 0);
    EXPECT_TRUE(Save(dir.Path("hard.kly"), "both"));
    EXPECT_EQ(ReadFile(dir.Path("target.kly")), "both");

    // Without Commit, an old file stays as it was and a new one is not left behind.
    EXPECT_TRUE(Save(longName, "lost", false));
    EXPECT_EQ(ReadFile(longName), "new");
    EXPECT_TRUE(Save(dir.Path("never.kly"), "lost", false));
    EXPECT_TRUE(Save(dir.Path("hard.kly"), "", false));
    EXPECT_EQ(EntryCount(dir.Dir()), 5u); // locked, the long name, link, target and hard
    EXPECT_EQ(EntryCount(locked), 1u);
    ASSERT_EQ(::chmod(locked.c_str(), 0755), 0);
}

namespace {

// Saves Text to Path and expects it to fail; the message is returned, empty when it did not fail.
std::string FailedSave(const std::string& Path, const std::string& Text) {
    try {
        TSaveFileStream f(Path);
        f.WriteBuffer(Text.data(), static_cast<int32_t>(Text.size()));
        f.Commit();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

// Fills the file system that holds Path until no byte more fits.
void FillUp(const std::string& Path) {
    FILE* f = std::fopen(Path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size()) {
    }
    std::fclose(f);
    f = std::fopen(Path.c_str(), "ab");
    while (f && std::fputc('x', f) != EOF && std::fflush(f) == 0) {
    }
    if (f) std::fclose(f);
}

} // namespace

// Each way a save ends up writing the old file in place, on a file system without room for the
// new content: the save fails and the old file keeps every byte.
TEST(SaveFileStream, AFailedSaveInPlaceKeepsTheOldFile) {
    testsupport::TempDir dir;
    ASSERT_EQ(::chmod(dir.Dir().c_str(), 0755), 0);
    const std::string disk = dir.Path("disk");
    ASSERT_EQ(::mkdir(disk.c_str(), 0755), 0);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k,mode=1777") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    struct Unmount {
        std::string Dir;
        ~Unmount() { ::umount2(Dir.c_str(), MNT_DETACH); }
    } unmount{disk};
    using testsupport::ReadFile;
    using testsupport::WriteFile;
    const std::string old(9000, 'o');
    const std::string big(40000, 'n');

    const std::string linked = disk + "/linked.kly";
    WriteFile(linked, old);
    ASSERT_EQ(::link(linked.c_str(), (disk + "/other.kly").c_str()), 0);

    const std::string locked = disk + "/locked";
    ASSERT_EQ(::mkdir(locked.c_str(), 0755), 0);
    WriteFile(locked + "/f.kly", old);
    ASSERT_EQ(::chown((locked + "/f.kly").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);

    // Owned by the superuser, in a folder anyone writes: nobody cannot give a new file that owner.
    const std::string owned = disk + "/owned.kly";
    WriteFile(owned, old);
    ASSERT_EQ(::chmod(owned.c_str(), 0666), 0);

    FillUp(disk + "/filler");
    const std::string full = "No space left on device";
    EXPECT_EQ(FailedSave(linked, big), "Cannot write file \"" + linked + "\" to disk. " + full);
    EXPECT_TRUE(AsUnprivileged([&] { return FailedSave(locked + "/f.kly", big) != ""; }));
    EXPECT_TRUE(AsUnprivileged([&] { return FailedSave(owned, big) != ""; }));
    // A new file, written beside: the error names the file and the reason.
    EXPECT_EQ(FailedSave(disk + "/new.kly", big),
              "Stream write error in file \"" + disk + "/new.kly\". " + full);
    EXPECT_TRUE(ReadFile(linked) == old);
    EXPECT_TRUE(ReadFile(disk + "/other.kly") == old);
    EXPECT_TRUE(ReadFile(locked + "/f.kly") == old);
    EXPECT_TRUE(ReadFile(owned) == old);

    // With room again, a shorter save in place still cuts the old file.
    ASSERT_EQ(::unlink((disk + "/filler").c_str()), 0);
    EXPECT_TRUE(Save(linked, "new"));
    EXPECT_EQ(ReadFile(disk + "/other.kly"), "new");
}
