// The key properties dialog, built from the package's form resource and played headless through
// the modal responder.

#include "runtime/Keypropertiesf.h"

#include "KeyTestUtil.h"

#include "rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace quimbel;
using namespace vcl;

namespace {

// A key bound to a button of a surface, as both editing surfaces hand it to the dialog.
struct BoundKey {
    TPanel surface{nullptr};
    std::unique_ptr<TKey> key;
    TKeyControl* button = nullptr;

    explicit BoundKey(TKey* k) : key(k) {
        button = new TKeyControl(&surface);
        button->SetParent(&surface);
        key->AssignControl(button);
    }
    // The key is freed before the surface and its button; freeing it unbinds the button.
};

TKey* MakeTyped(TKeyType type) {
    TKey* k = keytest::MakeKey(ktNormal, "n", "s", "a");
    k->KeyType = type; // as read from a layout, values kept
    return k;
}

// Opens the dialog on the key through EditKeyProperties and lets Act play the user.
TModalResult EditWith(BoundKey& b, const std::function<void(TKeyPropertiesForm&)>& Act) {
    TModalResponderScope responder([&](TModalRequest& r) {
        ASSERT_EQ(r.Kind, mkForm);
        Act(*static_cast<TKeyPropertiesForm*>(r.Form));
    });
    return EditKeyProperties(&b.surface, b.key.get());
}

AnsiString Chr(unsigned char c) {
    return AnsiString(1, static_cast<char>(c));
}

} // namespace

TEST(KeyPropertiesForm, ResourceHoldsTheDialogsForm) {
    TKey key(ktNormal);
    TKeyPropertiesForm f(nullptr, &key);
    EXPECT_EQ(f.GetCaption(), "Key Properties");
    EXPECT_EQ(f.GetBorderStyle(), bsDialog);
    EXPECT_EQ(f.GetBorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(f.GetClientWidth(), 395);
    EXPECT_EQ(f.GetClientHeight(), 381);
    EXPECT_EQ(f.GetLeft(), 370);
    EXPECT_EQ(f.GetTop(), 216);
    EXPECT_EQ(f.GetPosition(), poDesigned);
    EXPECT_EQ(f.GetColor(), clBtnFace);
    EXPECT_EQ(f.GetFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(f.GetFont()->GetHeight(), -11);
    EXPECT_EQ(f.GetFont()->GetCharset(), DEFAULT_CHARSET);
    EXPECT_EQ(f.GetFont()->GetColor(), clWindowText);
    EXPECT_EQ(f.GetPixelsPerInch(), 96);
    EXPECT_EQ(f.OnClose.MethodName(), "FormClose");

    struct Control {
        TControl* control;
        const char* cls;
        TWinControl* parent;
        const char* caption;
        int left, top, width, height; // width < 0: a label that sizes itself
        int tabOrder;
    };
    TWinControl* caps = f.KeyCaptionsGroupBox;
    TWinControl* vals = f.KeyValuesGroupBox;
    const Control controls[] = {
        {f.KeyTypeRadioGroup, "TRadioGroup", &f, " Key Type ", 8, 8, 245, 254, 0},
        {f.KeyCaptionsGroupBox, "TGroupBox", &f, " Key Captions ", 264, 8, 121, 121, 1},
        {f.Label1, "TLabel", caps, "Normal:", 12, 24, -1, -1, -1},
        {f.Label2, "TLabel", caps, "Shift:", 12, 58, -1, -1, -1},
        {f.Label3, "TLabel", caps, "Alt Gr:", 12, 92, -1, -1, -1},
        {f.NormalCaptionEdit, "TEdit", caps, "", 60, 20, 49, 21, 0},
        {f.ShiftCaptionEdit, "TEdit", caps, "", 60, 54, 49, 21, 1},
        {f.AltGrCaptionEdit, "TEdit", caps, "", 60, 86, 49, 21, 2},
        {f.KeyValuesGroupBox, "TGroupBox", &f, " Key Values ", 264, 144, 121, 118, 2},
        {f.Label4, "TLabel", vals, "Normal:", 12, 24, -1, -1, -1},
        {f.Label5, "TLabel", vals, "Shift:", 12, 58, -1, -1, -1},
        {f.Label6, "TLabel", vals, "Alt Gr:", 12, 92, -1, -1, -1},
        {f.NormalValueEdit, "TEdit", vals, "", 60, 20, 49, 21, 0},
        {f.ShiftValueEdit, "TEdit", vals, "", 60, 54, 49, 21, 1},
        {f.AltGrValueEdit, "TEdit", vals, "", 60, 88, 49, 21, 2},
        {f.Label7, "TLabel", &f, "Key Width", 8, 272, -1, -1, -1},
        {f.Label8, "TLabel", &f, "Key Height", 76, 272, -1, -1, -1},
        {f.KeyWidthComboBox, "TComboBox", &f, "1", 8, 288, 53, 21, 3},
        {f.KeyHeightComboBox, "TComboBox", &f, "1", 76, 288, 53, 21, 4},
        {f.FontBtn, "TButton", &f, "&Font", 148, 284, 75, 25, 5},
        {f.FontLabel, "TLabel", &f, "MS Sans Serif 8", 232, 289, -1, -1, -1},
        {f.OKBtn, "TButton", &f, "&OK", 232, 344, 75, 25, 6},
        {f.CancelBtn, "TButton", &f, "&Cancel", 312, 344, 75, 25, 7},
    };
    for (const Control& c : controls) {
        ASSERT_NE(c.control, nullptr) << c.caption;
        const std::string name = c.control->GetName();
        EXPECT_EQ(c.control->ClassName(), c.cls) << name;
        EXPECT_EQ(c.control->GetParent(), c.parent) << name;
        EXPECT_EQ(c.control->GetOwner(), &f) << name;
        EXPECT_EQ(c.control->GetText(), c.caption) << name;
        EXPECT_EQ(c.control->GetLeft(), c.left) << name;
        EXPECT_EQ(c.control->GetTop(), c.top) << name;
        if (c.width >= 0) {
            EXPECT_EQ(c.control->GetWidth(), c.width) << name;
            EXPECT_EQ(c.control->GetHeight(), c.height) << name;
        }
        if (auto* w = dynamic_cast<TWinControl*>(c.control)) {
            EXPECT_EQ(w->GetTabOrder(), c.tabOrder) << name;
        }
    }

    const char* const types[] = {"Normal",
                                 "Shift",
                                 "Caps Lock",
                                 "Escape",
                                 "Alt Gr",
                                 "Enter",
                                 "Tabulator",
                                 "Backspace",
                                 "Insert",
                                 "Delete",
                                 "Home",
                                 "End",
                                 "Page Up",
                                 "Page Down",
                                 "Left",
                                 "Right",
                                 "Up",
                                 "Down",
                                 "Function [ F1 - F12 ]"};
    TStrings* items = f.KeyTypeRadioGroup->GetItems();
    ASSERT_EQ(items->Count(), 19);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(items->Get(i), types[i]) << i;
    EXPECT_EQ(f.KeyTypeRadioGroup->GetColumns(), 2);
    EXPECT_EQ(f.KeyTypeRadioGroup->ItemCell(9), Point(0, 9));
    EXPECT_EQ(f.KeyTypeRadioGroup->ItemCell(10), Point(1, 0));
    EXPECT_EQ(f.KeyTypeRadioGroup->OnClick.MethodName(), "KeyTypeRadioGroupClick");

    const char* const sizes[] = {"1/2",   "1",     "1 1/2", "2",     "2 1/2", "3",     "3 1/2",
                                 "4",     "4 1/2", "5",     "5 1/2", "6",     "6 1/2", "7",
                                 "7 1/2", "8",     "8 1/2", "9",     "9 1/2", "10"};
    for (TComboBox* box : {f.KeyWidthComboBox, f.KeyHeightComboBox}) {
        EXPECT_EQ(box->GetStyle(), csDropDownList);
        ASSERT_EQ(box->GetItems()->Count(), 20);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(box->GetItems()->Get(i), sizes[i]) << i;
    }

    EXPECT_TRUE(f.OKBtn->GetDefault());
    EXPECT_FALSE(f.OKBtn->GetCancel());
    EXPECT_EQ(f.OKBtn->GetModalResult(), mrOk);
    EXPECT_TRUE(f.CancelBtn->GetCancel());
    EXPECT_FALSE(f.CancelBtn->GetDefault());
    EXPECT_EQ(f.CancelBtn->GetModalResult(), mrCancel);
    EXPECT_EQ(f.FontBtn->OnClick.MethodName(), "FontBtnClick");
    EXPECT_EQ(f.FontDialog->GetOwner(), &f);
    EXPECT_EQ(f.FontDialog->GetOptions(), (TFontDialogOptions{fdEffects, fdForceFontExist}));
    EXPECT_EQ(f.FontDialog->GetMinFontSize(), 0);
    EXPECT_EQ(f.FontDialog->GetMaxFontSize(), 0);
    EXPECT_TRUE(f.FontDialog->GetFont()->Equals(f.GetFont()));
}

TEST(KeyPropertiesForm, OpeningShowsTheKeyAndChangesNothing) {
    struct Case {
        TKeyType type;
        bool levelsEnabled;
        const char* shiftCaption; // shown in the Shift caption edit
    };
    const Case cases[] = {
        {ktNormal, true, "s"}, {ktEnter, false, ""}, {ktDown, false, ""}, {ktFunction, false, "s"}};
    for (const Case& c : cases) {
        BoundKey b(MakeTyped(c.type));
        b.key->Font->SetName("Courier New");
        b.key->SetWidth(13);
        b.key->SetHeight(80);
        b.key->UpdateControl();
        const std::string before = keytest::Describe(*b.key);
        TKeyPropertiesForm f(&b.surface, b.key.get());
        EXPECT_EQ(f.KeyTypeRadioGroup->GetItemIndex(), c.type);
        EXPECT_EQ(f.NormalCaptionEdit->GetText(), "n");
        EXPECT_EQ(f.ShiftCaptionEdit->GetText(), c.shiftCaption);
        EXPECT_EQ(f.AltGrCaptionEdit->GetText(), c.shiftCaption[0] ? "a" : "");
        EXPECT_EQ(f.NormalValueEdit->GetText(), "n");
        EXPECT_EQ(f.ShiftValueEdit->GetText(), "s");
        EXPECT_EQ(f.AltGrValueEdit->GetText(), "a");
        EXPECT_TRUE(f.NormalCaptionEdit->GetEnabled());
        for (TEdit* e : {f.NormalValueEdit, f.ShiftValueEdit, f.AltGrValueEdit, f.ShiftCaptionEdit,
                         f.AltGrCaptionEdit}) {
            EXPECT_EQ(e->GetEnabled(), c.levelsEnabled) << e->GetName();
            EXPECT_EQ(e->GetColor(), c.levelsEnabled ? clWindow : clBtnFace) << e->GetName();
        }
        for (TEdit* e : {f.NormalCaptionEdit, f.ShiftCaptionEdit, f.AltGrCaptionEdit}) {
            EXPECT_EQ(e->GetFont()->GetName(), "Courier New");
            EXPECT_EQ(e->GetFont()->GetSize(), 8);
        }
        EXPECT_EQ(f.KeyWidthComboBox->GetText(), "1 1/2");
        EXPECT_EQ(f.KeyHeightComboBox->GetText(), "10");
        // The label shows the button's font, which the key gave it when it was bound.
        EXPECT_EQ(f.FontLabel->GetCaption(), "Courier New 8");
        EXPECT_EQ(keytest::Describe(*b.key), before);
    }
}

TEST(KeyPropertiesForm, PickingATypeSetsArrowsAndFontsAtOnce) {
    struct Case {
        std::vector<int> picks;
        TModalResult end;
        AnsiString caption; // Normal caption edit afterwards
        const char* font;   // font of that edit and of the key afterwards
        TKeyType savedType; // the key's type afterwards
        AnsiString keyCaption;
    };
    const Case cases[] = {
        {{14}, mrCancel, Chr(0xDF), "Wingdings", ktNormal, "n"},
        {{14}, mrOk, Chr(0xDF), "Wingdings", ktLeft, Chr(0xDF)},
        {{5}, mrOk, Chr(0xC3), "Wingdings", ktEnter, Chr(0xC3)},
        {{12}, mrOk, Chr(0xF1), "Wingdings", ktPageUp, Chr(0xF1)},
        {{13}, mrOk, Chr(0xF2), "Wingdings", ktPageDown, Chr(0xF2)},
        {{15}, mrOk, Chr(0xE0), "Wingdings", ktRight, Chr(0xE0)},
        {{17}, mrOk, Chr(0xE2), "Wingdings", ktDown, Chr(0xE2)},
        {{10, 3, 6, 18}, mrOk, "n", "Arial", ktFunction, "n"},
        {{16, 0}, mrOk, Chr(0xE1), "Wingdings", ktNormal, Chr(0xE1)},
        {{16, 10}, mrCancel, Chr(0xE1), "Wingdings", ktNormal, "n"},
    };
    for (const Case& c : cases) {
        BoundKey b(MakeTyped(ktNormal));
        b.key->Font->SetName("Arial");
        b.key->UpdateControl();
        std::string seen;
        EditWith(b, [&](TKeyPropertiesForm& f) {
            for (int pick : c.picks)
                f.KeyTypeRadioGroup->ClickItem(pick);
            seen = f.NormalCaptionEdit->GetFont()->GetName();
            EXPECT_EQ(f.NormalCaptionEdit->GetText(), c.caption);
            EXPECT_EQ(b.key->Font->GetName(), c.font); // before the dialog ends
            const bool normal = c.picks.back() == 0;
            EXPECT_EQ(f.ShiftCaptionEdit->GetEnabled(), normal);
            EXPECT_EQ(f.ShiftValueEdit->GetColor(), normal ? clWindow : clBtnFace);
            f.SetModalResult(c.end);
        });
        EXPECT_EQ(seen, c.font);
        EXPECT_EQ(b.key->Font->GetName(), c.font);
        EXPECT_EQ(b.key->KeyType, c.savedType);
        EXPECT_EQ(b.key->GetKeyCaption(klNormal), c.keyCaption);
        // The button shows the key only after OK.
        EXPECT_EQ(b.button->GetFont()->GetName(), c.end == mrOk ? c.font : "Arial");
        EXPECT_EQ(b.button->GetCaption(), c.end == mrOk ? c.keyCaption : "n");
    }
}

TEST(KeyPropertiesForm, OkSavesLevelsAfterTheType) {
    struct Case {
        TKeyType loaded;
        int pick; // -1: none
        TKeyType saved;
        const char* shiftCaption;
        const char* shiftValue;
    };
    const Case cases[] = {
        {ktNormal, -1, ktNormal, "S", "T"},
        {ktFunction, -1, ktFunction, "s", "s"}, // disabled edits keep their texts
        {ktEscape, -1, ktEscape, "", ""},
        {ktNormal, 7, ktBackspace, "", ""},
        {ktNormal, 18, ktFunction, "S", "T"},
        {static_cast<TKeyType>(40), -1, static_cast<TKeyType>(40), "s", "s"},
        {static_cast<TKeyType>(40), 9, ktDelete, "", ""},
    };
    for (const Case& c : cases) {
        BoundKey b(MakeTyped(c.loaded));
        EXPECT_EQ(EditWith(b,
                           [&](TKeyPropertiesForm& f) {
                               if (f.ShiftCaptionEdit->GetEnabled()) {
                                   f.ShiftCaptionEdit->SetText("S");
                                   f.ShiftValueEdit->SetText("T");
                               }
                               if (c.pick >= 0) f.KeyTypeRadioGroup->ClickItem(c.pick);
                               EXPECT_TRUE(f.InputKeyDown(VK_RETURN));
                           }),
                  mrOk);
        EXPECT_EQ(b.key->KeyType, c.saved) << int(c.loaded) << " " << c.pick;
        EXPECT_EQ(b.key->GetKeyCaption(klShift), c.shiftCaption);
        EXPECT_EQ(b.key->GetKeyCaption(klAltGr), c.shiftCaption[0] ? "a" : "");
        EXPECT_EQ(b.key->GetKeyValue(klNormal), "n");
        EXPECT_EQ(b.key->GetKeyValue(klShift), c.shiftValue);
        EXPECT_EQ(b.key->GetKeyValue(klAltGr), c.shiftValue[0] ? "a" : "");
    }
}

TEST(KeyPropertiesForm, SizesMapToHalfKeySteps) {
    struct Case {
        int stored;
        int shown; // item index
        int pick;  // -1: none
        int saved;
    };
    const Case cases[] = {
        {8, 1, -1, 8},  {8, 1, 4, 20},  {13, 2, -1, 12},  {80, 19, -1, 80},   {4, 0, -1, 4},
        {3, -1, -1, 3}, {0, -1, -1, 0}, {84, -1, -1, 84}, {255, -1, -1, 255}, {255, -1, 19, 80},
    };
    for (const Case& c : cases) {
        BoundKey b(MakeTyped(ktNormal));
        b.key->SetWidth(static_cast<TKeyWidth>(c.stored));
        b.key->SetHeight(static_cast<TKeyHeight>(c.stored));
        EditWith(b, [&](TKeyPropertiesForm& f) {
            EXPECT_EQ(f.KeyWidthComboBox->GetItemIndex(), c.shown) << c.stored;
            EXPECT_EQ(f.KeyHeightComboBox->GetItemIndex(), c.shown) << c.stored;
            if (c.pick >= 0) f.KeyWidthComboBox->SelectItem(c.pick);
            f.OKBtn->Click();
        });
        EXPECT_EQ(b.key->Width, c.saved) << c.stored;
        EXPECT_EQ(b.key->Height, c.pick >= 0 ? c.stored : c.saved) << c.stored;
        EXPECT_EQ(b.button->GetWidth(), b.key->Width * 4);
    }
}

TEST(KeyPropertiesForm, EveryWayOutSavesOnlyOnOk) {
    struct Way {
        const char* name;
        std::function<void(TKeyPropertiesForm&)> end;
        TModalResult result;
    };
    const Way ways[] = {
        {"OK", [](TKeyPropertiesForm& f) { f.OKBtn->Click(); }, mrOk},
        {"Enter", [](TKeyPropertiesForm& f) { f.InputKeyDown(VK_RETURN); }, mrOk},
        {"Cancel", [](TKeyPropertiesForm& f) { f.CancelBtn->Click(); }, mrCancel},
        {"Escape", [](TKeyPropertiesForm& f) { f.InputKeyDown(VK_ESCAPE); }, mrCancel},
        {"close box", [](TKeyPropertiesForm& f) { f.Close(); }, mrCancel},
    };
    for (const Way& w : ways) {
        BoundKey b(MakeTyped(ktNormal));
        const std::string before = keytest::Describe(*b.key);
        EXPECT_EQ(EditWith(b,
                           [&](TKeyPropertiesForm& f) {
                               f.NormalCaptionEdit->SetText("x");
                               f.NormalValueEdit->SetText("y");
                               f.KeyHeightComboBox->SelectItem(3);
                               f.KeyTypeRadioGroup->ClickItem(10);
                               w.end(f);
                           }),
                  w.result)
            << w.name;
        if (w.result == mrOk) {
            EXPECT_EQ(b.key->KeyType, ktHome) << w.name;
            EXPECT_EQ(b.key->GetKeyCaption(klNormal), "x");
            EXPECT_EQ(b.key->GetKeyValue(klNormal), "y");
            EXPECT_EQ(b.key->Height, 16);
            EXPECT_EQ(b.button->GetCaption(), "x");
        } else {
            EXPECT_EQ(keytest::Describe(*b.key), before) << w.name;
            EXPECT_EQ(b.button->GetCaption(), "n");
        }
        EXPECT_EQ(b.surface.ComponentCount(), 1) << w.name; // the dialog is gone
    }
}

TEST(KeyPropertiesForm, FontButtonChangesTheKeyFontButNotTheLabel) {
    struct Case {
        bool accept;
        TModalResult end;
    };
    for (const Case c : {Case{true, mrCancel}, Case{false, mrOk}, Case{true, mrOk}}) {
        BoundKey b(MakeTyped(ktNormal));
        b.key->Font->SetSize(12);
        b.key->Font->SetStyle(TFontStyles{fsBold});
        b.key->UpdateControl();
        int fontDialogs = 0;
        TModalResponderScope responder([&](TModalRequest& r) {
            if (r.Kind == mkFontDialog) {
                ++fontDialogs;
                // Preselected: the key's font, not the form's.
                EXPECT_TRUE(r.FontDialog->GetFont()->Equals(b.key->Font));
                r.FontDialog->GetFont()->SetName("Courier New");
                r.FontDialog->GetFont()->SetSize(14);
                r.Answer(c.accept ? mrOk : mrCancel);
                return;
            }
            auto& f = *static_cast<TKeyPropertiesForm*>(r.Form);
            f.FontBtn->Click();
            EXPECT_EQ(f.FontLabel->GetCaption(), "MS Sans Serif 12");
            EXPECT_EQ(f.ShiftCaptionEdit->GetFont()->GetName(),
                      c.accept ? "Courier New" : "MS Sans Serif");
            EXPECT_EQ(f.ShiftCaptionEdit->GetFont()->GetSize(), 8);
            f.SetModalResult(c.end);
        });
        EditKeyProperties(&b.surface, b.key.get());
        EXPECT_EQ(fontDialogs, 1);
        EXPECT_EQ(b.key->Font->GetName(), c.accept ? "Courier New" : "MS Sans Serif");
        EXPECT_EQ(b.key->Font->GetSize(), c.accept ? 14 : 12);
        EXPECT_EQ(b.button->GetFont()->GetSize(), c.end == mrOk ? b.key->Font->GetSize() : 12);
    }
}

TEST(KeyPropertiesForm, UnboundKeysAndFailuresLeaveNothingBehind) {
    // A key without a button names its own font.
    TKey loose(ktNormal);
    loose.Font->SetName("Arial");
    loose.Font->SetSize(10);
    EXPECT_EQ(TKeyPropertiesForm(nullptr, &loose).FontLabel->GetCaption(), "Arial 10");

    BoundKey b(MakeTyped(ktNormal));
    TModalResponderScope responder([&](TModalRequest& r) {
        EXPECT_EQ(r.Form->GetOwner(), &b.surface);
        EXPECT_EQ(b.surface.ComponentCount(), 2);
        throw Exception("gone");
    });
    EXPECT_THROW(EditKeyProperties(&b.surface, b.key.get()), Exception);
    EXPECT_EQ(b.surface.ComponentCount(), 1);
    EXPECT_EQ(b.key->GetKeyCaption(klNormal), "n");
}

TEST(KeyPropertiesForm, AssistedEditingLeavesNoKeyTypingNothing) {
    // OK on a normal key fills each empty value from its level's caption; a value given stays,
    // Cancel fills nothing, and the plain dialog never fills.
    struct Case {
        TModalResult end;
        bool assisted;
        const char* values[3];
    } cases[] = {{mrOk, true, {"q", "Q", "x"}},
                 {mrCancel, true, {"", "", "x"}},
                 {mrOk, false, {"", "", "x"}}};
    for (const Case& c : cases) {
        BoundKey b(keytest::MakeKey(ktNormal, "", "", ""));
        b.key->SetKeyValue(klAltGr, "x");
        TModalResponderScope responder([&](TModalRequest& r) {
            auto& f = *static_cast<TKeyPropertiesForm*>(r.Form);
            f.NormalCaptionEdit->SetText("q");
            f.ShiftCaptionEdit->SetText("Q");
            f.AltGrCaptionEdit->SetText("@");
            f.SetModalResult(c.end);
        });
        c.assisted ? EditKeyPropertiesAssisted(&b.surface, b.key.get())
                   : EditKeyProperties(&b.surface, b.key.get());
        for (TKeyLevel level : {klNormal, klShift, klAltGr})
            EXPECT_EQ(b.key->GetKeyValue(level), c.values[level]) << c.end << c.assisted << level;
    }

    // Picking a type suggests its caption in place of an empty one or of the one suggested
    // before; an arrow's symbol font gives way to the key's font again; a written caption stays.
    struct Pick {
        const char* caption; // the key's caption when the dialog opens
        std::vector<int> picks;
        AnsiString shown;
        const char* font;
    } picks[] = {{"", {ktShift}, "Shift", "Arial"},
                 {"", {ktShift, ktBackspace, ktCapsLock}, "Caps Lock", "Arial"},
                 {"", {ktLeft, ktEscape}, "Esc", "Arial"},
                 {"", {ktAltGr, ktNormal}, "Alt Gr", "Arial"},
                 {"", {ktFunction}, "", "Arial"},
                 {"Umsch", {ktShift}, "Umsch", "Arial"},
                 {"", {ktLeft}, Chr(0xDF), "Wingdings"}};
    for (const Pick& p : picks) {
        BoundKey b(keytest::MakeKey(ktNormal, p.caption, "", ""));
        b.key->Font->SetName("Arial");
        TModalResponderScope responder([&](TModalRequest& r) {
            auto& f = *static_cast<TKeyPropertiesForm*>(r.Form);
            for (int pick : p.picks)
                f.KeyTypeRadioGroup->ClickItem(pick);
            EXPECT_EQ(f.NormalCaptionEdit->GetText(), p.shown) << p.picks.back();
            f.SetModalResult(mrOk);
        });
        EditKeyPropertiesAssisted(&b.surface, b.key.get());
        EXPECT_EQ(b.key->GetKeyCaption(klNormal), p.shown);
        EXPECT_EQ(b.key->Font->GetName(), p.font) << p.picks.back();
    }
}
