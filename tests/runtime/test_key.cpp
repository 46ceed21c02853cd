#include "KeyTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quimbel;
using namespace keytest;

namespace {

// A key button that logs what reaches it, in order.
class TLoggingKeyControl : public TKeyControl {
public:
    explicit TLoggingKeyControl(vcl::TComponent* AOwner) : TKeyControl(AOwner) {}
    std::vector<std::string> log;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
        std::string what;
        if (ATop != GetTop()) what += " top " + std::to_string(ATop);
        if (ALeft != GetLeft()) what += " left " + std::to_string(ALeft);
        if (AWidth != GetWidth()) what += " width " + std::to_string(AWidth);
        if (AHeight != GetHeight()) what += " height " + std::to_string(AHeight);
        if (!what.empty()) log.push_back(what.substr(1));
        TKeyControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    }
    void SetEnabled(bool Value) override {
        log.push_back(Value ? "enabled" : "disabled");
        TKeyControl::SetEnabled(Value);
    }

protected:
    void VisibleChanged() override {
        log.push_back(GetVisible() ? "shown" : "hidden");
        TKeyControl::VisibleChanged();
    }
    void TextChanged() override {
        log.push_back("caption " + GetText());
        TKeyControl::TextChanged();
    }
    void FontChanged() override {
        log.push_back("font " + GetFont()->GetName());
        TKeyControl::FontChanged();
    }
};

} // namespace

TEST(Key, NewKeyDefaultsAndTypeChanges) {
    TKey shift(ktShift);
    EXPECT_EQ(shift.KeyType, ktShift);
    EXPECT_EQ(shift.KeyCaption, (TKeyLevelCaption{"", "", ""}));
    EXPECT_EQ(shift.KeyValue, (TKeyLevelValue{"", "", ""}));
    EXPECT_EQ(shift.Top, 0);
    EXPECT_EQ(shift.Left, 0);
    EXPECT_EQ(shift.Width, 8);
    EXPECT_EQ(shift.Height, 8);
    EXPECT_TRUE(shift.Visible);
    EXPECT_TRUE(shift.Enabled);
    EXPECT_EQ(shift.Control, nullptr);
    vcl::TFont defaults;
    EXPECT_TRUE(shift.Font->Equals(&defaults));

    std::unique_ptr<TKey> key(MakeKey(ktNormal, "a", "A", "2"));
    EXPECT_EQ(key->GetKeyCaption(klShift), "A");
    key->SetKeyType(ktNormal);
    EXPECT_EQ(key->KeyValue, (TKeyLevelValue{"a", "A", "2"}));
    key->SetKeyType(ktEnter);
    EXPECT_EQ(key->KeyType, ktEnter);
    EXPECT_EQ(key->KeyValue, (TKeyLevelValue{"", "", ""}));
    EXPECT_EQ(key->KeyCaption, (TKeyLevelCaption{"a", "A", "2"}));
    key->SetKeyValue(klNormal, "x");
    key->SetKeyType(ktFunction);
    EXPECT_EQ(key->GetKeyValue(klNormal), "");
}

TEST(Key, SettersMoveTheBoundButtonAtDesignScale) {
    TKey key(ktNormal);
    key.SetWidth(12);
    key.SetLeft(-3);
    EXPECT_EQ(key.Width, 12);
    EXPECT_EQ(key.Left, -3);

    TKeyControl button(nullptr);
    key.AssignControl(&button);
    EXPECT_EQ(key.Control, &button);
    EXPECT_EQ(button.Key, &key);
    EXPECT_EQ(button.GetLeft(), -12);
    EXPECT_EQ(button.GetWidth(), 48);

    key.SetTop(5);
    key.SetHeight(255); // read as unsigned
    key.SetLeft(7);
    key.SetWidth(4);
    EXPECT_EQ(button.BoundsRect(), vcl::Bounds(28, 20, 16, 1020));
    key.SetEnabled(false);
    key.SetVisible(false);
    EXPECT_FALSE(button.GetEnabled());
    EXPECT_FALSE(button.GetVisible());

    // Captions and types reach the button only through UpdateControl.
    key.SetKeyCaption(klNormal, "q");
    key.SetKeyCaption(klShift, "Q");
    EXPECT_EQ(button.GetText(), "");
    key.UpdateControl();
    EXPECT_EQ(button.GetText(), "q");

    // Positions wrap around in 32 bits instead of overflowing.
    key.SetLeft(INT32_MAX);
    EXPECT_EQ(button.GetLeft(), -4);
}

TEST(Key, AssignControlAndUpdateControlPushInTheirOrder) {
    std::unique_ptr<TKey> key(MakeKey(ktNormal, "a", "A", ""));
    key->SetTop(1);
    key->SetLeft(2);
    key->SetWidth(12);
    key->SetHeight(16);
    key->SetEnabled(false);
    key->SetVisible(false);
    key->Font->SetName("Wingdings");

    TLoggingKeyControl button(nullptr);
    key->AssignControl(&button);
    EXPECT_EQ(button.log,
              (std::vector<std::string>{"top 4", "left 8", "width 48", "height 64", "disabled",
                                        "hidden", "font Wingdings", "caption a"}));

    // Changed in place, then shown again: the caption now comes before the font.
    button.log.clear();
    key->Top = 3;
    key->Left = 4;
    key->Width = 8;
    key->Height = 8;
    key->Enabled = true;
    key->Visible = true;
    key->KeyCaption[klNormal] = "b";
    key->Font->SetName("Arial");
    key->UpdateControl();
    EXPECT_EQ(button.log,
              (std::vector<std::string>{"top 12", "left 16", "width 32", "height 32", "enabled",
                                        "shown", "caption b", "font Arial"}));

    TKey unbound(ktNormal);
    unbound.UpdateControl(); // nothing to do, nothing fails
}

TEST(Key, FontsAreCopiedNeverShared) {
    TKey key(ktNormal);
    TKeyControl button(nullptr);
    key.AssignControl(&button);
    vcl::TFont* own = key.Font;
    {
        vcl::TFont f;
        f.SetName("Arial");
        f.SetSize(14);
        f.SetColor(vcl::clRed);
        f.SetStyle({vcl::fsItalic});
        key.SetFont(&f);
        EXPECT_EQ(key.Font, own);
        EXPECT_TRUE(key.Font->Equals(&f));
        EXPECT_TRUE(button.GetFont()->Equals(&f));
        f.SetName("Courier New");
        EXPECT_EQ(key.Font->GetName(), "Arial");
    }
    EXPECT_EQ(key.Font->GetSize(), 14);

    // The caller's font survives the key.
    vcl::TFont kept;
    {
        TKey other(ktNormal);
        other.SetFont(&kept);
    }
    EXPECT_EQ(kept.GetName(), "MS Sans Serif");
}

TEST(Key, ButtonOutlivesItsKey) {
    TKeyControl button(nullptr);
    {
        std::unique_ptr<TKey> key(MakeKey(ktNormal, "z", "Z", ""));
        key->SetLeft(10);
        key->AssignControl(&button);
    }
    EXPECT_EQ(button.GetText(), "z");
    EXPECT_EQ(button.GetLeft(), 40);
}

TEST(Key, LevelOutsideTheEnumerationRaisesARangeError) {
    TKeyboard keyboard(nullptr);
    keyboard.GetKeys()->AddKey(MakeKey(ktNormal, "a", "A", ""));
    TKey* key = keyboard.GetKeys()->GetItem(0);
    const std::function<void(TKeyLevel)> uses[] = {
        [&](TKeyLevel l) { key->GetKeyCaption(l); },
        [&](TKeyLevel l) { key->GetKeyValue(l); },
        [&](TKeyLevel l) { key->SetKeyCaption(l, "x"); },
        [&](TKeyLevel l) { key->SetKeyValue(l, "x"); },
        [&](TKeyLevel l) { keyboard.SearchKey("zz", l); },
        [&](TKeyLevel l) { keyboard.SearchKey(l, "zz"); },
        [&](TKeyLevel l) { keyboard.SearchKey(ktNormal, "zz", l); },
    };
    for (size_t i = 0; i < std::size(uses); ++i)
        for (int level : {3, 7, 255}) {
            try {
                uses[i](static_cast<TKeyLevel>(level));
                ADD_FAILURE() << i << " " << level;
            } catch (const vcl::ERangeError& e) {
                EXPECT_EQ(e.Message(), "Key level " + std::to_string(level) + " out of range");
            }
        }
    EXPECT_EQ(key->KeyCaption, (TKeyLevelCaption{"a", "A", ""}));
}
