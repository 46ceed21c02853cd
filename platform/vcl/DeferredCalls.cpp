#include "vcl/DeferredCalls.h"

#include <algorithm>
#include <deque>

namespace vcl {

namespace {

int g_inputDepth = 0;

struct TQueuedCall {
    const void* Owner;
    std::function<void()> Call;
};
std::deque<TQueuedCall> g_queue;

} // namespace

void QueueCall(const void* Owner, std::function<void()> Call) {
    g_queue.push_back({Owner, std::move(Call)});
}

void CancelQueuedCalls(const void* Owner) {
    g_queue.erase(std::remove_if(g_queue.begin(), g_queue.end(),
                                 [Owner](const TQueuedCall& c) { return c.Owner == Owner; }),
                  g_queue.end());
}

void ProcessQueuedCalls() {
    while (!g_queue.empty()) {
        std::function<void()> call = std::move(g_queue.front().Call);
        g_queue.pop_front();
        call();
    }
}

bool InInputEvent() {
    return g_inputDepth > 0;
}

TInputEventScope::TInputEventScope() {
    ++g_inputDepth;
}
TInputEventScope::~TInputEventScope() {
    --g_inputDepth;
}

void TInputEventScope::Finish() {
    if (g_inputDepth != 1) return;
    // Queued calls run as if after the event, outside of it.
    --g_inputDepth;
    try {
        ProcessQueuedCalls();
    } catch (...) {
        ++g_inputDepth;
        throw;
    }
    ++g_inputDepth;
}

} // namespace vcl
