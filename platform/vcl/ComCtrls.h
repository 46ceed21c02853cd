#pragma once
// Common controls: the tab control.

#include "rtl/Strings.h"
#include "vcl/Controls.h"

#include <memory>

namespace vcl {

// A row of tabs above a display area. Choosing a tab changes TabIndex and raises OnChange; the
// children stay: the program shows in the display area what the tab stands for. Children aligned
// to it fill the display area.
class TCustomTabControl : public TCustomControl {
    VCL_DECLARE_CLASS(TCustomTabControl, TCustomControl)
public:
    // 289 x 193, one row of tabs TabHeight pixels high, no tabs.
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    TStrings* GetTabs() const { return tabs_.get(); }
    void SetTabs(TStrings* Value) { tabs_->Assign(Value); }
    // The chosen tab, or -1. Setting it raises no event; an index outside the tabs chooses none.
    int GetTabIndex() const { return tabIndex_; }
    void SetTabIndex(int Value);
    // A user's choice of a tab (also reported by the peer): chooses it and raises OnChange when
    // it is another one.
    void SelectTab(int Index);
    // The tab under a point of the client area, or -1; and the rectangle of a tab.
    int IndexOfTabAt(int X, int Y) const;
    TRect TabRect(int Index) const;
    // The area below the tabs.
    TRect DisplayRect() const;
    void AdjustClientRect(TRect& Rect) const override;

    static constexpr int TabHeight = 22;
    TNotifyEvent OnChange;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void tabsChanged();
    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
};

class TTabControl : public TCustomTabControl {
    VCL_DECLARE_CLASS(TTabControl, TCustomTabControl)
public:
    explicit TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}
};

} // namespace vcl
