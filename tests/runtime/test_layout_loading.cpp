// Every way of loading a layout reads into a collection of its own first: what a failed read
// replaces is decided afterwards, by each loader.

#include "KeyboardTestUtil.h"
#include "TestSupport.h"

#include "runtime/Quimbel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace quimbel;
using namespace keytest;

TEST(LayoutLoading, AFailedReadReplacesOnlyWhatItsLoaderSays) {
    const testsupport::TempDir dir;
    TKeyCollection source;
    source.AddKey(MakeKey(ktNormal, "a", "A", ""));
    source.AddKey(MakeKey(ktNormal, "b", "B", ""));
    Bytes bytes = Write(source);
    bytes.pop_back(); // the list end is missing: both keys are complete
    const std::string cut = dir.Path("cut.kly");
    std::ofstream(cut, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    TKeyboard keyboard(nullptr);
    keyboard.LoadLayoutResource("numpad");
    TKeyCollection* keys = keyboard.GetKeys();
    const std::vector<std::string> numpad = Describe(*keys);
    const Bounds first = BoundsOf(keys->GetItem(0));

    // The package's helpers change nothing on a failure, from a file or a built-in name.
    const std::pair<const char*, std::function<TLayoutRead()>> failing[] = {
        {"cut file", [&] { return TLayoutRead::FromFile(cut); }},
        {"missing file", [&] { return TLayoutRead::FromFile(dir.Path("missing.kly")); }},
        {"no such layout", [] { return TLayoutRead::FromResource("nosuchlayout"); }},
    };
    for (const auto& [what, readLayout] : failing) {
        TLayoutRead read = readLayout();
        EXPECT_TRUE(read.Failed()) << what;
        EXPECT_ANY_THROW(TakeLayout(&keyboard, read)) << what;
        EXPECT_EQ(Describe(*keyboard.GetKeys()), numpad) << what;
        EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(0)), first) << what;
    }

    // A read that succeeds is laid out as a built-in layout is; the collection stays the same
    // object, so whoever holds it (a layout designer) sees the new keys.
    TLayoutRead de = TLayoutRead::FromResource("de");
    EXPECT_FALSE(de.Failed());
    TakeLayout(&keyboard, de);
    TKeyboard expected(nullptr);
    expected.LoadLayoutResource("de");
    EXPECT_EQ(keyboard.GetKeys(), keys);
    ASSERT_EQ(Describe(*keys), Describe(*expected.GetKeys()));
    for (int i = 0; i < keys->GetCount(); ++i)
        EXPECT_EQ(BoundsOf(keys->GetItem(i)), BoundsOf(expected.GetKeys()->GetItem(i))) << i;

    // LoadKeyLayout takes the keys read completely, without buttons, as the collection does.
    EXPECT_THROW(keyboard.LoadKeyLayout(cut), vcl::EReadError);
    EXPECT_EQ(Describe(*keys), Describe(source));
    EXPECT_EQ(keys->GetItem(0)->Control, nullptr);
}
