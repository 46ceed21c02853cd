#pragma once
// Actions: commands that buttons and menu items share. A control or menu item whose Action is set
// shows the action's caption (and its enabled, visible, hint and checked state) and executes it
// when clicked; during execution the action's ActionComponent is the control or item that
// executed it.

#include "rtl/Classes.h"
#include "vcl/Types.h"

#include <vector>

namespace vcl {

class TBasicAction;
class TCustomActionList;

// Connects one client (a control or a menu item) to its action.
class TBasicActionLink : public TObject {
    VCL_DECLARE_CLASS(TBasicActionLink, TObject)
public:
    explicit TBasicActionLink(TComponent* AClient) : client_(AClient) {}
    ~TBasicActionLink() override;
    TBasicAction* GetAction() const { return action_; }
    void SetAction(TBasicAction* Value);
    TComponent* Client() const { return client_; }
    // Executes the action with AComponent as its ActionComponent; false when nothing handled it.
    virtual bool Execute(TComponent* AComponent);
    // The action's properties changed: the client takes them over.
    virtual void Change() {}

protected:
    TComponent* client_;
    TBasicAction* action_ = nullptr;
};

class TBasicAction : public TComponent {
    VCL_DECLARE_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Runs OnExecute; true when it was assigned.
    virtual bool Execute();
    // Runs OnUpdate; true when it was assigned.
    virtual bool Update();
    TComponent* GetActionComponent() const { return actionComponent_; }
    void SetActionComponent(TComponent* Value);
    int ClientCount() const { return static_cast<int>(clients_.size()); }
    TBasicActionLink* Client(int Index) const { return clients_.at(static_cast<size_t>(Index)); }
    // Tells every client that the action's properties changed.
    void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    std::shared_ptr<const bool> LifeToken() const { return life_.Token(); }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    TNotifyEvent OnChange;

private:
    friend class TBasicActionLink;
    std::vector<TBasicActionLink*> clients_;
    TComponent* actionComponent_ = nullptr;
    TLifeFlag life_;
};

// An action that lives in an action list (its parent component in a form stream).
class TContainedAction : public TBasicAction {
    VCL_DECLARE_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TContainedAction() override;
    // First the list's OnExecute, then the action's own OnExecute.
    bool Execute() override;
    TCustomActionList* GetActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* Value);
    int GetIndex() const;
    void SetIndex(int Value);
    const AnsiString& GetCategory() const { return category_; }
    void SetCategory(const AnsiString& Value) { category_ = Value; }

    bool HasParent() const override { return actionList_ != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* AParent) override;

private:
    friend class TCustomActionList;
    TCustomActionList* actionList_ = nullptr;
    AnsiString category_;
};

class TCustomAction : public TContainedAction {
    VCL_DECLARE_CLASS(TCustomAction, TContainedAction)
public:
    explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}
    // A disabled action does not execute.
    bool Execute() override;

    const AnsiString& GetCaption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    bool GetChecked() const { return checked_; }
    void SetChecked(bool Value);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    const AnsiString& GetHint() const { return hint_; }
    void SetHint(const AnsiString& Value);
    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int GetShortCut() const { return shortCut_; }
    void SetShortCut(int Value);
    bool GetAutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value) { groupIndex_ = Value; }

private:
    AnsiString caption_;
    AnsiString hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool autoCheck_ = false;
    int helpContext_ = 0;
    int imageIndex_ = -1;
    int shortCut_ = 0;
    int groupIndex_ = 0;
};

class TAction : public TCustomAction {
    VCL_DECLARE_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

using TActionEvent = TEvent<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
    VCL_DECLARE_CLASS(TCustomActionList, TComponent)
public:
    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* GetAction(int Index) const;
    TContainedAction* Actions(int Index) const { return GetAction(Index); }
    // Runs OnExecute; true when it handled the action.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    // Asks every action to update its state (OnUpdate).
    void UpdateActions();

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

private:
    friend class TContainedAction;
    void addAction(TContainedAction* Action);
    void removeAction(TContainedAction* Action);
    std::vector<TContainedAction*> actions_;
};

class TActionList : public TCustomActionList {
    VCL_DECLARE_CLASS(TActionList, TCustomActionList)
public:
    explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

} // namespace vcl
