#include "KeyTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quimbel;
using namespace keytest;

namespace {

// A fresh directory per test, removed with its files afterwards.
class LayoutFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(dir_.Dir().c_str())) {
            while (dirent* e = ::readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            ::closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static Bytes FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Fill(TKeyCollection& keys, int count) {
        for (int i = 0; i < count; ++i) {
            TKey* key = MakeKey(ktNormal, std::to_string(i), "S" + std::to_string(i), "");
            key->SetLeft(i * 8);
            keys.AddKey(key);
        }
    }

    testsupport::TempDir dir_;
};

} // namespace

TEST_F(LayoutFiles, SaveAndLoadGiveTheStreamBytesAndTheSameKeys) {
    TKeyCollection empty;
    empty.SaveToFile(Path("empty.kly"));
    EXPECT_EQ(FileBytes(Path("empty.kly")), (Bytes{0x01, 0x00}));
    TKeyCollection loaded;
    loaded.AddKey(new TKey(ktShift));
    loaded.LoadFromFile(Path("empty.kly"));
    EXPECT_EQ(loaded.GetCount(), 0);

    TKeyCollection keys;
    Fill(keys, 50);
    keys.SaveToFile(Path("fifty.kly"));
    EXPECT_EQ(FileBytes(Path("fifty.kly")), Write(keys));
    // Loading replaces what the collection held.
    loaded.AddKey(new TKey(ktShift));
    loaded.LoadFromFile(Path("fifty.kly"));
    EXPECT_EQ(Describe(loaded), Describe(keys));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"empty.kly", "fifty.kly"}));
}

TEST_F(LayoutFiles, LoadFromFileEmptiesTheCollectionFirst) {
    TKeyCollection keys;
    Fill(keys, 3);
    EXPECT_THROW(keys.LoadFromFile(Path("missing.kly")), vcl::EFOpenError);
    EXPECT_EQ(keys.GetCount(), 0);

    // A broken file keeps the keys read completely before the break.
    TKeyCollection source;
    Fill(source, 3);
    Bytes bytes = Write(source);
    bytes.pop_back();
    std::ofstream(Path("cut.kly"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Fill(keys, 5);
    EXPECT_THROW(keys.LoadFromFile(Path("cut.kly")), vcl::EReadError);
    EXPECT_EQ(Describe(keys), Describe(source));
}

TEST_F(LayoutFiles, FailedSaveLeavesTheOldFileAndNoLitter) {
    TKeyCollection small;
    Fill(small, 2);
    small.SaveToFile(Path("layout.kly"));
    const Bytes good = FileBytes(Path("layout.kly"));

    // Writing stops at a file size limit, far below what 10 000 keys need.
    TKeyCollection big;
    Fill(big, 10000);
    rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old;
    limit.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    bool raised = false;
    try {
        big.SaveToFile(Path("layout.kly"));
    } catch (const vcl::EStreamError&) {
        raised = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(raised);
    EXPECT_EQ(FileBytes(Path("layout.kly")), good);
    EXPECT_EQ(Entries(), std::vector<std::string>{"layout.kly"});
}

TEST_F(LayoutFiles, SaveToAMissingFolderNamesTheFile) {
    TKeyCollection keys;
    const std::string path = Path("no/such/folder.kly");
    try {
        keys.SaveToFile(path);
        FAIL() << "no error";
    } catch (const vcl::EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + path + "\". No such file or directory");
    }
    EXPECT_TRUE(Entries().empty());
}

TEST_F(LayoutFiles, SaveKeepsPermissionsAndWritesThroughLinks) {
    TKeyCollection keys;
    Fill(keys, 1);
    keys.SaveToFile(Path("shared.kly"));
    ASSERT_EQ(::chmod(Path("shared.kly").c_str(), 0640), 0);
    ASSERT_EQ(::symlink("shared.kly", Path("link.kly").c_str()), 0);

    Fill(keys, 1);
    keys.SaveToFile(Path("link.kly"));
    struct stat st;
    ASSERT_EQ(::lstat(Path("link.kly").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(Path("shared.kly").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FileBytes(Path("shared.kly")), Write(keys));

    // A new file gets the permissions the process gives new files.
    mode_t mask = ::umask(022);
    keys.SaveToFile(Path("new.kly"));
    ::umask(mask);
    ASSERT_EQ(::stat(Path("new.kly").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(LayoutFiles, WriteProtectedFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "write protection does not bind the superuser";
    TKeyCollection keys;
    keys.SaveToFile(Path("locked.kly"));
    ASSERT_EQ(::chmod(Path("locked.kly").c_str(), 0444), 0);
    Fill(keys, 3);
    try {
        keys.SaveToFile(Path("locked.kly"));
        FAIL() << "no error";
    } catch (const vcl::EFCreateError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot create file \"" + Path("locked.kly") + "\". Permission denied");
    }
    EXPECT_EQ(FileBytes(Path("locked.kly")), (Bytes{0x01, 0x00}));
    EXPECT_EQ(Entries(), std::vector<std::string>{"locked.kly"});
}
