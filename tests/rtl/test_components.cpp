#include "rtl/Classes.h"
#include "rtl/RTLConsts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

std::vector<std::string>* g_log = nullptr;

class TProbe : public TComponent {
    VCL_DECLARE_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
    ~TProbe() override {
        if (g_log) g_log->push_back("free " + GetName());
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (g_log)
            g_log->push_back(GetName() + (Operation == opInsert ? " +" : " -") +
                             AComponent->GetName());
        if (Operation == opRemove && AComponent == Watched) Watched = nullptr;
    }
    TComponent* Watched = nullptr;
    int Width = 10;
    bool Flag = true;
    AnsiString Text;
};

VCL_DEFINE_CLASS(TProbe, TComponent, c) {
    c.Int("Width", &TProbe::Width, &TProbe::Width).Default(10);
    c.Bool("Flag", &TProbe::Flag, &TProbe::Flag).Default(true);
    c.Str("Text", &TProbe::Text, &TProbe::Text);
}

class TOther : public TPersistent {
    VCL_DECLARE_CLASS(TOther, TPersistent)
};
VCL_DEFINE_PLAIN_CLASS(TOther, TPersistent)

} // namespace

TEST(Components, OwnerFreesOwnedLastFirstAndListsInOrder) {
    std::vector<std::string> log;
    g_log = &log;
    {
        TProbe owner(nullptr);
        owner.SetName("Owner");
        auto* a = new TProbe(&owner);
        a->SetName("A");
        auto* b = new TProbe(&owner);
        b->SetName("B");
        ASSERT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0), a);
        EXPECT_EQ(owner.FindComponent("b"), b);
        EXPECT_EQ(owner.FindComponent("c"), nullptr);
        EXPECT_EQ(b->GetComponentIndex(), 1);
        EXPECT_THROW(owner.Components(2), EListError);
        log.clear();
    }
    g_log = nullptr;
    std::vector<std::string> expected{"free Owner", "free B", "free A"};
    EXPECT_EQ(log, expected);
}

TEST(Components, RemoveComponentDetachesAndNotifies) {
    std::vector<std::string> log;
    g_log = &log;
    TProbe owner(nullptr);
    owner.SetName("Owner");
    TProbe* a = new TProbe(&owner);
    a->SetName("A");
    log.clear();
    owner.RemoveComponent(a);
    EXPECT_EQ(a->GetOwner(), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(log, std::vector<std::string>{"Owner -A"});
    owner.InsertComponent(a);
    EXPECT_EQ(a->GetOwner(), &owner);
    g_log = nullptr;
}

TEST(Components, NamesAreValidatedAndUniqueAmongSiblings) {
    TProbe owner(nullptr);
    auto* a = new TProbe(&owner);
    auto* b = new TProbe(&owner);
    a->SetName("Key1");
    try {
        b->SetName("KEY1");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named KEY1 already exists");
    }
    try {
        b->SetName("1Key");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "'1Key' is not a valid component name");
    }
    a->SetName("key1"); // renaming itself in another case is fine
    EXPECT_EQ(a->GetName(), "key1");
    b->SetName("");
    EXPECT_EQ(b->GetName(), "");
}

// An owner of many components finds them through an index of their names: it must follow
// renames, removals and new components, and the owner falling back to few.
TEST(Components, ManySiblingsFoundByNameThroughRenamesAndRemovals) {
    TProbe owner(nullptr);
    std::vector<TProbe*> probes;
    for (int i = 0; i < 100; ++i) {
        probes.push_back(new TProbe(&owner));
        probes.back()->SetName("Probe" + std::to_string(i));
    }
    EXPECT_EQ(owner.FindComponent("PROBE42"), probes[42]);
    EXPECT_EQ(owner.FindComponent("Probe100"), nullptr);
    probes[42]->SetName("Renamed");
    EXPECT_EQ(owner.FindComponent("probe42"), nullptr);
    EXPECT_EQ(owner.FindComponent("renamed"), probes[42]);
    try {
        probes[7]->SetName("RENAMED");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named RENAMED already exists");
    }
    probes[42]->SetName("renamed"); // another case of its own name
    auto* late = new TProbe(&owner);
    late->SetName("Late");
    EXPECT_EQ(owner.FindComponent("LATE"), late);
    delete probes[3];
    EXPECT_EQ(owner.FindComponent("Probe3"), nullptr);
    probes[4]->SetName("Probe3"); // the name of a freed component is free again
    EXPECT_EQ(owner.FindComponent("probe3"), probes[4]);
    TProbe other(nullptr);
    owner.RemoveComponent(probes[5]);
    other.InsertComponent(probes[5]);
    EXPECT_EQ(owner.FindComponent("Probe5"), nullptr);
    EXPECT_EQ(other.FindComponent("Probe5"), probes[5]);
    // Down to a few components, and up again: the names are found all the way.
    for (int i = 99; i >= 10; --i)
        if (i != 42) delete probes[i];
    EXPECT_EQ(owner.FindComponent("Probe9"), probes[9]);
    for (int i = 0; i < 80; ++i)
        (new TProbe(&owner))->SetName("Again" + std::to_string(i));
    EXPECT_EQ(owner.FindComponent("again79"), owner.GetComponent(owner.GetComponentCount() - 1));
    EXPECT_EQ(owner.FindComponent("Renamed"), probes[42]);
    EXPECT_EQ(owner.FindComponent("Probe6"), probes[6]);
}

TEST(Components, FreeNotificationClearsReferencesAcrossOwners) {
    TProbe watcher(nullptr);
    watcher.SetName("Watcher");
    TProbe form(nullptr);
    auto* target = new TProbe(&form);
    target->SetName("Target");
    watcher.Watched = target;
    target->FreeNotification(&watcher);
    delete target;
    EXPECT_EQ(watcher.Watched, nullptr);

    // Removed free notifications are not sent.
    auto* second = new TProbe(&form);
    watcher.Watched = second;
    second->FreeNotification(&watcher);
    second->RemoveFreeNotification(&watcher);
    delete second;
    EXPECT_NE(watcher.Watched, nullptr);
}

TEST(Components, SiblingsHearOfEachOthersDestruction) {
    TProbe form(nullptr);
    auto* watcher = new TProbe(&form);
    auto* target = new TProbe(&form);
    watcher->Watched = target;
    target->FreeNotification(watcher);
    delete target;
    EXPECT_EQ(watcher->Watched, nullptr);
}

// A component that switched sibling notifications off hears nothing of its siblings until it
// asks for free notification or owns components; the others hear in the owner's order.
TEST(Components, QuietSiblingsHearOnlyOnceLinked) {
    struct TQuiet : TProbe {
        explicit TQuiet(TComponent* AOwner) : TProbe(AOwner) { SetSiblingNotifications(false); }
    };
    std::vector<std::string> log;
    TProbe form(nullptr);
    form.SetName("F");
    auto make = [](TProbe* p, const char* name) {
        p->SetName(name);
        return p;
    };
    make(new TProbe(&form), "A");
    TProbe* q = make(new TQuiet(&form), "Q");
    TProbe* b = make(new TProbe(&form), "B");
    TProbe* p = make(new TQuiet(&form), "P");
    g_log = &log;
    make(new TProbe(&form), "C");
    EXPECT_EQ(log, (std::vector<std::string>{"A +", "B +", "F +"}));

    log.clear();
    q->Watched = b;
    b->FreeNotification(q);
    make(new TProbe(p), "Child"); // P passes notifications on to what it owns
    log.clear();
    delete b;
    EXPECT_EQ(q->Watched, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"free B", "A -B", "Q -B", "Child -B", "P -B", "C -B", "F -B"}));

    // An owner may make every component inserted from then on quiet; one that asked for free
    // notification stays heard when it moves there.
    TProbe quietForm(nullptr);
    quietForm.SetName("G");
    quietForm.SetOwnedSiblingNotifications(false);
    TProbe* x = make(new TProbe(&quietForm), "X");
    quietForm.InsertComponent(q);
    log.clear();
    make(new TProbe(&quietForm), "Y");
    delete x;
    EXPECT_EQ(log, (std::vector<std::string>{"Q +", "G +", "free X", "Q -X", "G -X"}));
    g_log = nullptr;
}

TEST(Components, WatcherDestroyedFirstLeavesNoDanglingNotification) {
    TProbe target(nullptr);
    {
        TProbe watcher(nullptr);
        watcher.Watched = &target;
        target.FreeNotification(&watcher);
    }
    SUCCEED(); // destroying target must not touch the freed watcher (ASan checks this)
}

TEST(Components, StateFlags) {
    TProbe c(nullptr);
    EXPECT_FALSE(c.ComponentState().Contains(csLoading));
    c.SetLoadingState(true);
    EXPECT_TRUE(c.ComponentState().Contains(csLoading));
    c.Loaded();
    EXPECT_FALSE(c.ComponentState().Contains(csLoading));
    auto* child = new TProbe(&c);
    c.SetDesigning(true);
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
}

TEST(ObjectModel, ClassInfoCastsAndAssign) {
    TProbe p(nullptr);
    TObject* o = &p;
    EXPECT_EQ(o->ClassName(), "TProbe");
    EXPECT_TRUE(o->InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(o->InheritsFrom(TOther::StaticClass()));
    EXPECT_EQ(As<TComponent>(o), &p);
    EXPECT_EQ(As<TProbe>(static_cast<TObject*>(nullptr)), nullptr);
    try {
        As<TOther>(o);
        FAIL();
    } catch (const EInvalidCast& e) {
        EXPECT_EQ(e.Message(), "Invalid class typecast");
    }
    TOther other;
    try {
        other.Assign(&p);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TOther");
    }
}

TEST(ObjectModel, PublishedPropertiesInOrderWithDefaults) {
    TClass cls = TProbe::StaticClass();
    auto props = cls->GetProps();
    std::vector<std::string> names;
    for (auto* p : props) names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Width", "Flag", "Text"}));
    TProbe p(nullptr);
    const TPropInfo* width = cls->FindProp("WIDTH");
    ASSERT_NE(width, nullptr);
    EXPECT_TRUE(width->IsDefault(&p));
    SetOrdProp(&p, width, 12);
    EXPECT_EQ(p.Width, 12);
    EXPECT_FALSE(width->IsDefault(&p));
    cls->FindProp("Text")->SetStr(&p, "hi");
    EXPECT_EQ(p.Text, "hi");
    EXPECT_FALSE(cls->FindProp("Name")->IsStored(&p));
    EXPECT_NE(cls->CreateComponent, nullptr);
    std::unique_ptr<TComponent> made(cls->CreateComponent(nullptr));
    EXPECT_EQ(made->ClassName(), "TProbe");
}

TEST(ObjectModel, ClassRegistry) {
    EXPECT_EQ(GetClass("TProbe"), nullptr);
    RegisterClass(TProbe::StaticClass());
    EXPECT_EQ(FindClass("tprobe"), TProbe::StaticClass());
    UnRegisterClass(TProbe::StaticClass());
    try {
        FindClass("TProbe");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TProbe not found");
    }
}
