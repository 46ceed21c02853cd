#include "vcl/ComCtrls.h"

#include "vcl/Publish.h"

namespace vcl {

namespace {
constexpr int TabPadding = 16;
}

VCL_DEFINE_PLAIN_CLASS(TCustomTabControl, TCustomControl)

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner), tabs_(std::make_unique<TStringList>()) {
    ControlStyle() = TControlStyle{csAcceptsControls, csDoubleClicks};
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
    tabs_->OnChange = [this](TObject*) { tabsChanged(); };
}

TCustomTabControl::~TCustomTabControl() {
    tabs_->OnChange = nullptr;
}

void TCustomTabControl::tabsChanged() {
    if (tabIndex_ >= tabs_->GetCount()) tabIndex_ = tabs_->GetCount() - 1;
    if (tabIndex_ < 0 && tabs_->GetCount() > 0) tabIndex_ = 0;
    PeerChanged(pcItems);
    Invalidate();
}

void TCustomTabControl::SetTabIndex(int Value) {
    if (Value < 0 || Value >= tabs_->GetCount()) Value = -1;
    if (tabIndex_ == Value) return;
    tabIndex_ = Value;
    PeerChanged(pcItemIndex);
    Invalidate();
}

void TCustomTabControl::SelectTab(int Index) {
    if (Index < 0 || Index >= tabs_->GetCount() || Index == tabIndex_) return;
    SetTabIndex(Index);
    if (OnChange) OnChange(this);
}

TRect TCustomTabControl::TabRect(int Index) const {
    int left = 2;
    for (int i = 0; i < tabs_->GetCount(); ++i) {
        const int width = Widgetset()->TextExtent(GetFont(), tabs_->Get(i)).cx + TabPadding;
        if (i == Index) return TRect(left, 0, left + width, TabHeight);
        left += width;
    }
    return TRect();
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
    for (int i = 0; i < tabs_->GetCount(); ++i) {
        const TRect r = TabRect(i);
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
    }
    return -1;
}

TRect TCustomTabControl::DisplayRect() const {
    TRect r = GetClientRect();
    AdjustClientRect(r);
    return r;
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) const {
    Rect.Top += TabHeight;
    InflateRect(Rect, -2, -2);
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) SelectTab(IndexOfTabAt(X, Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

VCL_DEFINE_CLASS(TTabControl, TCustomTabControl, c) {
    publish::Align(c);
    publish::Anchors(c);
    publish::Constraints(c);
    publish::Enabled(c);
    publish::Font(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, true);
    c.Int("TabIndex", &TTabControl::GetTabIndex, &TTabControl::SetTabIndex).Default(-1);
    c.Object<TStrings>("Tabs", &TTabControl::GetTabs);
    publish::Visible(c);
    c.Event("OnChange", &TTabControl::OnChange);
    publish::MouseEvents(c);
    publish::WinEvents(c);
}

} // namespace vcl
