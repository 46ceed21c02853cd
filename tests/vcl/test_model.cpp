// The widgetset contract, free notification, the standard controls' own behaviour and the
// published metadata.

#include "vcl/ActnList.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vcl;

namespace {

using Log = std::vector<std::string>;

// A widgetset whose peers write down what the model tells them.
struct TRecordingWidgetset : TWidgetset {
    Log log;
    int peers = 0;
    struct TPeer : TWinControlPeer {
        TRecordingWidgetset* ws;
        TPeer(TWinControl* c, TRecordingWidgetset* w) : TWinControlPeer(c), ws(w) {
            ++ws->peers;
            note("create");
        }
        ~TPeer() override {
            --ws->peers;
            note("destroy");
        }
        void note(const std::string& what) { ws->log.push_back(Control()->GetName() + " " + what); }
        void BoundsChanged() override { note("bounds"); }
        void TextChanged() override { note("text " + Control()->GetText()); }
        void VisibleChanged() override { note(Control()->GetVisible() ? "shown" : "hidden"); }
        void Changed(TPeerChange what) override { note("changed " + std::to_string(what)); }
        void InvalidateControl(TControl* child) override { note("paint " + child->GetName()); }
        void ControlRemoved(TControl* child) override { note("removed " + child->GetName()); }
        void DefaultHandler(TMessage& m) override {
            note("message " + std::to_string(m.Msg) + " " + std::to_string(m.WParam));
            m.Result = 42;
        }
    };
    const char* Name() const override { return "recording"; }
    bool IsHeadless() const override { return false; }
    std::unique_ptr<TWinControlPeer> CreatePeer(TWinControl* c) override {
        return std::make_unique<TPeer>(c, this);
    }
};

struct TWidgetsetScope {
    TRecordingWidgetset ws;
    TWidgetset* previous;
    TWidgetsetScope() : previous(InstallWidgetset(&ws)) {}
    ~TWidgetsetScope() { InstallWidgetset(previous); }
};

} // namespace

TEST(Model, PeersAreCreatedWhenShownToldOfChangesAndGetKeyMessages) {
    TWidgetsetScope scope;
    auto& log = scope.ws.log;
    {
        TForm form(nullptr);
        form.SetName("Form");
        auto* panel = new TPanel(&form);
        panel->SetName("Panel");
        panel->SetParent(&form);
        auto* edit = new TEdit(&form);
        edit->SetName("Edit");
        edit->SetParent(panel);
        auto* button = new TSpeedButton(&form);
        button->SetName("Key");
        button->SetParent(panel);
        EXPECT_FALSE(edit->HandleAllocated());
        EXPECT_EQ(edit->Perform(WM_CHAR, 'a', 0), 0); // no peer: nothing happens

        form.Show();
        // A peer whose control has windowed children hears once they have their peers, so
        // that it can show its native window filled.
        EXPECT_EQ(log, (Log{"Form create", "Panel create", "Edit create", "Panel shown",
                            "Form shown"}));
        log.clear();
        EXPECT_EQ(edit->Perform(WM_CHAR, 'a', 0), 42);
        edit->Perform(WM_KEYDOWN, VK_HOME, 0);
        edit->SetText("xy");
        edit->PeerTextChanged("typed"); // not echoed back
        EXPECT_EQ(edit->GetText(), "typed");
        button->SetCaption("A");
        panel->SetBevelOuter(bvNone);
        edit->SetVisible(false);
        EXPECT_EQ(log, (Log{"Edit message 258 97", "Edit message 256 36", "Edit text xy",
                            "Panel paint Key", "Panel changed 2", "Edit hidden"}));
        log.clear();
        delete button;
        delete panel;
        EXPECT_EQ(log, (Log{"Panel removed Key", "Edit destroy", "Panel destroy"}));
        log.clear();
    }
    EXPECT_EQ(log, (Log{"Form destroy"}));
    EXPECT_EQ(scope.ws.peers, 0);
}

TEST(Model, ReparentingMovesThePeersAlong) {
    TWidgetsetScope scope;
    TForm form(nullptr);
    form.Show();
    TPanel loose(nullptr);
    auto* edit = new TEdit(&loose);
    edit->SetParent(&loose);
    EXPECT_FALSE(edit->HandleAllocated());
    loose.SetParent(&form);
    EXPECT_TRUE(loose.HandleAllocated());
    EXPECT_TRUE(edit->HandleAllocated());
    loose.SetParent(nullptr);
    EXPECT_FALSE(edit->HandleAllocated());
    loose.HandleNeeded(); // a widgetset bridge may give any control a window of its own
    EXPECT_TRUE(edit->HandleAllocated());
}

TEST(Model, FreeNotificationClearsEveryReferenceToAFreedComponent) {
    TForm owner(nullptr);
    auto* action = new TAction(nullptr); // another owner: told through free notification
    action->SetCaption("&Go");
    auto* button = new TButton(&owner);
    button->SetParent(&owner);
    button->SetAction(action);
    auto* item = new TMenuItem(&owner);
    item->SetAction(action);
    auto* label = new TLabel(&owner);
    auto* edit = new TEdit(nullptr);
    label->SetFocusControl(edit);
    EXPECT_EQ(button->GetCaption(), "&Go");
    EXPECT_EQ(item->GetCaption(), "&Go");
    EXPECT_EQ(action->ClientCount(), 2);
    delete action;
    EXPECT_EQ(button->GetAction(), nullptr);
    EXPECT_EQ(item->GetAction(), nullptr);
    EXPECT_EQ(button->GetCaption(), "&Go");
    button->Click(); // nothing to execute any more
    delete edit;
    EXPECT_EQ(label->GetFocusControl(), nullptr);

    // Within one owner the owner passes the notice on.
    auto* list = new TActionList(&owner);
    auto* sibling = new TAction(&owner);
    sibling->SetActionList(list);
    button->SetAction(sibling);
    auto* menu = new TPopupMenu(&owner);
    button->SetPopupMenu(menu);
    delete sibling;
    EXPECT_EQ(button->GetAction(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
    delete menu;
    EXPECT_EQ(button->GetPopupMenu(), nullptr);

    // The focused control and the form's active control.
    owner.Show();
    button->SetFocus();
    EXPECT_EQ(owner.GetActiveControl(), button);
    delete button;
    EXPECT_EQ(owner.GetActiveControl(), nullptr);
    EXPECT_EQ(FindFocusedControl(), nullptr);
}

TEST(Model, ActionComponentIsTheExecutingControlOnlyWhileItRuns) {
    TForm form(nullptr);
    TActionList list(nullptr);
    auto* action = new TAction(&form);
    action->SetActionList(&list);
    std::vector<TComponent*> seen;
    action->OnExecute = [&](TObject* Sender) {
        seen.push_back(As<TAction>(Sender)->GetActionComponent());
    };
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetAction(action);
    auto* speed = new TSpeedButton(&form);
    speed->SetParent(&form);
    speed->SetLeft(100);
    speed->SetAction(action);
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    menu.GetItems()->Add(item);
    item->SetAction(action);
    button->Click();
    MouseClick(speed);
    item->Click();
    EXPECT_EQ(seen, (std::vector<TComponent*>{button, speed, item}));
    EXPECT_EQ(action->GetActionComponent(), nullptr);
    // The list may handle the action itself.
    list.OnExecute = [&](TBasicAction* a, bool& handled) {
        EXPECT_EQ(a, action);
        handled = true;
    };
    button->Click();
    EXPECT_EQ(seen.size(), 3u);
    // An OnClick of the control's own runs instead of the action.
    list.OnExecute = nullptr;
    int own = 0;
    button->OnClick = [&](TObject*) { ++own; };
    button->Click();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(seen.size(), 3u);
    // A handler that raises leaves no ActionComponent behind.
    action->OnExecute = [](TObject*) { throw Exception("failed"); };
    EXPECT_THROW(item->Click(), Exception);
    EXPECT_EQ(action->GetActionComponent(), nullptr);
}

TEST(Model, EditAndComboBoxKeepTheirStateAndRaiseTheirEvents) {
    TEdit edit(nullptr);
    Log log;
    edit.OnChange = [&](TObject*) { log.push_back("change " + edit.GetText()); };
    edit.SetText("abc");
    edit.SetText("abc");
    edit.SetCharCase(ecUpperCase);
    edit.SetText("xyz");
    EXPECT_EQ(log, (Log{"change abc", "change ABC", "change XYZ"}));
    edit.SetSelStart(1);
    edit.SetSelLength(5);
    EXPECT_EQ(edit.GetSelText(), "YZ");
    edit.SetText("Q");
    EXPECT_EQ(edit.GetSelStart(), 1);
    EXPECT_EQ(edit.GetSelLength(), 0);

    TComboBox combo(nullptr);
    log.clear();
    combo.OnChange = [&](TObject*) { log.push_back("change " + combo.GetText()); };
    combo.OnClick = [&](TObject*) {
        log.push_back("click " + std::to_string(combo.GetItemIndex()));
    };
    combo.SetStyle(csDropDownList);
    combo.GetItems()->Add("1/2");
    combo.GetItems()->Add("1");
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.GetText(), "1");
    EXPECT_TRUE(log.empty()); // selection by code raises nothing
    combo.SelectItem(0);
    EXPECT_EQ(log, (Log{"click 0", "change 1/2"}));
    combo.SetItemIndex(7);
    EXPECT_EQ(combo.GetItemIndex(), -1);
    EXPECT_EQ(combo.GetText(), "");
    combo.SetItemIndex(1);
    combo.GetItems()->Delete(1);
    EXPECT_EQ(combo.GetItemIndex(), -1);

    // A sorted box sorts what it holds and what is added later, keeping the selection.
    combo.GetItems()->Add("0");
    combo.SetItemIndex(0);
    combo.SetSorted(true);
    combo.GetItems()->Add("00");
    EXPECT_EQ(combo.GetItems()->GetCommaText(), "0,00,1/2");
    EXPECT_EQ(combo.GetText(), "1/2");
    combo.GetItems()->Clear();
    EXPECT_EQ(combo.GetItemIndex(), -1);
}

TEST(Model, ApplicationHandlesExceptionsOfHandlers) {
    Log log;
    TModalResponderScope responder([&](TModalRequest& r) {
        log.push_back(r.Message);
        EXPECT_EQ(r.DlgType, mtError);
        r.Answer(mrOk);
    });
    try {
        throw EConvertError("Bad value");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    Application->OnException = [&](TObject*, const Exception& e) {
        log.push_back("handled " + e.Message());
    };
    try {
        throw Exception("Other");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    Application->OnException = nullptr;
    EXPECT_EQ(log, (Log{"Bad value.", "handled Other"}));

    // A released form goes at the next turn of the event loop.
    auto* form = new TForm(nullptr);
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->Release();
    EXPECT_FALSE(destroyed);
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
}

TEST(Model, BeepsAreCounted) {
    int before = BeepCount();
    Beep();
    Beep();
    EXPECT_EQ(BeepCount(), before + 2);
}

TEST(Model, TheHintShownFollowsShowHintAndHintUpTheParents) {
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* button = new TSpeedButton(&form);
    button->SetParent(panel);
    panel->SetHint("Keys|The keys of the keyboard");
    EXPECT_EQ(HintOf(button), ""); // nothing asks for hints yet
    form.SetShowHint(true);
    EXPECT_TRUE(button->GetShowHint()); // taken from the parents
    EXPECT_EQ(HintOf(button), "Keys");  // a control without a hint shows its parent's, short
    button->SetHint("Shift");
    EXPECT_EQ(HintOf(button), "Shift");
    EXPECT_EQ(HintOf(&form), "");
    panel->SetParentShowHint(false); // keeps the value it had
    form.SetShowHint(false);
    EXPECT_TRUE(button->GetShowHint());
    panel->SetShowHint(false);
    EXPECT_EQ(HintOf(button), "");
    EXPECT_FALSE(GetPropInfo(button, "ShowHint")->IsStored(button));
    panel->SetShowHint(true);
    button->SetShowHint(false); // the control's own "no" holds
    EXPECT_EQ(HintOf(button), "");
    button->SetParentShowHint(true);
    form.SetDesigning(true);
    EXPECT_EQ(HintOf(button), ""); // no hints at design time
}

TEST(Model, PublishedPropertiesCarryTheClassicDefaultsAndStoringRules) {
    auto names = [](TClass cls) {
        std::vector<std::string> r;
        for (const TPropInfo* p : cls->GetProps())
            r.push_back(p->Name);
        return r;
    };
    // What every control publishes; a custom panel adds nothing, so that its descendants choose.
    std::vector<std::string> common{"Name",     "Tag",         "Left",       "Top",
                                    "Width",    "Height",      "Cursor",     "Hint",
                                    "HelpType", "HelpKeyword", "HelpContext"};
    EXPECT_EQ(names(TCustomPanel::StaticClass()), common);
    EXPECT_EQ(names(TCustomControl::StaticClass()), common);

    TPanel panel(nullptr);
    auto prop = [&](const char* name) { return GetPropInfo(&panel, name); };
    EXPECT_TRUE(prop("BevelOuter")->IsDefault(&panel));
    panel.SetBevelOuter(bvNone);
    EXPECT_FALSE(prop("BevelOuter")->IsDefault(&panel));
    EXPECT_TRUE(prop("Color")->IsDefault(&panel));
    EXPECT_EQ(prop("Color")->Idents, &ColorIdents);
    EXPECT_FALSE(prop("Font")->IsStored(&panel)); // taken from the parent (none yet)
    panel.GetFont()->SetSize(12);
    EXPECT_TRUE(prop("Font")->IsStored(&panel));

    TSpeedButton button(nullptr);
    TAction action(nullptr);
    action.SetCaption("x");
    EXPECT_TRUE(GetPropInfo(&button, "Caption")->IsStored(&button));
    button.SetAction(&action);
    EXPECT_FALSE(GetPropInfo(&button, "Caption")->IsStored(&button)); // the action's caption
    button.SetAction(nullptr);

    // Every class a form stream may name is registered.
    RegisterVclClasses();
    for (const char* name :
         {"TForm", "TPanel", "TShape", "TSpeedButton", "TLabel", "TEdit", "TButton", "TComboBox",
          "TGroupBox", "TRadioGroup", "TActionList", "TAction", "TPopupMenu", "TMenuItem",
          "TOpenDialog", "TSaveDialog", "TFontDialog"})
        EXPECT_NE(GetClass(name), nullptr) << name;
}
