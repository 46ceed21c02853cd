#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace vcl;

namespace {

// A panel at (100, 50) on the screen with a speed button at (10, 10, 40, 30).
struct Board {
    std::unique_ptr<TPanel> panel = std::make_unique<TPanel>(nullptr);
    TSpeedButton* button;
    std::vector<std::string> log;

    Board() {
        panel->SetBounds(100, 50, 200, 100);
        button = new TSpeedButton(panel.get());
        button->SetParent(panel.get());
        button->SetBounds(10, 10, 40, 30);
        button->OnClick = [this](TObject*) { log.push_back("click"); };
        button->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState, int x, int y) {
            EXPECT_EQ(s, button);
            log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," +
                          std::to_string(y));
        };
        button->OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
            log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
        };
        button->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
            log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," +
                          std::to_string(y));
        };
    }
};

using Log = std::vector<std::string>;

} // namespace

TEST(Input, SpeedButtonClicksOnlyWhenReleasedInsideAndCapturesWhileHeld) {
    Board b;
    b.panel->InputMouseDown(mbLeft, {}, 15, 20);
    EXPECT_EQ(GetCaptureControl(), b.button);
    EXPECT_EQ(b.button->GetState(), bsDown);
    EXPECT_EQ(Mouse->GetCursorPos(), Point(115, 70));
    // Outside the button the moves still reach it, in its own coordinates.
    b.panel->InputMouseMove({ssLeft}, 150, 90);
    EXPECT_EQ(b.button->GetState(), bsUp);
    b.panel->InputMouseMove({ssLeft}, 20, 20);
    EXPECT_EQ(b.button->GetState(), bsDown);
    b.panel->InputMouseUp(mbLeft, {}, 20, 20);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(b.log, (Log{"down 0 5,10", "move 140,80", "move 10,10", "up 0 10,10", "click"}));

    b.log.clear();
    b.panel->InputMouseDown(mbLeft, {}, 15, 20);
    b.panel->InputMouseMove({ssLeft}, 5, 5);
    b.panel->InputMouseUp(mbLeft, {}, 5, 5);
    EXPECT_EQ(b.log, (Log{"down 0 5,10", "move -5,-5", "up 0 -5,-5"}));
    EXPECT_EQ(b.button->GetState(), bsUp);

    // The edges: the right and bottom edges are outside.
    b.log.clear();
    MouseClickAt(b.button, 39, 29);
    MouseClickAt(b.button, 40, 29);
    MouseClickAt(b.button, 0, 30);
    EXPECT_EQ(std::count(b.log.begin(), b.log.end(), "click"), 1);
}

TEST(Input, MovesWithoutCaptureGoToTheControlUnderThePointer) {
    Board b;
    int panelMoves = 0;
    b.panel->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        ++panelMoves;
        EXPECT_EQ(x, 100);
        EXPECT_EQ(y, 80);
    };
    b.panel->InputMouseMove({}, 20, 20);
    b.panel->InputMouseMove({}, 100, 80);
    EXPECT_EQ(b.log, (Log{"move 10,10"}));
    EXPECT_EQ(panelMoves, 1);
    EXPECT_EQ(GetMouseControl(), b.panel.get());
    // A right press does not capture: the release goes where the pointer is.
    b.log.clear();
    b.panel->InputMouseDown(mbRight, {}, 20, 20);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    b.panel->InputMouseUp(mbRight, {}, 100, 80);
    EXPECT_EQ(b.log, (Log{"down 1 10,10"}));
}

TEST(Input, DisabledAndHiddenButtonsLetThePressReachTheParent) {
    Board b;
    int panelDowns = 0;
    b.panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++panelDowns; };
    b.button->SetEnabled(false);
    MouseClickAt(b.panel.get(), 20, 20);
    b.button->SetEnabled(true);
    b.button->SetVisible(false);
    MouseClickAt(b.panel.get(), 20, 20);
    EXPECT_EQ(panelDowns, 2);
    EXPECT_TRUE(b.log.empty());
}

TEST(Input, TopmostGraphicChildGetsThePressAndSpeedButtonNeverTakesFocus) {
    Board b;
    auto* edit = new TEdit(b.panel.get());
    edit->SetParent(b.panel.get());
    edit->SetBounds(60, 10, 100, 21);
    edit->SetFocus();
    auto* above = new TSpeedButton(b.panel.get());
    above->SetParent(b.panel.get());
    above->SetBounds(0, 0, 30, 30);
    int aboveClicks = 0;
    above->OnClick = [&](TObject*) { ++aboveClicks; };
    MouseClickAt(b.panel.get(), 20, 20); // both buttons cover it; the later one is on top
    EXPECT_EQ(aboveClicks, 1);
    EXPECT_TRUE(b.log.empty());
    b.button->BringToFront();
    MouseClickAt(b.panel.get(), 20, 20);
    EXPECT_EQ(b.log.back(), "click");
    EXPECT_TRUE(edit->Focused());
    // Pressing a windowed control with a tab stop focuses it; pressing the panel does not.
    auto* edit2 = new TEdit(b.panel.get());
    edit2->SetParent(b.panel.get());
    edit2->SetBounds(60, 50, 100, 21);
    MouseClickAt(b.panel.get(), 190, 90);
    EXPECT_TRUE(edit->Focused());
    MouseClick(edit2);
    EXPECT_TRUE(edit2->Focused());
    delete edit2;
    EXPECT_EQ(FindFocusedControl(), nullptr);
}

TEST(Input, RightPressPopsUpTheMenuAndTheChosenItemRunsAfterTheEvent) {
    Board b;
    TPopupMenu menu(nullptr);
    auto* remove = new TMenuItem(&menu);
    remove->SetCaption("&Delete");
    menu.GetItems()->Add(remove);
    b.button->SetPopupMenu(&menu);
    // The item frees the button that was right-clicked.
    remove->OnClick = [&](TObject*) {
        b.log.push_back("delete");
        delete dynamic_cast<TSpeedButton*>(menu.GetPopupComponent());
    };
    TPoint popupAt;
    TModalResponderScope responder([&](TModalRequest& r) {
        ASSERT_EQ(r.Kind, mkPopupMenu);
        EXPECT_EQ(r.Menu->GetPopupComponent(), b.button);
        popupAt = r.Pos;
        b.log.push_back("popup");
        r.Choose(r.Menu->GetItems()->Find("Delete"));
    });
    b.panel->InputMouseDown(mbRight, {}, 15, 20);
    EXPECT_EQ(popupAt, Point(115, 70));
    EXPECT_EQ(b.log, (Log{"down 1 5,10", "popup", "delete"}));
    EXPECT_EQ(b.panel->ControlCount(), 0);
    EXPECT_EQ(menu.GetPopupComponent(), nullptr);
    b.panel->InputMouseUp(mbRight, {}, 15, 20);
}

TEST(Input, PopupWithoutResponderFailsLoudly) {
    Board b;
    TPopupMenu menu(nullptr);
    b.button->SetPopupMenu(&menu);
    EXPECT_THROW(b.panel->InputMouseDown(mbRight, {}, 15, 20), EInvalidOperation);
    // A control without a popup menu hands the request to its parent, which has none either.
    b.button->SetPopupMenu(nullptr);
    b.panel->InputMouseDown(mbRight, {}, 15, 20);
    b.panel->SetPopupMenu(&menu);
    int popups = 0;
    TModalResponderScope responder([&](TModalRequest& r) {
        ++popups;
        EXPECT_EQ(r.Menu->GetPopupComponent(), b.panel.get());
    });
    b.panel->InputMouseDown(mbRight, {}, 15, 20);
    EXPECT_EQ(popups, 1);
}

TEST(Input, FreeingTheCapturedControlOrTheMenuLeavesNoDanglingReference) {
    Board b;
    b.panel->InputMouseDown(mbLeft, {}, 15, 20);
    ASSERT_EQ(GetCaptureControl(), b.button);
    delete b.button;
    EXPECT_EQ(GetCaptureControl(), nullptr);
    b.panel->InputMouseMove({ssLeft}, 15, 20);
    b.panel->InputMouseUp(mbLeft, {}, 15, 20);

    auto* button = new TSpeedButton(b.panel.get());
    button->SetParent(b.panel.get());
    auto* menu = new TPopupMenu(nullptr);
    button->SetPopupMenu(menu);
    menu->SetPopupComponent(button);
    delete menu;
    EXPECT_EQ(button->GetPopupMenu(), nullptr);
    menu = new TPopupMenu(nullptr);
    menu->SetPopupComponent(button);
    delete button;
    EXPECT_EQ(menu->GetPopupComponent(), nullptr);
    delete menu;
}

TEST(Input, HandlersThatRaiseLeaveTheButtonReleased) {
    Board b;
    b.button->OnMouseUp = [](TObject*, TMouseButton, TShiftState, int, int) {
        throw Exception("up");
    };
    b.panel->InputMouseDown(mbLeft, {}, 15, 20);
    EXPECT_THROW(b.panel->InputMouseUp(mbLeft, {}, 15, 20), Exception);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(b.button->GetState(), bsUp);
    EXPECT_FALSE(b.button->IsPressed());

    b.button->OnMouseUp = nullptr;
    b.button->OnClick = [&](TObject*) { throw Exception("click"); };
    b.panel->InputMouseDown(mbLeft, {}, 15, 20);
    EXPECT_THROW(b.panel->InputMouseUp(mbLeft, {}, 15, 20), Exception);
    EXPECT_EQ(b.button->GetState(), bsUp);
    // A click handler may free the button it belongs to.
    b.button->OnClick = [&](TObject* Sender) { delete static_cast<TSpeedButton*>(Sender); };
    MouseClick(b.button);
    EXPECT_EQ(b.panel->ControlCount(), 0);
}

TEST(Input, GroupedSpeedButtonsLatchExclusively) {
    TPanel panel(nullptr);
    auto* a = new TSpeedButton(&panel);
    auto* c = new TSpeedButton(&panel);
    for (auto* s : {a, c}) {
        s->SetParent(&panel);
        s->SetGroupIndex(1);
    }
    c->SetLeft(30);
    MouseClick(a);
    EXPECT_TRUE(a->GetDown());
    EXPECT_EQ(a->GetState(), bsExclusive);
    MouseClick(c);
    EXPECT_TRUE(c->GetDown());
    EXPECT_FALSE(a->GetDown());
    MouseClick(c); // without AllowAllUp one stays down
    EXPECT_TRUE(c->GetDown());
}

TEST(Input, PerformIsSynchronousAndAPeerlessControlIgnoresKeyMessages) {
    struct TRecorder : TEdit {
        using TEdit::TEdit;
        std::vector<std::pair<unsigned, uintptr_t>> seen;
        void WndProc(TMessage& m) override {
            if (m.Msg == WM_CHAR || m.Msg == WM_KEYDOWN) seen.emplace_back(m.Msg, m.WParam);
            TEdit::WndProc(m);
        }
    };
    TRecorder edit(nullptr);
    edit.SetText("abc");
    edit.Perform(WM_CHAR, 'x', 0);
    edit.Perform(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(edit.seen,
              (std::vector<std::pair<unsigned, uintptr_t>>{{WM_CHAR, 'x'}, {WM_KEYDOWN, VK_LEFT}}));
    EXPECT_EQ(edit.GetText(), "abc");
}

TEST(Input, WheelGoesToTheControlUnderThePointerAndUpItsParentsUntilHandled) {
    TPanel outer(nullptr);
    outer.SetBounds(100, 50, 300, 200);
    auto* inner = new TPanel(&outer);
    inner->SetParent(&outer);
    inner->SetBounds(10, 10, 200, 150);
    auto* label = new TLabel(&outer);
    label->SetParent(inner);
    label->SetBounds(5, 5, 50, 20);
    auto* bar = new TScrollBar(&outer);
    bar->SetParent(inner);
    bar->SetKind(sbVertical);
    bar->SetBounds(180, 0, 16, 150);
    bar->SetPosition(50);
    bar->SetSmallChange(2);

    Log log;
    bool labelHandles = false, outerHandles = false, barHandles = false;
    const auto record = [&](const char* name, bool* handles) {
        return [&log, name, handles](TObject*, TShiftState Shift, int Delta, const TPoint& Pos,
                                     bool& Handled) {
            log.push_back(std::string(name) + " " + std::to_string(Delta) + " " +
                          std::to_string(Pos.X) + "," + std::to_string(Pos.Y) +
                          (Shift.Contains(ssCtrl) ? " ctrl" : ""));
            Handled = *handles;
        };
    };
    label->OnMouseWheel = record("label", &labelHandles);
    outer.OnMouseWheel = record("outer", &outerHandles);
    bar->OnMouseWheel = record("bar", &barHandles);

    // Over the label: the label, then (past the inner panel) the outer panel, with the screen
    // position; the first that handles it stops it.
    EXPECT_FALSE(outer.InputMouseWheel({ssCtrl}, -120, 20, 20));
    outerHandles = true;
    EXPECT_TRUE(outer.InputMouseWheel({}, 240, 20, 20));
    labelHandles = true;
    EXPECT_TRUE(outer.InputMouseWheel({}, 120, 20, 20));
    EXPECT_EQ(log, (Log{"label -120 120,70 ctrl", "outer -120 120,70 ctrl", "label 240 120,70",
                        "outer 240 120,70", "label 120 120,70"}));
    log.clear();
    outerHandles = false;

    // Over the scroll bar: a notch is a small step, toward Min when turned away from the user;
    // parts of a notch add up; OnMouseWheel comes first.
    const struct {
        int delta;
        bool handled;
        int position;
    } turns[] = {{120, false, 48}, {-360, false, 54}, {-60, false, 54}, {-60, false, 56},
                 {120, true, 56}};
    for (const auto& t : turns) {
        barHandles = t.handled;
        EXPECT_TRUE(outer.InputMouseWheel({}, t.delta, 198, 60)) << t.delta;
        EXPECT_EQ(bar->GetPosition(), t.position) << t.delta;
    }
    EXPECT_EQ(log.size(), 5u);
    EXPECT_EQ(log.front(), "bar 120 298,110");
    log.clear();

    // A disabled control takes no turn: it goes to the parent.
    bar->SetEnabled(false);
    EXPECT_FALSE(bar->InputMouseWheel({}, 120, 8, 50));
    EXPECT_EQ(log, (Log{"outer 120 298,110"}));
    EXPECT_EQ(bar->GetPosition(), 56);
}

TEST(Input, FocusGoesWithTheContainerHoldingItWhenHiddenRemovedOrFreed) {
    TPanel top(nullptr);
    auto* outer = new TPanel(&top);
    outer->SetParent(&top);
    auto* sibling = new TPanel(&top);
    sibling->SetParent(&top);
    auto* edit = new TEdit(&top);
    edit->SetParent(outer);
    edit->SetFocus();
    sibling->SetVisible(false); // holds no focus: nothing changes
    EXPECT_TRUE(edit->Focused());
    outer->SetVisible(false);
    EXPECT_EQ(FindFocusedControl(), nullptr);
    outer->SetVisible(true);
    edit->SetFocus();
    outer->SetParent(nullptr);
    EXPECT_EQ(FindFocusedControl(), nullptr);
    outer->SetParent(&top);
    edit->SetFocus();
    delete outer;
    EXPECT_EQ(FindFocusedControl(), nullptr);
}
