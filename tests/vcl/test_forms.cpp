// Forms built from text .dfm resources (forms/*.dfm, converted and embedded at build time), and
// everything a user does with them through the modal responder.

#include "FormRounds.h"
#include "vcl/ActnList.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include "rtl/FormStreams.h"
#include "rtl/Streams.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace vcl;

namespace {

class TDialogForm : public TForm {
    VCL_DECLARE_CLASS(TDialogForm, TForm)
public:
    TLabel* Label7 = nullptr;
    TLabel* FontLabel = nullptr;
    TRadioGroup* KeyTypeRadioGroup = nullptr;
    TGroupBox* KeyCaptionsGroupBox = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* NormalCaptionEdit = nullptr;
    TEdit* ShiftCaptionEdit = nullptr;
    TEdit* AltGrCaptionEdit = nullptr;
    TComboBox* KeyWidthComboBox = nullptr;
    TButton* FontBtn = nullptr;
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TFontDialog* FontDialog = nullptr;

    std::vector<std::string> log;
    bool refuseClose = false;

    explicit TDialogForm(TComponent* AOwner) : TForm(AOwner) { InitInheritedComponent(); }

    void FormCreate(TObject*) { log.push_back("create"); }
    void FormClose(TObject*, TCloseAction& Action) {
        log.push_back("close " + std::to_string(GetModalResult()));
        if (refuseClose) {
            refuseClose = false;
            Action = caNone;
        }
    }
    void KeyTypeRadioGroupClick(TObject* Sender) {
        EXPECT_EQ(Sender, KeyTypeRadioGroup);
        log.push_back("type " + std::to_string(KeyTypeRadioGroup->GetItemIndex()));
    }
    void FontBtnClick(TObject*) {
        if (FontDialog->Execute()) log.push_back("font " + FontDialog->GetFont()->GetName());
    }
};

VCL_DEFINE_CLASS(TDialogForm, TForm, c) {
    c.Field("Label7", &TDialogForm::Label7);
    c.Field("FontLabel", &TDialogForm::FontLabel);
    c.Field("KeyTypeRadioGroup", &TDialogForm::KeyTypeRadioGroup);
    c.Field("KeyCaptionsGroupBox", &TDialogForm::KeyCaptionsGroupBox);
    c.Field("Label1", &TDialogForm::Label1);
    c.Field("NormalCaptionEdit", &TDialogForm::NormalCaptionEdit);
    c.Field("ShiftCaptionEdit", &TDialogForm::ShiftCaptionEdit);
    c.Field("AltGrCaptionEdit", &TDialogForm::AltGrCaptionEdit);
    c.Field("KeyWidthComboBox", &TDialogForm::KeyWidthComboBox);
    c.Field("FontBtn", &TDialogForm::FontBtn);
    c.Field("OKBtn", &TDialogForm::OKBtn);
    c.Field("CancelBtn", &TDialogForm::CancelBtn);
    c.Field("FontDialog", &TDialogForm::FontDialog);
    c.Method<TNotifyEvent>("FormCreate", &TDialogForm::FormCreate);
    c.Method<TCloseEvent>("FormClose", &TDialogForm::FormClose);
    c.Method<TNotifyEvent>("KeyTypeRadioGroupClick", &TDialogForm::KeyTypeRadioGroupClick);
    c.Method<TNotifyEvent>("FontBtnClick", &TDialogForm::FontBtnClick);
}

class TDesignerForm : public TForm {
    VCL_DECLARE_CLASS(TDesignerForm, TForm)
public:
    TPanel* LayoutPanel = nullptr;
    TPanel* TopPanel = nullptr;
    TSpeedButton* ShiftLeftBtn = nullptr;
    TButton* NewKeyBtn = nullptr;
    TButton* SaveLayoutBtn = nullptr;
    TPanel* RightPanel = nullptr;
    TButton* CloseBtn = nullptr;
    TActionList* ActionList = nullptr;
    TAction* NewKeyAction = nullptr;
    TAction* DeleteKeyAction = nullptr;
    TAction* SaveLayoutAction = nullptr;
    TAction* ShiftLeftAction = nullptr;
    TPopupMenu* PopupMenu = nullptr;
    TMenuItem* DeleteKey1 = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    TOpenDialog* OpenDialog = nullptr;

    std::vector<std::string> log;
    std::vector<std::string>* destroyLog = nullptr;
    std::vector<TSpeedButton*> keys;

    explicit TDesignerForm(TComponent* AOwner, bool load = true) : TForm(AOwner) {
        if (load) InitInheritedComponent();
    }
    ~TDesignerForm() override { BeforeDestruction(); }

    TSpeedButton* AddKey(int left) {
        auto* key = new TSpeedButton(LayoutPanel);
        key->SetParent(LayoutPanel);
        key->SetBounds(left, 0, 32, 32);
        key->SetPopupMenu(PopupMenu);
        keys.push_back(key);
        return key;
    }

    void NewKeyActionExecute(TObject* Sender) {
        auto* action = As<TAction>(Sender);
        log.push_back("new from " + action->GetActionComponent()->GetName());
        AddKey(static_cast<int>(keys.size()) * 40);
    }
    void DeleteKeyActionExecute(TObject* Sender) {
        auto* item = As<TMenuItem>(As<TAction>(Sender)->GetActionComponent());
        auto* menu = As<TPopupMenu>(item->GetParentMenu());
        auto* key = As<TSpeedButton>(menu->GetPopupComponent());
        log.push_back("delete " + std::to_string(key->GetLeft()));
        keys.erase(std::find(keys.begin(), keys.end(), key));
        delete key;
    }
    void SaveLayoutActionExecute(TObject*) {
        if (SaveDialog->Execute()) log.push_back("save " + SaveDialog->GetFileName());
    }
    void ShiftLeftActionExecute(TObject* Sender) {
        log.push_back("shift from " + As<TAction>(Sender)->GetActionComponent()->GetName());
    }
    void FormDestroy(TObject*) {
        // Runs while the form and its controls are whole.
        if (destroyLog)
            destroyLog->push_back("destroy with " + std::to_string(LayoutPanel->ControlCount()) +
                                  " keys");
    }
};

VCL_DEFINE_CLASS(TDesignerForm, TForm, c) {
    c.Field("LayoutPanel", &TDesignerForm::LayoutPanel);
    c.Field("TopPanel", &TDesignerForm::TopPanel);
    c.Field("ShiftLeftBtn", &TDesignerForm::ShiftLeftBtn);
    c.Field("NewKeyBtn", &TDesignerForm::NewKeyBtn);
    c.Field("SaveLayoutBtn", &TDesignerForm::SaveLayoutBtn);
    c.Field("RightPanel", &TDesignerForm::RightPanel);
    c.Field("CloseBtn", &TDesignerForm::CloseBtn);
    c.Field("ActionList", &TDesignerForm::ActionList);
    c.Field("NewKeyAction", &TDesignerForm::NewKeyAction);
    c.Field("DeleteKeyAction", &TDesignerForm::DeleteKeyAction);
    c.Field("SaveLayoutAction", &TDesignerForm::SaveLayoutAction);
    c.Field("ShiftLeftAction", &TDesignerForm::ShiftLeftAction);
    c.Field("PopupMenu", &TDesignerForm::PopupMenu);
    c.Field("DeleteKey1", &TDesignerForm::DeleteKey1);
    c.Field("SaveDialog", &TDesignerForm::SaveDialog);
    c.Field("OpenDialog", &TDesignerForm::OpenDialog);
    c.Method<TNotifyEvent>("NewKeyActionExecute", &TDesignerForm::NewKeyActionExecute);
    c.Method<TNotifyEvent>("DeleteKeyActionExecute", &TDesignerForm::DeleteKeyActionExecute);
    c.Method<TNotifyEvent>("SaveLayoutActionExecute", &TDesignerForm::SaveLayoutActionExecute);
    c.Method<TNotifyEvent>("ShiftLeftActionExecute", &TDesignerForm::ShiftLeftActionExecute);
    c.Method<TNotifyEvent>("FormDestroy", &TDesignerForm::FormDestroy);
}

using Log = std::vector<std::string>;

} // namespace

TEST(Forms, DialogIsBuiltFromItsResourceWithFieldsHandlersAndReferences) {
    TDialogForm form(nullptr);
    EXPECT_EQ(form.log, (Log{"create"}));
    EXPECT_EQ(form.GetCaption(), "Key Properties");
    EXPECT_EQ(form.GetBorderStyle(), bsDialog);
    EXPECT_EQ(form.GetBorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(form.GetClientWidth(), 395);
    EXPECT_EQ(form.GetClientHeight(), 381);
    EXPECT_EQ(form.BoundsRect(), Bounds(370, 216, 403, 408));
    EXPECT_EQ(form.GetPixelsPerInch(), 96);
    EXPECT_EQ(form.GetTextHeight(), 13);
    EXPECT_FALSE(form.GetVisible());
    EXPECT_EQ(form.GetFont()->GetHeight(), -11);
    EXPECT_EQ(form.GetFont()->GetSize(), 8);
    EXPECT_EQ(form.OnClose.MethodName(), "FormClose");

    ASSERT_NE(form.KeyTypeRadioGroup, nullptr);
    EXPECT_EQ(form.KeyTypeRadioGroup->GetItems()->Count(), 19);
    EXPECT_EQ(form.KeyTypeRadioGroup->GetItems()->Get(18), "Function [ F1 - F12 ]");
    EXPECT_EQ(form.KeyTypeRadioGroup->GetItemIndex(), 0);
    EXPECT_EQ(form.KeyTypeRadioGroup->GetColumns(), 2);
    EXPECT_EQ(form.KeyTypeRadioGroup->ItemCell(9), Point(0, 9));
    EXPECT_EQ(form.KeyTypeRadioGroup->ItemCell(10), Point(1, 0));
    EXPECT_EQ(form.NormalCaptionEdit->GetParent(), form.KeyCaptionsGroupBox);
    EXPECT_EQ(form.NormalCaptionEdit->BoundsRect(), Bounds(60, 20, 49, 21));
    EXPECT_EQ(form.Label1->GetFocusControl(), form.NormalCaptionEdit);
    EXPECT_EQ(form.KeyWidthComboBox->GetStyle(), csDropDownList);
    EXPECT_EQ(form.KeyWidthComboBox->GetItemIndex(), 1);
    EXPECT_EQ(form.KeyWidthComboBox->GetText(), "1");
    EXPECT_TRUE(form.OKBtn->GetDefault());
    EXPECT_EQ(form.OKBtn->GetModalResult(), mrOk);
    EXPECT_TRUE(form.CancelBtn->GetCancel());
    EXPECT_EQ(form.CancelBtn->GetModalResult(), mrCancel);
    EXPECT_EQ(form.DefaultButton(), form.OKBtn);
    EXPECT_EQ(form.CancelButton(), form.CancelBtn);
    EXPECT_EQ(form.FontDialog->GetOptions(), (TFontDialogOptions{fdEffects, fdForceFontExist}));
    EXPECT_EQ(form.FontDialog->GetDesignInfo() & 0xFFFF, 352);
    // The tab order comes from the stream, not from the order of creation.
    auto tabs = form.GetTabOrderList();
    ASSERT_EQ(tabs.size(), 6u);
    EXPECT_EQ(tabs[2], form.OKBtn);
    EXPECT_EQ(tabs[3], form.CancelBtn);
    EXPECT_EQ(tabs[4], form.KeyWidthComboBox);
    EXPECT_EQ(form.OKBtn->GetTabOrder(), 2);
    EXPECT_EQ(form.AltGrCaptionEdit->GetTabOrder(), 2);
    // Labels size themselves to their captions.
    EXPECT_EQ(form.Label7->GetHeight(), 13);
}

TEST(Forms, ShowModalEndsInEachOfItsWays) {
    TDialogForm form(nullptr);
    struct Way {
        const char* name;
        std::function<void(TDialogForm&)> act;
        TModalResult expected;
    };
    std::vector<Way> ways{
        {"OK button", [](TDialogForm& f) { f.OKBtn->Click(); }, mrOk},
        {"OK pressed", [](TDialogForm& f) { MouseClick(f.OKBtn); }, mrOk},
        {"Cancel button", [](TDialogForm& f) { MouseClick(f.CancelBtn); }, mrCancel},
        {"Enter", [](TDialogForm& f) { EXPECT_TRUE(f.InputKeyDown(VK_RETURN)); }, mrOk},
        {"Escape", [](TDialogForm& f) { EXPECT_TRUE(f.InputKeyDown(VK_ESCAPE)); }, mrCancel},
        {"close box", [](TDialogForm& f) { f.Close(); }, mrCancel},
        {"ModalResult", [](TDialogForm& f) { f.SetModalResult(mrYes); }, mrYes},
        {"Enter on focused Cancel",
         [](TDialogForm& f) {
             f.CancelBtn->SetFocus();
             f.InputKeyDown(VK_RETURN);
         },
         mrCancel},
    };
    for (auto& way : ways) {
        form.log.clear();
        int calls = 0;
        TModalResponderScope responder([&](TModalRequest& r) {
            ++calls;
            ASSERT_EQ(r.Kind, mkForm);
            ASSERT_EQ(r.Form, &form);
            EXPECT_TRUE(form.GetVisible());
            EXPECT_TRUE(form.FormState().Contains(fsModal));
            way.act(form);
        });
        EXPECT_EQ(form.ShowModal(), way.expected) << way.name;
        EXPECT_EQ(calls, 1) << way.name;
        EXPECT_EQ(form.log, (Log{"close " + std::to_string(way.expected)})) << way.name;
        EXPECT_FALSE(form.GetVisible());
        EXPECT_FALSE(form.FormState().Contains(fsModal));
    }
    // The first control in tab order has the focus when the form shows.
    TModalResponderScope responder([&](TModalRequest& r) {
        EXPECT_EQ(FindFocusedControl(), form.NormalCaptionEdit);
        r.Form->SetModalResult(mrOk);
    });
    form.SetActiveControl(nullptr);
    form.ShowModal();
}

TEST(Forms, ShowModalFailsLoudlyWithoutAnAnswerAndRespectsOnClose) {
    TDialogForm form(nullptr);
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
    EXPECT_FALSE(form.GetVisible());
    {
        TModalResponderScope idle([](TModalRequest&) {});
        try {
            form.ShowModal();
            FAIL();
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message(), "The modal responder did not end form TDialogForm");
        }
        EXPECT_FALSE(form.GetVisible());
    }
    {
        // OnClose refuses once: the user gets the form again (Round 1).
        form.refuseClose = true;
        std::vector<int> rounds;
        TModalResponderScope responder([&](TModalRequest& r) {
            rounds.push_back(r.Round);
            form.OKBtn->Click();
        });
        EXPECT_EQ(form.ShowModal(), mrOk);
        EXPECT_EQ(rounds, (std::vector<int>{0, 1}));
    }
    {
        TModalResponderScope raising([](TModalRequest&) { throw Exception("user gone"); });
        EXPECT_THROW(form.ShowModal(), Exception);
        EXPECT_FALSE(form.GetVisible());
        EXPECT_FALSE(form.FormState().Contains(fsModal));
    }
    form.Show();
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
    form.Hide();
}

TEST(Forms, RadioGroupRaisesOnClickWhenItsSelectionChanges) {
    TDialogForm form(nullptr);
    EXPECT_EQ(form.log, (Log{"create"})); // reading ItemIndex raised nothing
    form.log.clear();
    form.KeyTypeRadioGroup->SetItemIndex(5);
    form.KeyTypeRadioGroup->SetItemIndex(5);
    form.KeyTypeRadioGroup->ClickItem(14);
    form.KeyTypeRadioGroup->ClickItem(14); // a user's click on the selected item
    form.KeyTypeRadioGroup->SetItemIndex(-1);
    form.KeyTypeRadioGroup->SetItemIndex(99);
    form.KeyTypeRadioGroup->ClickItem(19);
    EXPECT_EQ(form.log, (Log{"type 5", "type 14", "type 14", "type 18"}));
    EXPECT_EQ(form.KeyTypeRadioGroup->GetItemIndex(), 18);
    // A handler that raises leaves the new selection in place.
    form.KeyTypeRadioGroup->OnClick = [](TObject*) { throw Exception("no"); };
    EXPECT_THROW(form.KeyTypeRadioGroup->SetItemIndex(3), Exception);
    EXPECT_EQ(form.KeyTypeRadioGroup->GetItemIndex(), 3);
}

TEST(Forms, NestedDialogsReachTheSameResponder) {
    TDialogForm form(nullptr);
    std::vector<TModalKind> kinds;
    TModalResponderScope responder([&](TModalRequest& r) {
        kinds.push_back(r.Kind);
        if (r.Kind == mkForm) {
            r.Form->FindComponent("FontBtn");
            As<TButton>(r.Form->FindComponent("FontBtn"))->Click();
            As<TButton>(r.Form->FindComponent("OKBtn"))->Click();
        } else if (r.Kind == mkFontDialog) {
            EXPECT_EQ(r.FontDialog->GetFont()->GetName(), "MS Sans Serif");
            r.FontDialog->GetFont()->SetName("Wingdings");
            r.Accept();
        }
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(kinds, (std::vector<TModalKind>{mkForm, mkFontDialog}));
    EXPECT_EQ(form.log, (Log{"create", "font Wingdings", "close 1"}));
}

TEST(Forms, DesignerFormAlignsItsPanelsAndRunsActionsFromButtonsAndMenus) {
    Log destroyed;
    {
        TDesignerForm form(nullptr);
        form.destroyLog = &destroyed;
        EXPECT_EQ(form.GetClientWidth(), 631);
        EXPECT_EQ(form.GetClientHeight(), 360);
        EXPECT_EQ(form.TopPanel->BoundsRect(), Bounds(0, 0, 631, 40));
        EXPECT_EQ(form.LayoutPanel->BoundsRect(), Bounds(0, 40, 631, 320));
        EXPECT_EQ(form.RightPanel->BoundsRect(), Bounds(549, 2, 80, 36));
        EXPECT_EQ(form.LayoutPanel->GetColor(), clWhite);
        EXPECT_EQ(form.OpenDialog->GetInitialDir(), "c:\\");
        EXPECT_EQ(form.SaveDialog->GetOptions(), (TOpenOptions{ofOverwritePrompt, ofHideReadOnly,
                                                               ofPathMustExist, ofEnableSizing}));
        // Controls show their action's caption.
        EXPECT_EQ(form.NewKeyBtn->GetCaption(), "&New Key");
        EXPECT_EQ(form.DeleteKey1->GetCaption(), "&Delete Key");
        EXPECT_EQ(form.NewKeyBtn->GetAction(), form.NewKeyAction);
        EXPECT_EQ(form.NewKeyAction->GetActionList(), form.ActionList);
        EXPECT_EQ(form.ActionList->ActionCount(), 4);
        EXPECT_EQ(form.DeleteKey1->GetParentMenu(), form.PopupMenu);
        // The glyph was read from Glyph.Data.
        EXPECT_EQ(form.ShiftLeftBtn->GetGlyph()->GetWidth(), 10);
        EXPECT_EQ(form.ShiftLeftBtn->GetGlyph()->TransparentColor(), clWhite);
        EXPECT_EQ(form.ShiftLeftBtn->GetGlyph()->GetPixel(1, 4), clBlack);

        form.NewKeyAction->SetCaption("&Add Key");
        EXPECT_EQ(form.NewKeyBtn->GetCaption(), "&Add Key");

        MouseClick(form.NewKeyBtn);
        MouseClick(form.NewKeyBtn);
        MouseClick(form.ShiftLeftBtn);
        EXPECT_EQ(form.log,
                  (Log{"new from NewKeyBtn", "new from NewKeyBtn", "shift from ShiftLeftBtn"}));
        EXPECT_EQ(form.NewKeyAction->GetActionComponent(), nullptr);
        ASSERT_EQ(form.keys.size(), 2u);

        // Right press on the second key, choose Delete Key.
        form.log.clear();
        TSpeedButton* second = form.keys[1];
        TModalResponderScope responder([&](TModalRequest& r) {
            ASSERT_EQ(r.Kind, mkPopupMenu);
            EXPECT_EQ(r.Menu, form.PopupMenu);
            EXPECT_EQ(r.Menu->GetPopupComponent(), second);
            r.Choose(r.Menu->GetItems()->Items(0));
        });
        MouseClick(second, mbRight);
        EXPECT_EQ(form.log, (Log{"delete 40"}));
        EXPECT_EQ(form.keys.size(), 1u);
        EXPECT_EQ(form.PopupMenu->GetPopupComponent(), nullptr);
        EXPECT_EQ(form.DeleteKeyAction->GetActionComponent(), nullptr);

        // A disabled action does nothing, and its controls show it.
        form.NewKeyAction->SetEnabled(false);
        EXPECT_FALSE(form.NewKeyBtn->GetEnabled());
        form.NewKeyBtn->Click();
        EXPECT_EQ(form.keys.size(), 1u);
    }
    EXPECT_EQ(destroyed, (Log{"destroy with 1 keys"}));
}

TEST(Forms, FileDialogsAndPromptsGoThroughTheResponder) {
    TDesignerForm form(nullptr);
    const testsupport::TempDir dir;
    const std::string path = dir.Path("vcl_dialog_test");
    std::vector<std::string> seen;
    int fileRounds = 0;
    TModalResponderScope responder([&](TModalRequest& r) {
        if (r.Kind == mkSaveDialog) {
            EXPECT_EQ(r.FileDialog->GetTitle(), "Save Keyboard Layout");
            EXPECT_EQ(r.Round, fileRounds++);
            if (r.Round < 2) {
                r.FileDialog->SetFileName(path);
                r.Accept();
            } else {
                r.Cancel();
            }
        } else if (r.Kind == mkMessage) {
            seen.push_back(r.Message);
            EXPECT_EQ(r.DlgType, mtWarning);
            EXPECT_EQ(r.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
            r.Answer(mrNo);
        }
    });
    form.SaveLayoutAction->Execute();
    EXPECT_EQ(form.log, (Log{"save " + path + ".kly"}));
    EXPECT_TRUE(seen.empty());
    // Now the file exists: each confirmed name brings the overwrite prompt, No returns to the
    // dialog, which is cancelled the third time.
    std::FILE* f = std::fopen((path + ".kly").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    form.log.clear();
    fileRounds = 0;
    form.SaveLayoutAction->Execute();
    EXPECT_TRUE(form.log.empty());
    AnsiString prompt = path + ".kly already exists.\nDo you want to replace it?";
    EXPECT_EQ(seen, (Log{prompt, prompt}));
}

TEST(Forms, OpenDialogRefusesImpossibleAnswersAndMessagesCheckTheirButtons) {
    TDesignerForm form(nullptr);
    TModalResponderScope responder([&](TModalRequest& r) {
        if (r.Kind == mkOpenDialog) {
            r.FileDialog->SetFileName("/nonexistent/folder/x.kly");
            r.Accept();
        } else if (r.Kind == mkMessage) {
            r.Answer(r.Message == "Proceed?" ? mrYes : mrOk);
        }
    });
    EXPECT_THROW(form.OpenDialog->Execute(), EInvalidOperation);
    EXPECT_EQ(MessageDlg("Proceed?", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
    try {
        MessageDlg("Other", mtConfirmation, {mbYes, mbNo}, 0);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(),
                  "The modal responder answered 1, which is not a button of message 'Other'");
    }
    SetModalResponder(nullptr);
    EXPECT_THROW(MessageDlg("x", mtInformation, {mbOK}, 0), EInvalidOperation);
}

TEST(Forms, AFormWrittenToAStreamReadsBackTheSame) {
    TDesignerForm original(nullptr);
    original.LayoutPanel->SetColor(clYellow);
    original.SaveDialog->SetFileName("last.kly");
    TMemoryStream stream;
    WriteComponent(&stream, &original);

    TDesignerForm copy(nullptr, false);
    stream.SetPosition(0);
    ReadComponent(&stream, &copy);
    ASSERT_NE(copy.LayoutPanel, nullptr);
    EXPECT_EQ(copy.LayoutPanel->GetColor(), clYellow);
    EXPECT_EQ(copy.LayoutPanel->BoundsRect(), Bounds(0, 40, 631, 320));
    EXPECT_EQ(copy.RightPanel->BoundsRect(), Bounds(549, 2, 80, 36));
    EXPECT_EQ(copy.GetWidth(), 639);
    EXPECT_EQ(copy.SaveDialog->GetFileName(), "last.kly");
    EXPECT_EQ(copy.SaveDialog->GetOptions(), original.SaveDialog->GetOptions());
    EXPECT_EQ(copy.ShiftLeftBtn->GetGlyph()->FileBytes(),
              original.ShiftLeftBtn->GetGlyph()->FileBytes());
    EXPECT_EQ(copy.NewKeyBtn->GetCaption(), "&New Key");
    EXPECT_EQ(copy.DeleteKey1->GetAction(), copy.DeleteKeyAction);
    EXPECT_EQ(copy.NewKeyBtn->GetTabOrder(), 0);
    EXPECT_EQ(copy.RightPanel->GetTabOrder(), 2);
    EXPECT_EQ(copy.GetPixelsPerInch(), 96);
    EXPECT_EQ(copy.OnDestroy.MethodName(), "FormDestroy");

    // Written again, the copy gives the same bytes.
    TMemoryStream again;
    WriteComponent(&again, &copy);
    EXPECT_EQ(again.Bytes(), stream.Bytes());
}

TEST(Forms, MenuShortcutsComeBeforeKeyPreviewAndTheFocusedControl) {
    const std::string text = "object MenuForm: TForm\n"
                             "  ClientHeight = 200\n"
                             "  ClientWidth = 300\n"
                             "  KeyPreview = True\n"
                             "  Menu = MainMenu\n"
                             "  object Edit: TEdit\n"
                             "    TabOrder = 0\n"
                             "  end\n"
                             "  object MainMenu: TMainMenu\n"
                             "    object FileItem: TMenuItem\n"
                             "      Caption = '&File'\n"
                             "      object SaveItem: TMenuItem\n"
                             "        Caption = '&Save'\n"
                             "        ShortCut = 16467\n" // Ctrl+S
                             "      end\n"
                             "      object HiddenItem: TMenuItem\n"
                             "        Caption = 'Hidden'\n"
                             "        ShortCut = 113\n" // F2
                             "        Visible = False\n"
                             "      end\n"
                             "    end\n"
                             "    object RunMenu: TMenuItem\n"
                             "      Caption = '&Run'\n"
                             "      Enabled = False\n"
                             "      object RunItem: TMenuItem\n"
                             "        Caption = 'Run'\n"
                             "        ShortCut = 120\n" // F9
                             "      end\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    TMemoryStream source, binary;
    source.WriteBuffer(text.data(), text.size());
    source.SetPosition(0);
    ObjectTextToBinary(&source, &binary);
    binary.SetPosition(0);
    TForm form(nullptr);
    ReadComponent(&binary, &form);
    ASSERT_NE(form.GetMenu(), nullptr);
    EXPECT_EQ(form.GetMenu()->GetName(), "MainMenu");
    // The menu bar lies outside the client area.
    EXPECT_EQ(form.GetClientHeight(), 200);
    EXPECT_EQ(form.GetHeight(), 200 + 27 + Widgetset()->MenuBarHeight());

    std::vector<std::string> log;
    for (const char* name : {"SaveItem", "HiddenItem", "RunItem"})
        static_cast<TMenuItem*>(form.FindComponent(name))->OnClick = [&log, name](TObject*) {
            log.push_back(name);
        };
    auto* edit = static_cast<TEdit*>(form.FindComponent("Edit"));
    form.OnKeyDown = [&log](TObject*, Word& Key, TShiftState) {
        log.push_back("form " + std::to_string(Key));
        if (Key == 'X') Key = 0;
    };
    edit->OnKeyDown = [&log](TObject*, Word& Key, TShiftState) {
        log.push_back("edit " + std::to_string(Key));
    };
    form.Show();
    edit->SetFocus();
    const struct {
        Word Key;
        TShiftState Shift;
        bool Used;
        std::vector<std::string> Log;
    } cases[] = {
        {'S', {ssCtrl}, true, {"SaveItem"}},
        {'S', {}, false, {"form 83", "edit 83"}},
        {VK_F1 + 1, {}, false, {"form 113", "edit 113"}}, // hidden item
        {VK_F1 + 8, {}, false, {"form 120", "edit 120"}}, // item of a disabled menu
        {'X', {}, true, {"form 88"}},                     // swallowed by the form's preview
    };
    for (const auto& c : cases) {
        log.clear();
        EXPECT_EQ(form.InputKeyDown(c.Key, c.Shift), c.Used) << c.Key;
        EXPECT_EQ(log, c.Log) << c.Key;
    }

    TMemoryStream written, written_text;
    WriteComponent(&written, &form);
    written.SetPosition(0);
    ObjectBinaryToText(&written, &written_text);
    const std::string out(reinterpret_cast<const char*>(written_text.Bytes().data()),
                          written_text.Bytes().size());
    EXPECT_NE(out.find("  Menu = MainMenu\n"), std::string::npos) << out;
    EXPECT_NE(out.find("        ShortCut = 16467\n"), std::string::npos) << out;

    delete form.GetMenu();
    EXPECT_EQ(form.GetMenu(), nullptr);
    EXPECT_EQ(form.GetClientHeight(), 200);
    EXPECT_EQ(form.GetHeight(), 227);
    form.Hide();
}

// A form with a main menu that stores its outer size: reading gives exactly that size, and saving
// and reading again any number of times changes no byte.
TEST(Forms, AFormWithAMainMenuKeepsItsStoredSizeOverSaves) {
    testsupport::SaveAndReopen(testsupport::MenuFormText, 3, [](TForm& form, int round) {
        EXPECT_EQ(form.GetHeight(), 200) << round;
        EXPECT_EQ(form.GetWidth(), 300) << round;
    });
}
