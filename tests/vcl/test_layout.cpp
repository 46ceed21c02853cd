#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vcl;

namespace {

struct TCountingPanel : TPanel {
    using TPanel::TPanel;
    int resizes = 0;
    TRect lastClient;
    void Resize() override {
        TPanel::Resize();
        ++resizes;
        lastClient = GetClientRect();
    }
};

} // namespace

TEST(Layout, BoundsAreKeptAsGivenAndEverySizeChangeCallsResize) {
    TCountingPanel p(nullptr);
    p.resizes = 0;
    p.SetHeight(80);
    p.SetWidth(400);
    EXPECT_EQ(p.resizes, 2);
    EXPECT_EQ(p.lastClient, Rect(0, 0, 400, 80));
    p.SetLeft(-20);
    p.SetTop(-5);
    EXPECT_EQ(p.resizes, 2); // moving is no size change
    p.SetBounds(-20, -5, 0, -3);
    EXPECT_EQ(p.resizes, 3);
    EXPECT_EQ(p.BoundsRect(), Rect(-20, -5, -20, -8));
    EXPECT_EQ(p.GetClientWidth(), 0);
    EXPECT_EQ(p.GetClientHeight(), -3);
    p.SetBounds(-20, -5, 0, -3);
    EXPECT_EQ(p.resizes, 3);

    TSpeedButton b(nullptr);
    EXPECT_EQ(b.BoundsRect(), Rect(0, 0, 23, 22));
    b.SetWidth(-7);
    EXPECT_EQ(b.GetWidth(), -7);
}

TEST(Layout, AlignmentFillsThePanelClientAreaLessBorderAndBevels) {
    TPanel top(nullptr);
    top.SetBounds(0, 0, 631, 40);
    top.SetBevelInner(bvRaised);
    top.SetBevelOuter(bvLowered);
    EXPECT_EQ(top.AlignRect(), Rect(2, 2, 629, 38));
    auto* right = new TPanel(&top);
    right->SetParent(&top);
    right->SetWidth(80);
    right->SetAlign(alRight);
    EXPECT_EQ(right->BoundsRect(), Bounds(549, 2, 80, 36));
    top.SetBorderWidth(3);
    EXPECT_EQ(right->BoundsRect(), Bounds(546, 5, 80, 30));
    top.SetBevelWidth(2);
    EXPECT_EQ(right->BoundsRect(), Bounds(544, 7, 80, 26));
    top.SetBorderStyle(bsSingle); // a 2-pixel frame with Ctl3D
    EXPECT_EQ(top.GetClientWidth(), 627);
    EXPECT_EQ(right->BoundsRect(), Bounds(540, 7, 80, 22));
}

// Sizes far beyond any screen are kept, and what is computed from them ends at the limits of int
// instead of wrapping around.
TEST(Layout, AbsurdSizesSaturateInsteadOfOverflowing) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, INT_MAX, INT_MIN);
    panel.SetBorderStyle(bsSingle);
    panel.SetBorderWidth(INT_MAX);
    EXPECT_EQ(panel.GetClientHeight(), INT_MIN);
    EXPECT_EQ(panel.AlignRect(), Rect(INT_MAX, INT_MAX, -5, INT_MIN));
    EXPECT_EQ(panel.AlignRect().Height(), INT_MIN);
    panel.SetClientHeight(INT_MAX);
    EXPECT_EQ(panel.GetHeight(), INT_MAX);
    EXPECT_EQ(Bounds(INT_MAX, INT_MIN, 1, -1), Rect(INT_MAX, INT_MIN, INT_MAX, INT_MIN));
}

TEST(Layout, AlignedChildrenStackInOrderAndFollowEveryResize) {
    TCountingPanel host(nullptr);
    host.SetBevelOuter(bvNone);
    host.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign a, int size) {
        auto* p = new TCountingPanel(&host);
        p->SetParent(&host);
        p->SetBounds(0, 0, size, size);
        p->SetAlign(a);
        return p;
    };
    auto* t1 = make(alTop, 20);
    auto* b1 = make(alBottom, 30);
    auto* l1 = make(alLeft, 40);
    auto* r1 = make(alRight, 50);
    auto* client = make(alClient, 10);
    auto* t2 = make(alTop, 10); // placed below t1: it starts at Top 0 too but came later
    EXPECT_EQ(t1->BoundsRect(), Bounds(0, 0, 300, 20));
    EXPECT_EQ(t2->BoundsRect(), Bounds(0, 20, 300, 10));
    EXPECT_EQ(b1->BoundsRect(), Bounds(0, 170, 300, 30));
    EXPECT_EQ(l1->BoundsRect(), Bounds(0, 30, 40, 140));
    EXPECT_EQ(r1->BoundsRect(), Bounds(250, 30, 50, 140));
    EXPECT_EQ(client->BoundsRect(), Bounds(40, 30, 210, 140));

    client->resizes = 0;
    host.SetWidth(400);
    EXPECT_EQ(client->BoundsRect(), Bounds(40, 30, 310, 140));
    EXPECT_EQ(r1->BoundsRect(), Bounds(350, 30, 50, 140));
    EXPECT_EQ(client->resizes, 1);
    EXPECT_EQ(client->lastClient, Rect(0, 0, 310, 140));

    // Hiding an aligned child gives its room to the others.
    t1->SetVisible(false);
    EXPECT_EQ(t2->BoundsRect(), Bounds(0, 0, 400, 10));
    EXPECT_EQ(client->BoundsRect(), Bounds(40, 10, 310, 160));
    // Too little room: sizes go negative only where the classic layout keeps the child's own.
    host.SetBounds(0, 0, 60, 50);
    EXPECT_EQ(client->GetWidth(), 310);
    EXPECT_EQ(client->GetLeft(), 40);
    // No alignment: the child stays where it was put.
    client->SetAlign(alNone);
    client->SetBounds(-5, -5, 1, 1);
    host.SetBounds(0, 0, 300, 200);
    EXPECT_EQ(client->BoundsRect(), Bounds(-5, -5, 1, 1));
}

TEST(Layout, ParentFontAndColourFollowTheParentUntilSetOwn) {
    TPanel panel(nullptr);
    auto* button = new TSpeedButton(&panel);
    button->SetParent(&panel);
    panel.GetFont()->SetName("Arial");
    panel.GetFont()->SetSize(12);
    EXPECT_EQ(button->GetFont()->GetName(), "Arial");
    EXPECT_TRUE(button->GetParentFont());
    TFont f;
    f.SetColor(clRed);
    button->GetFont()->Assign(&f);
    EXPECT_FALSE(button->GetParentFont());
    EXPECT_TRUE(button->IsFontStored());
    panel.GetFont()->SetName("Tahoma");
    EXPECT_EQ(button->GetFont()->GetName(), "MS Sans Serif");
    button->SetParentFont(true);
    EXPECT_EQ(button->GetFont()->GetName(), "Tahoma");

    EXPECT_TRUE(button->GetParentColor());
    EXPECT_EQ(button->GetColor(), clBtnFace);
    panel.SetColor(clWhite);
    EXPECT_EQ(button->GetColor(), clWhite);
    EXPECT_FALSE(panel.GetParentColor());
    EXPECT_TRUE(panel.IsColorStored());
    EXPECT_FALSE(button->IsColorStored());
}

TEST(Layout, ClientAndScreenCoordinatesConvertThroughTheParents) {
    TPanel outer(nullptr);
    outer.SetBounds(100, 200, 300, 300);
    auto* inner = new TPanel(&outer);
    inner->SetParent(&outer);
    inner->SetBounds(10, 20, 100, 100);
    inner->SetBorderStyle(bsSingle);
    auto* b = new TSpeedButton(&outer);
    b->SetParent(inner);
    b->SetBounds(5, 6, 10, 10);
    EXPECT_EQ(b->ClientToScreen(Point(1, 1)), Point(100 + 10 + 2 + 5 + 1, 200 + 20 + 2 + 6 + 1));
    EXPECT_EQ(b->ScreenToClient(Point(118, 228)), Point(1, 0));
    EXPECT_EQ(b->ClientToClient(Point(0, 0), &outer), Point(17, 28));
    EXPECT_EQ(inner->GetControl(0), b);
    EXPECT_THROW(inner->GetControl(1), EListError);
    EXPECT_THROW(outer.SetParent(inner), EInvalidOperation);
    EXPECT_THROW(inner->SetParent(inner), EInvalidOperation);
}
