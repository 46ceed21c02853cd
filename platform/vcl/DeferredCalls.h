#pragma once
// Calls deferred until the current input event is handled, and the input event scope that runs
// them.

#include <functional>

namespace vcl {

// Work that the model defers until the current input event is handled, as a posted message
// would be (a menu item chosen from a popup menu is clicked after the popup returns). The input
// entry points and Application->ProcessMessages run what is queued; a widgetset runs it after
// each native event. Owner identifies the calls so that they can be cancelled when it goes away.
void QueueCall(const void* Owner, std::function<void()> Call);
void CancelQueuedCalls(const void* Owner);
void ProcessQueuedCalls();
// True while an input event is being handled (inside an input entry point).
bool InInputEvent();

// Marks the handling of one input event; when the outermost one finishes normally, the queued
// calls run. The input entry points of the controls use it; a widgetset may wrap its own event
// handling in it too.
class TInputEventScope {
public:
    TInputEventScope();
    ~TInputEventScope();
    TInputEventScope(const TInputEventScope&) = delete;
    TInputEventScope& operator=(const TInputEventScope&) = delete;
    // Runs the queued calls if this is the outermost input event.
    void Finish();
};

} // namespace vcl
