#pragma once
// Menus: TMenuItem, TMenu and TPopupMenu. A popup menu pops up through the widgetset (headless:
// the modal responder chooses the item); the chosen item is clicked after the popup returns, as
// a posted command would be, so that its handler may free the control that was right-clicked.

#include "vcl/ActnList.h"
#include "vcl/Controls.h"
#include "vcl/Types.h"

#include <vector>

namespace vcl {

class TMenu;
class TMenuItem;

class TMenuActionLink : public TBasicActionLink {
    VCL_DECLARE_CLASS(TMenuActionLink, TBasicActionLink)
public:
    explicit TMenuActionLink(TMenuItem* AClient);
    void Change() override;
};

class TMenuItem : public TComponent {
    VCL_DECLARE_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    // Frees the sub-items and leaves the parent item.
    ~TMenuItem() override;

    const AnsiString& GetCaption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    bool GetChecked() const { return checked_; }
    void SetChecked(bool Value);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    bool GetDefault() const { return default_; }
    void SetDefault(bool Value) { default_ = Value; }
    bool GetRadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value) { radioItem_ = Value; }
    bool GetAutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value) { groupIndex_ = Value; }
    // A key with modifiers (see ShortCut) that clicks the item from anywhere on its form.
    int GetShortCut() const { return shortCut_; }
    void SetShortCut(int Value);
    const AnsiString& GetHint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }
    TBasicAction* GetAction() const;
    void SetAction(TBasicAction* Value);
    bool IsActionLinked() const;

    // Sub-items.
    int GetCount() const { return static_cast<int>(items_.size()); }
    int Count() const { return GetCount(); }
    // A sub-item by index; EMenuError outside 0..Count-1.
    TMenuItem* GetItem(int Index) const;
    TMenuItem* Items(int Index) const { return GetItem(Index); }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // The first sub-item with this caption ("&" ignored), or null.
    TMenuItem* Find(const AnsiString& ACaption) const;
    TMenuItem* GetParent() const { return parent_; }
    int GetMenuIndex() const;
    // The menu this item belongs to, through its parent items; null when it belongs to none.
    TMenu* GetParentMenu() const;

    // What a user choosing the item does: OnClick, or the action when no OnClick is assigned.
    // A disabled item does nothing.
    virtual void Click();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    std::shared_ptr<const bool> LifeToken() const { return life_.Token(); }

    TNotifyEvent OnClick;

protected:
    friend class TMenuActionLink;
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);

private:
    friend class TMenu;
    // Tells the item's menu that what it shows changed.
    void changed();
    AnsiString caption_;
    AnsiString hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    int groupIndex_ = 0;
    int shortCut_ = 0;
    int imageIndex_ = -1;
    int helpContext_ = 0;
    std::unique_ptr<TMenuActionLink> actionLink_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on the root item of a menu
    TLifeFlag life_;
};

VCL_EXCEPTION(EMenuError, Exception)

class TMenu : public TComponent {
    VCL_DECLARE_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    // The root item; its sub-items are the menu's items.
    TMenuItem* GetItems() const { return items_; }
    TMenuItem* Items() const { return items_; }
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    // Clicks the visible, enabled item (under visible, enabled parents) whose ShortCut is the
    // key with these modifiers; false when there is none.
    bool IsShortCut(Word Key, TShiftState Shift);
    // An item's caption, state, shortcut or sub-items changed.
    virtual void MenuChanged() {}

private:
    TMenuItem* items_;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
extern const TEnumInfo TPopupAlignmentInfo;

class TPopupMenu : public TMenu {
    VCL_DECLARE_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
    ~TPopupMenu() override;

    // Pops the menu up at a screen position: OnPopup, then the widgetset (headless: the modal
    // responder, mkPopupMenu). The chosen item is clicked once the current input is handled.
    virtual void Popup(int X, int Y);
    // The control (or other component) the menu was last popped up for; null when that one was
    // freed.
    TComponent* GetPopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value);
    TPoint GetPopupPoint() const { return popupPoint_; }
    bool GetAutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }
    TPopupAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnPopup;

private:
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
};

// The menu bar of a form (TCustomForm::Menu): the widgetset shows it above the form's client area
// and its items' shortcuts work wherever the input is on the form.
class TMainMenu : public TMenu {
    VCL_DECLARE_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
    // Tells the form that owns the menu and shows it.
    void MenuChanged() override;
};

// Modifier bits of a shortcut value; the low byte is the virtual key code.
enum : int { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
// The shortcut value of a key with modifiers: ShortCut('S', {ssCtrl}) is scCtrl | 'S'.
int ShortCut(Word Key, TShiftState Shift);

// "&Delete Key" -> "Delete Key" ("&&" stays one "&").
AnsiString StripHotkey(const AnsiString& Text);

} // namespace vcl
