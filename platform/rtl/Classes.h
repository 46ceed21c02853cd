#pragma once
// TPersistent and TComponent: assignable, streamable objects and the owner rule.

#include "Lists.h"
#include "TypInfo.h"

namespace vcl {

class TFiler;

class TPersistent : public TObject {
    VCL_DECLARE_CLASS(TPersistent, TObject)
public:
    // Copies Source into this object; a pair of classes that cannot be assigned raises
    // EConvertError "Cannot assign a %s to a %s".
    virtual void Assign(TPersistent* Source);
    // Declares properties that are stored in a form stream but not published
    // (TFiler::DefineProperty).
    virtual void DefineProperties(TFiler* Filer);
    // The object that owns this one, for naming nested properties; null by default.
    virtual TPersistent* GetOwner() const { return nullptr; }
    AnsiString GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* Dest);
};

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = Set<TComponentStateItem>;

class TComponent : public TPersistent {
    VCL_DECLARE_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner);
    // Notifies the components that asked for it (opRemove), frees every owned component, then
    // leaves the owner.
    ~TComponent() override;

    TComponent* GetOwner() const override { return owner_; }
    int GetComponentCount() const { return static_cast<int>(components_.size()); }
    int ComponentCount() const { return GetComponentCount(); }
    // Owned component by index; an index outside 0..count-1 raises EListError.
    TComponent* GetComponent(int Index) const;
    TComponent* Components(int Index) const { return GetComponent(Index); }
    int GetComponentIndex() const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Owned component by name, case-insensitively; null when there is none.
    TComponent* FindComponent(const AnsiString& AName) const;

    const AnsiString& GetName() const { return name_; }
    // A name must be empty or a valid identifier that no sibling (component with the same owner)
    // has; otherwise EComponentError.
    virtual void SetName(const AnsiString& NewName);
    long GetTag() const { return tag_; }
    void SetTag(long v) { tag_ = v; }

    const TComponentState& ComponentState() const { return state_; }
    void SetDesigning(bool Value, bool SetChildren = true);
    void Destroying();

    // Whether the components inserted into this one from now on hear when a sibling is inserted
    // or removed (on by default). An owner whose components refer to each other only through
    // FreeNotification may switch it off, so that creating and freeing many of them costs time
    // in proportion to their number (see SetSiblingNotifications).
    void SetOwnedSiblingNotifications(bool Value) { ownedHearSiblings_ = Value; }

    // Asks to be told (Notification with opRemove) when AComponent is destroyed; mutual.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called after the component was read from a form stream, once the whole stream was read.
    virtual void Loaded();
    // Told when a component is inserted into or removed from an owner's list (to the owner and its
    // owned components), and when a component that asked for free notification is destroyed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // The children written into this component's entry of a form stream, in order; none by
    // default (forms and windowed controls list theirs).
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);
    // The component that reads the children of this one (sets their parent).
    virtual void SetParentComponent(TComponent* Value);
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual bool HasParent() const { return false; }
    void DefineProperties(TFiler* Filer) override;

    // Bits the reader and the writer use while streaming.
    void SetLoadingState(bool loading);
    void SetReadingState(bool reading);
    void SetWritingState(bool writing);
    // Design-time position of a non-visual component (streamed as Left and Top).
    int32_t GetDesignInfo() const { return designInfo_; }
    void SetDesignInfo(int32_t v) { designInfo_ = v; }

protected:
    // Tells the components that asked for free notification that this one goes away. The
    // destructor does it; a derived destructor may do it earlier, while the whole object is
    // still intact.
    void SendFreeNotifications();
    // Validates and changes the name without notification.
    void ChangeName(const AnsiString& NewName);
    // Every owned component hears by default when a sibling is inserted or removed. One that
    // refers to no sibling except through FreeNotification may switch that off, so that creating
    // and freeing many siblings costs time in proportion to their number; it hears of them again
    // as soon as it asks for free notification or comes to own components itself.
    void SetSiblingNotifications(bool Value);
    virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName);
    virtual void ValidateInsert(TComponent* AComponent) { (void)AComponent; }

private:
    void insert(TComponent* c);
    void remove(TComponent* c);
    void hearSiblings();
    bool mayBeQuiet() const { return components_.empty() && !askedFreeNotification_; }

    TComponent* owner_ = nullptr;
    AnsiString name_;
    long tag_ = 0;
    int32_t designInfo_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    // The owned components that hear of their siblings, in the order of components_.
    std::vector<TComponent*> listeners_;
    bool hearsSiblings_ = true;
    bool ownedHearSiblings_ = true;
    bool askedFreeNotification_ = false;
    // Counts removals from components_, so that Notification knows when its copy went stale.
    uint64_t removals_ = 0;
    std::vector<TComponent*> freeNotifies_;
};

bool IsValidIdent(const AnsiString& ident);

} // namespace vcl
