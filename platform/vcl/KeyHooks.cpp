#include "vcl/KeyHooks.h"

#include <algorithm>
#include <vector>

namespace vcl {

namespace {
std::vector<std::weak_ptr<TKeyHook>> g_hooks;
} // namespace

std::shared_ptr<void> HookKeys(TKeyHook Hook) {
    auto hook = std::make_shared<TKeyHook>(std::move(Hook));
    g_hooks.push_back(hook);
    return hook;
}

bool KeysHooked() {
    return std::any_of(g_hooks.begin(), g_hooks.end(),
                       [](const std::weak_ptr<TKeyHook>& h) { return !h.expired(); });
}

bool InputApplicationKey(Word Key, bool Down, bool Repeat) {
    g_hooks.erase(std::remove_if(g_hooks.begin(), g_hooks.end(),
                                 [](const std::weak_ptr<TKeyHook>& h) { return h.expired(); }),
                  g_hooks.end());
    // A hook may add or drop hooks (a switch press that frees a keyboard): the hooks of the start
    // are asked while they are still there, each held while it runs.
    const std::vector<std::weak_ptr<TKeyHook>> hooks = g_hooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
        if (const auto hook = it->lock(); hook && (*hook)(Key, Down, Repeat)) return true;
    return false;
}

} // namespace vcl
