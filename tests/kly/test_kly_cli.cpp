// The kly program as a layout author runs it: output, messages and exit statuses.

#include "KeyTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <unistd.h>

using namespace quimbel;
using namespace keytest;
using namespace testsupport;

namespace {

class KlyProgram : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    // Runs kly with the arguments (a shell word list) in the test's folder.
    RunResult Kly(const std::string& args) const {
        return RunProgram("'" KLY_PROGRAM "' " + args, dir_.Dir());
    }

    static std::string Text(const std::string& path) { return ReadFile(path); }

    void Put(const std::string& name, const Bytes& bytes) const {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void Put(const std::string& name, const std::string& text) const {
        Put(name, Bytes(text.begin(), text.end()));
    }
    Bytes Get(const std::string& name) const {
        std::string t = Text(Path(name));
        return Bytes(t.begin(), t.end());
    }

    TempDir dir_;
};

Bytes exampleLayout() {
    TKeyCollection keys;
    TKey* key = MakeKey(ktNormal, "a", "A", "");
    key->Font->SetSize(8);
    key->Font->SetColor(255);
    key->Font->SetStyle({vcl::fsBold});
    keys.AddKey(key);
    return Write(keys);
}

bool oneLine(const std::string& s) {
    return !s.empty() && s.back() == '\n' && s.find('\n') == s.size() - 1;
}

} // namespace

TEST_F(KlyProgram, DumpPrintsTheJsonForm) {
    Put("a.kly", exampleLayout());
    RunResult r = Kly("dump a.kly");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out,
        R"({"codepage": 1252, "keys": [{"type": "ktNormal", "captions": ["a", "A", ""], )"
        R"("values": ["a", "A", ""], "left": 0, "top": 0, "width": 8, "height": 8, )"
        R"("visible": true, "enabled": true, )"
        R"("font": {"name": "MS Sans Serif", "size": 8, "color": 255, "style": ["fsBold"]}}]})"
        "\n");
    EXPECT_EQ(r.err, "");

    r = Kly("dump missing.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kly: Cannot open file \"missing.kly\". No such file or directory\n");

    Bytes broken = exampleLayout();
    broken[1] = 0x08;
    Put("broken.kly", broken);
    r = Kly("dump broken.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kly: broken.kly: error at byte 1: Integer value expected\n");
}

TEST_F(KlyProgram, BuildIsTheExactInverseOfDump) {
    std::mt19937 rng(99);
    for (int round = 0; round < 5; ++round) {
        TKeyCollection keys;
        for (int i = 0, n = static_cast<int>(rng() % 30); i < n; ++i) {
            TKey* key = new TKey(static_cast<TKeyType>(rng() % 22));
            std::string caption(rng() % 4, '\0');
            for (char& c : caption)
                c = static_cast<char>(rng());
            key->SetKeyCaption(klShift, caption);
            key->SetLeft(static_cast<int32_t>(rng()));
            key->SetWidth(static_cast<TKeyWidth>(rng()));
            key->Font->SetColor(static_cast<vcl::TColor>(rng()));
            keys.AddKey(key);
        }
        Put("in.kly", Write(keys));
        RunResult d = Kly("dump in.kly");
        ASSERT_EQ(d.status, 0);
        Put("in.json", d.out);
        RunResult r = Kly("build in.json -o out.kly");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out + r.err, "");
        EXPECT_EQ(Get("out.kly"), Get("in.kly"));
        d = Kly("dump --pretty in.kly");
        ASSERT_EQ(d.status, 0);
        Put("pretty.json", d.out);
        ASSERT_EQ(Kly("build pretty.json --output out.kly").status, 0);
        EXPECT_EQ(Get("out.kly"), Get("in.kly"));
    }

    // A failed build names the file, the key and the field, and leaves an existing output alone.
    Put("bad.json", R"({"keys": [{"type": "ktNormal"}]})");
    RunResult r = Kly("build bad.json -o out.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kly: bad.json: key 0: missing field \"captions\"\n");
    EXPECT_EQ(Get("out.kly"), Get("in.kly"));

    r = Kly("build nothing.json -o out.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kly: Cannot open file \"nothing.json\". No such file or directory\n");

    Put("empty.json", R"({"keys": []})");
    r = Kly("build empty.json -o sub/x.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kly: Cannot create file \"sub/x.kly\". No such file or directory\n");
}

TEST_F(KlyProgram, CheckReportsEveryFileOnOneLine) {
    Put("good.kly", exampleLayout());
    Put("empty.kly", Bytes{0x01, 0x00});
    Bytes cut = exampleLayout();
    cut.resize(30);
    Put("cut.kly", cut);

    RunResult r = Kly("check good.kly empty.kly");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "good.kly: OK, 1 key\nempty.kly: OK, 0 keys\n");
    EXPECT_EQ(r.err, "");

    r = Kly("check good.kly cut.kly missing.kly empty.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "good.kly: OK, 1 key\n"
                     "cut.kly: error at byte 29: Stream read error\n"
                     "missing.kly: error: Cannot open file \"missing.kly\". No such file or "
                     "directory\n"
                     "empty.kly: OK, 0 keys\n");

    // Values outside their declared ranges are read, with a warning.
    TKeyCollection odd;
    TKey* key = new TKey(static_cast<TKeyType>(19));
    key->SetWidth(0);
    key->SetHeight(81);
    odd.AddKey(key);
    odd.AddKey(new TKey(ktNormal));
    Bytes oddBytes = Write(odd);
    oddBytes.push_back(0x00);
    Put("odd.kly", oddBytes);
    r = Kly("check odd.kly");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "odd.kly: OK, 2 keys\n");
    EXPECT_EQ(r.err, "odd.kly: warning: key 0: type 19 is outside 0-18\n"
                     "odd.kly: warning: key 0: width 0 is outside 1-80\n"
                     "odd.kly: warning: key 0: height 81 is outside 1-80\n"
                     "odd.kly: warning: 1 bytes after the end of the layout\n");
}

TEST_F(KlyProgram, UsageErrorsExitWithTwoAndOneLine) {
    for (const char* args : {"", "frobnicate", "dump", "dump a.kly b.kly", "build x.json", "check",
                             "dump --colour a.kly"}) {
        RunResult r = Kly(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_TRUE(oneLine(r.err)) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("kly: ", 0), 0u) << args;
    }
    RunResult help = Kly("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"dump", "build", "check"})
        EXPECT_NE(help.out.find(command), std::string::npos);
    EXPECT_EQ(Kly("build --help").status, 0);
}

TEST_F(KlyProgram, NothingCrashesOnGarbage) {
    std::mt19937 rng(7);
    const Bytes good = exampleLayout();
    for (int i = 0; i < 20; ++i) {
        Bytes bytes = good;
        for (int k = 0; k < 3; ++k)
            bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        if (i % 4 == 0) bytes.resize(rng() % bytes.size());
        Put("g.kly", bytes);
        std::string json(bytes.begin(), bytes.end());
        Put("g.json", json);
        for (const char* args : {"check g.kly", "dump g.kly", "build g.json -o g2.kly"}) {
            RunResult r = Kly(args);
            EXPECT_TRUE(r.status == 0 || r.status == 1) << args << " status " << r.status;
            if (r.status == 1 && std::string(args).rfind("check", 0) != 0) {
                EXPECT_TRUE(oneLine(r.err)) << args << ": " << r.err;
            }
        }
    }
}

TEST_F(KlyProgram, BuiltInLayoutsAreTheirJsonFiles) {
    // Built again under a locale of yet another code page: the JSON names its own.
    const std::string savedLocale = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
    ::setenv("LC_ALL", "tr_TR.UTF-8", 1);
    const std::pair<const char*, int> layouts[] = {
        {"us", 1252}, {"de", 1252}, {"numpad", 1252}, {"ru", 1251}, {"el", 1253}, {"phone", 1252}};
    for (const auto& [name, page] : layouts) {
        const std::string kly = std::string(KLY_LAYOUT_FILES) + "/" + name + ".kly";
        const std::string json = std::string(KLY_LAYOUT_SOURCES) + "/" + name + ".json";
        RunResult r = Kly("dump --pretty --codepage " + std::to_string(page) + " '" + kly + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        // The files in the repository are in the form that dump --pretty prints.
        EXPECT_EQ(r.out, Text(json)) << name;
        r = Kly("build '" + json + "' -o again.kly");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Text(Path("again.kly")), Text(kly)) << name;
        r = Kly("check '" + kly + "'");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "") << name;
    }
    ::setenv("LC_ALL", savedLocale.c_str(), 1);

    // --codepage overrides the JSON's; a page that cannot hold the captions is an error.
    const std::string ru = std::string(KLY_LAYOUT_SOURCES) + "/ru.json";
    RunResult r = Kly("build --codepage 1252 '" + ru + "' -o x.kly");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kly: " + ru +
                         ": key 13: field \"captions\": character \"ё\" (U+0451) is not in code "
                         "page 1252\n");
    r = Kly("dump --codepage 65001 x.kly");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kly: '65001' is not a supported code page (874, 1250 to 1258) (see kly "
                     "--help)\n");
}
