// Clicks whose handlers free or replace what the click is using, and keys and buttons freed
// while the other side still refers to them.

#include "KeyboardTestUtil.h"
#include "TestSupport.h"

#include "runtime/Quimbel.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace quimbel;
using namespace keytest;

namespace {

// A form with a keyboard (keys "ab" and Shift, Alt Gr) and a recorder it types into.
struct Scene {
    Scene() {
        form = new vcl::TForm(nullptr);
        keyboard = new TKeyboard(form);
        recorder = new TRecorder(form);
        recorder->Log = &log;
        keyboard->SetLinkedControl(recorder);
        keyboard->GetKeys()->AddKey(MakeKey(ktNormal, "ab", "AB", ""));
        keyboard->GetKeys()->AddKey(PlacedKey(ktShift, 8, 0));
        keyboard->GetKeys()->AddKey(PlacedKey(ktAltGr, 16, 0));
        keyboard->SetKeys(keyboard->GetKeys());
    }
    ~Scene() { delete form; }
    TKey* Key(int Index) const { return keyboard->GetKeys()->GetItem(Index); }

    vcl::TForm* form;
    TKeyboard* keyboard;
    TRecorder* recorder;
    std::vector<std::string> log;
};

} // namespace

TEST(KeyboardSafety, ClickEndsSafelyWhateverItsHandlersDid) {
    testsupport::TempDir dir;
    const std::string layout = dir.Path("other.kly");
    {
        TKeyCollection keys;
        keys.AddKey(MakeKey(ktNormal, "z", "Z", ""));
        keys.SaveToFile(layout);
    }
    using Action = std::function<void(Scene&)>;
    auto freeForm = [](Scene& s) {
        delete s.form;
        s.form = nullptr;
    };
    const struct {
        const char* what;
        Action onKey;     // run by OnKey
        Action onMessage; // run by the linked control after each message
        std::vector<std::string> log;
    } cases[] = {
        {"LoadKeyLayout", [&](Scene& s) { s.keyboard->LoadKeyLayout(layout); }, nullptr, {}},
        {"LoadLayoutResource", [](Scene& s) { s.keyboard->LoadLayoutResource("de"); }, nullptr, {}},
        {"SetKeys", [](Scene& s) { s.keyboard->SetKeys(new TKeyCollection()); }, nullptr, {}},
        {"DeleteAllKeys", [](Scene& s) { s.keyboard->GetKeys()->DeleteAllKeys(); }, nullptr, {}},
        // The key outlives its button, so it is still typed.
        {"ReCreateControls", [](Scene& s) { s.keyboard->ReCreateControls(); }, nullptr,
         {"WM_CHAR 0x61", "WM_CHAR 0x62"}},
        {"free the linked control", [](Scene& s) { delete s.recorder; }, nullptr, {}},
        {"free the keyboard's form", freeForm, nullptr, {}},
        {"layout switched by the control", nullptr,
         [&](Scene& s) { s.keyboard->LoadKeyLayout(layout); }, {"WM_CHAR 0x61"}},
        {"form freed by the control", nullptr, freeForm, {"WM_CHAR 0x61"}},
    };
    for (const auto& c : cases) {
        Scene s;
        if (c.onKey)
            s.keyboard->OnKey = [&](vcl::TObject*, TKey*, TKeyLevel, vcl::AnsiString) {
                c.onKey(s);
            };
        if (c.onMessage) s.recorder->OnMessage = [&] { c.onMessage(s); };
        Click(*s.keyboard, s.Key(0));
        EXPECT_EQ(s.log, c.log) << c.what;
    }
}

TEST(KeyboardSafety, StateHandlerFreeingTheKeyboardEndsTheChange) {
    // Alt Gr with Shift on: releasing Shift reports, then Alt Gr would be set.
    for (const char* which : {"Shift", "Caps"}) {
        Scene s;
        int calls = 0;
        auto freeForm = [&] {
            ++calls;
            delete s.form;
            s.form = nullptr;
        };
        if (std::string(which) == "Shift") {
            s.keyboard->SetShiftState();
            s.keyboard->OnShiftStateChange = [&](vcl::TObject*, bool) { freeForm(); };
        } else {
            s.keyboard->ToggleCapsState();
            s.keyboard->OnCapsStateChange = [&](vcl::TObject*, bool) { freeForm(); };
        }
        s.keyboard->OnAltGrStateChange = [&](vcl::TObject*, bool) { ++calls; };
        Click(*s.keyboard, s.Key(2));
        EXPECT_EQ(calls, 1) << which;
    }
}

TEST(KeyboardSafety, KeyAndButtonUnbindWhenEitherIsFreed) {
    using Action = std::function<void(TKeyboard&)>;
    const std::pair<const char*, Action> freeKeys[] = {
        {"DeleteAllKeys", [](TKeyboard& k) { k.GetKeys()->DeleteAllKeys(); }},
        {"DeleteAndFreeKey", [](TKeyboard& k) { k.GetKeys()->DeleteAndFreeKey(0); }},
        {"LoadFromFile",
         [](TKeyboard& k) { EXPECT_ANY_THROW(k.GetKeys()->LoadFromFile("/nonexistent/x.kly")); }},
        {"LoadLayoutResource", [](TKeyboard& k) { LoadLayoutResource(k.GetKeys(), "de"); }},
    };
    for (const auto& [what, action] : freeKeys) {
        Scene s;
        TKeyControl* button = s.Key(0)->Control;
        action(*s.keyboard);
        EXPECT_EQ(button->Key, nullptr) << what;
        ClickButton(*s.keyboard, button); // a button that shows no key types nothing
        EXPECT_TRUE(s.log.empty()) << what;
    }

    Scene s;
    TKey* key = s.Key(0);
    delete key->Control;
    EXPECT_EQ(key->Control, nullptr);
    // Binding a key to a second button unbinds the first one, and the other way round.
    TKeyControl first(nullptr), second(nullptr);
    key->AssignControl(&first);
    key->AssignControl(&second);
    EXPECT_EQ(first.Key, nullptr);
    s.Key(1)->AssignControl(&second);
    EXPECT_EQ(key->Control, nullptr);
    EXPECT_EQ(second.Key, s.Key(1));
}

TEST(KeyboardSafety, LoadLayoutResourceRebuildsAndLaysOut) {
    Scene s;
    TKeyControl* old = s.Key(0)->Control;
    EXPECT_THROW(s.keyboard->LoadLayoutResource("nosuchlayout"), vcl::EResNotFound);
    EXPECT_EQ(s.Key(0)->Control, old);

    s.keyboard->LoadLayoutResource("DE");
    TKeyboard expected(nullptr);
    auto* keys = new TKeyCollection();
    LoadLayoutResource(keys, "de");
    expected.SetKeys(keys);
    ASSERT_EQ(s.keyboard->GetKeys()->GetCount(), keys->GetCount());
    for (int i = 0; i < keys->GetCount(); ++i)
        EXPECT_EQ(BoundsOf(s.Key(i)), BoundsOf(keys->GetItem(i))) << i;
}
