#include "Classes.h"

#include "Filer.h"
#include "RTLConsts.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace vcl {

VCL_DEFINE_PLAIN_CLASS(TPersistent, TObject)

void TPersistent::Assign(TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError(FmtLoadStr(rtlconsts::SAssignError, {"nil", ClassName()}));
}

void TPersistent::AssignTo(TPersistent* Dest) {
    throw EConvertError(FmtLoadStr(rtlconsts::SAssignError,
                                   {ClassName(), Dest ? Dest->ClassName() : AnsiString("nil")}));
}

void TPersistent::DefineProperties(TFiler* Filer) {
    (void)Filer;
}

AnsiString TPersistent::GetNamePath() const {
    return ClassName();
}

VCL_DEFINE_CLASS(TComponent, TPersistent, c) {
    c.Str("Name", &TComponent::GetName, &TComponent::SetName).NotStored();
    c.Int("Tag", &TComponent::GetTag, &TComponent::SetTag).Default(0);
}

bool IsValidIdent(const AnsiString& ident) {
    if (ident.empty()) return false;
    auto alpha = [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_';
    };
    if (!alpha(ident[0])) return false;
    for (char ch : ident)
        if (!alpha(ch) && !(ch >= '0' && ch <= '9')) return false;
    return true;
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    SendFreeNotifications();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SendFreeNotifications() {
    // Each component told removes itself from the list in turn.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* instance = components_.back();
        if (instance->state_.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            remove(instance);
        delete instance;
    }
}

TComponent* TComponent::GetComponent(int Index) const {
    if (Index < 0 || Index >= GetComponentCount()) TList::Error(Index);
    return components_[static_cast<size_t>(Index)];
}

int TComponent::GetComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

namespace {

// An owner of many components finds one by name through an index of their names, made at its
// first search and kept up to date until it owns few again, so that naming the components of
// a large form costs time in proportion to their number. The names are keyed as SameText
// compares them (ASCII letters in upper case).
using NameIndex = std::unordered_multimap<AnsiString, TComponent*>;
constexpr size_t kIndexedOwner = 64;

struct NameIndexes {
    std::mutex Lock;
    std::unordered_map<const TComponent*, NameIndex> Owners;
};

// Never freed: components freed while the program exits still look here.
NameIndexes& nameIndexes() {
    static auto* indexes = new NameIndexes;
    return *indexes;
}

AnsiString nameKey(AnsiString Name) {
    for (char& ch : Name)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    return Name;
}

void unindex(NameIndex& Index, const AnsiString& Name, const TComponent* Component) {
    auto range = Index.equal_range(nameKey(Name));
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == Component) {
            Index.erase(it);
            return;
        }
    }
}

// Components usually leave their owner in the reverse order of their arrival, so the search
// starts at the end.
void eraseLast(std::vector<TComponent*>& list, TComponent* c) {
    auto it = std::find(list.rbegin(), list.rend(), c);
    if (it != list.rend()) list.erase(std::next(it).base());
}

} // namespace

void TComponent::insert(TComponent* c) {
    components_.push_back(c);
    if (components_.size() >= kIndexedOwner && !c->name_.empty()) {
        NameIndexes& indexes = nameIndexes();
        std::lock_guard<std::mutex> hold(indexes.Lock);
        auto it = indexes.Owners.find(this);
        if (it != indexes.Owners.end()) it->second.emplace(nameKey(c->name_), c);
    }
    if (!ownedHearSiblings_ && c->mayBeQuiet()) c->hearsSiblings_ = false;
    if (c->hearsSiblings_) listeners_.push_back(c);
    c->owner_ = this;
    hearSiblings(); // an owner passes notifications on to what it owns
}

void TComponent::remove(TComponent* c) {
    ++removals_;
    eraseLast(components_, c);
    if (components_.size() + 1 >= kIndexedOwner) {
        NameIndexes& indexes = nameIndexes();
        std::lock_guard<std::mutex> hold(indexes.Lock);
        auto it = indexes.Owners.find(this);
        if (it != indexes.Owners.end()) {
            if (components_.size() < kIndexedOwner)
                indexes.Owners.erase(it);
            else if (!c->name_.empty())
                unindex(it->second, c->name_, c);
        }
    }
    if (c->hearsSiblings_) eraseLast(listeners_, c);
    c->owner_ = nullptr;
}

void TComponent::SetSiblingNotifications(bool Value) {
    if (Value) {
        hearSiblings();
    } else if (hearsSiblings_ && mayBeQuiet()) {
        hearsSiblings_ = false;
        if (owner_) eraseLast(owner_->listeners_, this);
    }
}

void TComponent::hearSiblings() {
    if (hearsSiblings_) return;
    hearsSiblings_ = true;
    if (!owner_) return;
    // Placed among the listeners after those that come before it in the owner's list.
    size_t before = 0;
    for (TComponent* c : owner_->components_) {
        if (c == this) break;
        if (c->hearsSiblings_) ++before;
    }
    auto& list = owner_->listeners_;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(before), this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent) return;
    if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
    ValidateInsert(AComponent);
    ValidateRename(AComponent, AnsiString(), AComponent->name_);
    insert(AComponent);
    if (state_.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ != this) return;
    Notification(AComponent, opRemove);
    remove(AComponent);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
    if (AName.empty()) return nullptr;
    if (components_.size() >= kIndexedOwner) {
        NameIndexes& indexes = nameIndexes();
        std::lock_guard<std::mutex> hold(indexes.Lock);
        auto [it, made] = indexes.Owners.try_emplace(this);
        if (made)
            for (TComponent* c : components_)
                if (!c->name_.empty()) it->second.emplace(nameKey(c->name_), c);
        auto range = it->second.equal_range(nameKey(AName));
        if (range.first == range.second) return nullptr;
        // Of equal names (which only a rename that skipped the check gives), the first in the
        // list is found, as below.
        if (std::next(range.first) == range.second) return range.first->second;
    }
    for (TComponent* c : components_)
        if (SameText(c->name_, AName)) return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName) {
    if (AComponent && !SameText(CurName, NewName) && !NewName.empty()) {
        TComponent* existing = FindComponent(NewName);
        if (existing && existing != AComponent)
            throw EComponentError(FmtLoadStr(rtlconsts::SDuplicateName, {NewName}));
    }
}

void TComponent::ChangeName(const AnsiString& NewName) {
    if (owner_ && owner_->components_.size() >= kIndexedOwner) {
        NameIndexes& indexes = nameIndexes();
        std::lock_guard<std::mutex> hold(indexes.Lock);
        auto it = indexes.Owners.find(owner_);
        if (it != indexes.Owners.end()) {
            if (!name_.empty()) unindex(it->second, name_, this);
            if (!NewName.empty()) it->second.emplace(nameKey(NewName), this);
        }
    }
    name_ = NewName;
}

void TComponent::SetName(const AnsiString& NewName) {
    if (name_ == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(FmtLoadStr(rtlconsts::SInvalidName, {NewName}));
    if (owner_)
        owner_->ValidateRename(this, name_, NewName);
    else
        ValidateRename(nullptr, name_, NewName);
    ChangeName(NewName);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    if (Value)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* c : components_)
            c->SetDesigning(Value);
}

void TComponent::SetLoadingState(bool loading) {
    if (loading)
        state_.Include(csLoading);
    else
        state_.Exclude(csLoading);
}

void TComponent::SetReadingState(bool reading) {
    if (reading)
        state_.Include(csReading);
    else
        state_.Exclude(csReading);
}

void TComponent::SetWritingState(bool writing) {
    if (writing)
        state_.Include(csWriting);
    else
        state_.Exclude(csWriting);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (!owner_ || AComponent->owner_ != owner_) {
        if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) ==
            freeNotifies_.end()) {
            freeNotifies_.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    // A sibling's removal is how it learns that this one goes.
    AComponent->askedFreeNotification_ = true;
    AComponent->hearSiblings();
    state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent);
    if (it == freeNotifies_.end()) return;
    freeNotifies_.erase(it);
    AComponent->RemoveFreeNotification(this);
}

void TComponent::Loaded() {
    state_.Exclude(csLoading);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Owned components hear about their siblings; iterate over a copy since handlers may free.
    // Whether one is still owned needs checking only once a handler removed some component, so
    // a notification costs one pass over the components that listen.
    std::vector<TComponent*> owned = listeners_;
    const uint64_t removals = removals_;
    for (TComponent* c : owned)
        if (c != AComponent &&
            (removals_ == removals ||
             std::find(components_.begin(), components_.end(), c) != components_.end()))
            c->Notification(AComponent, Operation);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    (void)Proc;
    (void)Root;
}

void TComponent::SetParentComponent(TComponent* Value) {
    (void)Value;
}

// A non-visual component keeps its design-time position in DesignInfo: the low word is Left, the
// high word Top, streamed as the properties Left and Top.
void TComponent::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    const bool hasData = designInfo_ != 0;
    auto word = [this](int shift) {
        return static_cast<int16_t>((static_cast<uint32_t>(designInfo_) >> shift) & 0xFFFF);
    };
    auto setWord = [this](int shift, int32_t v) {
        uint32_t d = static_cast<uint32_t>(designInfo_) & ~(0xFFFFu << shift);
        designInfo_ = static_cast<int32_t>(d | ((static_cast<uint32_t>(v) & 0xFFFF) << shift));
    };
    Filer->DefineProperty(
        "Left", [setWord](TReader* r) { setWord(0, r->ReadInteger()); },
        [word](TWriter* w) { w->WriteInteger(word(0)); }, hasData);
    Filer->DefineProperty(
        "Top", [setWord](TReader* r) { setWord(16, r->ReadInteger()); },
        [word](TWriter* w) { w->WriteInteger(word(16)); }, hasData);
}

} // namespace vcl
