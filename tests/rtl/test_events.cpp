// Event slots: a handler may clear or replace the slot it runs from and still use what it captured.

#include "rtl/Events.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using vcl::TEvent;

TEST(Events, HandlerOutlivesItsOwnReassignment) {
    using Slot = TEvent<std::string(int)>;
    const std::function<void(Slot&)> changes[] = {
        [](Slot& slot) { slot = nullptr; },
        [](Slot& slot) { slot = [](int) { return std::string("replacement"); }; },
        [](Slot& slot) { slot.Bind([](int) { return std::string("bound"); }, "Other"); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        Slot slot;
        // Long enough to live on the heap, so a freed capture is a read of freed memory.
        const std::string captured(64, 'x');
        slot = [&slot, &changes, i, captured](int n) {
            changes[i](slot);
            return captured + std::to_string(n);
        };
        EXPECT_EQ(slot(7), std::string(64, 'x') + "7") << i;
        EXPECT_EQ(slot.Assigned(), i != 0) << i;
    }
    EXPECT_THROW(TEvent<void()>()(), std::bad_function_call);
}
