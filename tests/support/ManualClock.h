#pragma once
// A keyboard clock that moves only when the test says so (TKeyboard::SetClock): advancing it
// fires the timers that fall due on the way, in their order.

#include "runtime/Keyboard.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

struct ManualClock : quimbel::TKeyClock {
    struct Timer {
        long long At;
        std::function<void()> Fire;
    };
    long long Now() override { return now; }
    std::shared_ptr<void> Start(int Ms, std::function<void()> Fire) override {
        auto timer = std::make_shared<Timer>(Timer{now + Ms, std::move(Fire)});
        timers.push_back(timer);
        return timer;
    }
    // The timers whose handle is still kept.
    int Running() const {
        return static_cast<int>(std::count_if(timers.begin(), timers.end(),
                                              [](const auto& t) { return !t.expired(); }));
    }
    void advance(long long ms) {
        const long long end = now + ms;
        for (;;) {
            std::shared_ptr<Timer> next;
            for (const auto& t : timers)
                if (auto timer = t.lock();
                    timer && timer->At <= end && (!next || timer->At < next->At))
                    next = timer;
            if (!next) break;
            now = std::max(now, next->At);
            next->At = LLONG_MAX; // it fires once
            const auto fire = next->Fire;
            next.reset();
            fire();
        }
        now = end;
    }
    long long now = 10000;
    std::vector<std::weak_ptr<Timer>> timers;
};

} // namespace testsupport
