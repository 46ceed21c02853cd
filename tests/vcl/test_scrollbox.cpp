// The scrolling container: ranges follow the children, bars show only when needed and take
// client space, scrolling moves the children, ScrollInView, the wheel, and a form file.

#include "../support/FormRounds.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ScrollBox.h"

#include <gtest/gtest.h>

using namespace vcl;

TEST(ScrollBox, RangesAndPositionsFollowTheContent) {
    TScrollBox box(nullptr);
    box.SetBounds(0, 0, 204, 104); // a client area of 200 x 100 inside the border
    auto* child = new TPanel(&box);
    child->SetParent(&box);
    child->SetBounds(10, 10, 150, 50);
    TControlScrollBar* h = box.GetHorzScrollBar();
    TControlScrollBar* v = box.GetVertScrollBar();
    EXPECT_EQ(h->GetRange(), 160);
    EXPECT_FALSE(h->IsScrollBarVisible());
    EXPECT_FALSE(v->IsScrollBarVisible());
    EXPECT_EQ(box.GetClientRect(), Rect(0, 0, 200, 100));

    // Wider than the client: the horizontal bar shows and takes 16 pixels of its height.
    child->SetWidth(300);
    EXPECT_EQ(h->GetRange(), 310);
    EXPECT_TRUE(h->IsScrollBarVisible());
    EXPECT_FALSE(v->IsScrollBarVisible());
    EXPECT_EQ(box.GetClientRect(), Rect(0, 0, 200, 84));
    // Taller than what that leaves: both bars.
    child->SetHeight(80);
    EXPECT_TRUE(v->IsScrollBarVisible());
    EXPECT_EQ(box.GetClientRect(), Rect(0, 0, 184, 84));
    EXPECT_EQ(h->MaxPosition(), 310 - 184);

    // Scrolling moves the child; the range stays; positions stop at the ends.
    h->SetPosition(50);
    EXPECT_EQ(child->GetLeft(), -40);
    EXPECT_EQ(h->GetRange(), 310);
    h->SetPosition(1000);
    EXPECT_EQ(h->GetPosition(), 126);
    EXPECT_EQ(child->GetLeft(), 10 - 126);
    h->SetPosition(-5);
    EXPECT_EQ(child->GetLeft(), 10);
    v->SetPosition(6);
    EXPECT_EQ(child->GetTop(), 4);

    // A larger box needs fewer bars, and the positions come back into the range: the height
    // was short of 90 by the horizontal bar only.
    box.SetBounds(0, 0, 304, 104);
    EXPECT_TRUE(h->IsScrollBarVisible());
    EXPECT_TRUE(v->IsScrollBarVisible());
    box.SetBounds(0, 0, 404, 104);
    EXPECT_FALSE(h->IsScrollBarVisible());
    EXPECT_FALSE(v->IsScrollBarVisible());
    EXPECT_EQ(h->GetPosition(), 0);
    EXPECT_EQ(v->GetPosition(), 0);
    EXPECT_EQ(box.GetClientRect(), Rect(0, 0, 400, 100));
    EXPECT_EQ(child->BoundsRect(), Rect(10, 10, 310, 90));

    // A child aligned to the client area does not count; a hidden one neither; a margin adds.
    auto* filler = new TPanel(&box);
    filler->SetParent(&box);
    filler->SetAlign(alClient);
    EXPECT_EQ(h->GetRange(), 310);
    child->SetVisible(false);
    EXPECT_EQ(h->GetRange(), 0);
    child->SetVisible(true);
    h->SetMargin(6);
    EXPECT_EQ(h->GetRange(), 316);
    delete child;
    EXPECT_EQ(h->GetRange(), 0);
}

TEST(ScrollBox, ScrollInViewTheWheelAndAFixedRange) {
    TScrollBox box(nullptr);
    box.SetBorderStyle(bsNone);
    box.SetBounds(0, 0, 100, 100);
    auto* inner = new TPanel(&box);
    inner->SetParent(&box);
    inner->SetBounds(0, 0, 400, 400);
    auto* target = new TPanel(&box);
    target->SetParent(inner);
    target->SetBounds(300, 200, 40, 30);
    box.ScrollInView(target);
    // Its right and bottom edges at the client's: 84 x 84 beside the bars.
    EXPECT_EQ(box.GetHorzScrollBar()->GetPosition(), 340 - 84);
    EXPECT_EQ(box.GetVertScrollBar()->GetPosition(), 230 - 84);
    target->SetLeft(10);
    box.ScrollInView(target);
    EXPECT_EQ(box.GetHorzScrollBar()->GetPosition(), 10);
    EXPECT_EQ(inner->GetLeft(), -10);

    // A notch away from the user scrolls up by three increments, with Shift to the left.
    EXPECT_TRUE(box.InputMouseWheel({}, 120, 5, 5));
    EXPECT_EQ(box.GetVertScrollBar()->GetPosition(), 146 - 24);
    EXPECT_TRUE(box.InputMouseWheel({ssShift}, -120, 5, 5));
    EXPECT_EQ(box.GetHorzScrollBar()->GetPosition(), 34);

    // Without AutoScroll the set range holds, whatever the children.
    box.SetAutoScroll(false);
    box.GetVertScrollBar()->SetRange(150);
    inner->SetHeight(1000);
    EXPECT_EQ(box.GetVertScrollBar()->GetRange(), 150);
    EXPECT_EQ(box.GetVertScrollBar()->MaxPosition(), 150 - 84);
}

TEST(ScrollBox, AFormFileKeepsItsChildrenAndBars) {
    const std::string text = "object ScrollForm: TForm\n"
                             "  Width = 300\n"
                             "  Height = 200\n"
                             "  object Box: TScrollBox\n"
                             "    Left = 0\n"
                             "    Top = 0\n"
                             "    Width = 120\n"
                             "    Height = 80\n"
                             "    HorzScrollBar.Increment = 12\n"
                             "    HorzScrollBar.Tracking = True\n"
                             "    VertScrollBar.Visible = False\n"
                             "    TabOrder = 0\n"
                             "    object Inner: TPanel\n"
                             "      Left = 4\n"
                             "      Top = 4\n"
                             "      Width = 300\n"
                             "      Height = 300\n"
                             "      TabOrder = 0\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    testsupport::SaveAndReopen(text, 2, [](TForm& form, int) {
        auto* box = static_cast<TScrollBox*>(form.FindComponent("Box"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetHorzScrollBar()->GetIncrement(), 12);
        EXPECT_TRUE(box->GetHorzScrollBar()->GetTracking());
        EXPECT_TRUE(box->GetHorzScrollBar()->IsScrollBarVisible());
        EXPECT_EQ(box->GetHorzScrollBar()->GetRange(), 304);
        EXPECT_FALSE(box->GetVertScrollBar()->IsScrollBarVisible()); // turned off
        EXPECT_EQ(box->GetClientRect(), Rect(0, 0, 116, 60));
    });
}
