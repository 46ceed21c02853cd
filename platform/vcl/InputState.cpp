#include "vcl/InputState.h"

namespace vcl {

TInputState& InputState() {
    static TInputState state;
    return state;
}

void TInputState::ControlGone(const TControl* Control) {
    if (capture_ == Control) capture_ = nullptr;
    if (mouseControl_ == Control) mouseControl_ = nullptr;
}

bool TInputState::ClearFocusIn(const TControl* Subtree) {
    for (const TControl* c = focused_; c; c = c->GetParent()) {
        if (c == Subtree) {
            focused_ = nullptr;
            return true;
        }
    }
    return false;
}

} // namespace vcl
