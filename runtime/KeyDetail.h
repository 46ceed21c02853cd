#pragma once
// What the units of the keyboard share inside the package: the check of a key level and the
// watch over keys that a click in progress still uses. Not for programs.

#include "Keys.h"

#include <cstddef>

namespace quimbel::detail {

// Captions and values are arrays of three: a level from outside the enumeration raises
// ERangeError instead of indexing past them.
size_t levelIndex(TKeyLevel Level);

// Keys that a click in progress still uses, innermost click first. A key freed meanwhile (a
// handler switched or emptied the layout) is cleared here, so the click can tell.
struct KeyWatch {
    explicit KeyWatch(const TKey* AKey) : key(AKey), next(first) { first = this; }
    ~KeyWatch() {
        for (KeyWatch** w = &first; *w; w = &(*w)->next)
            if (*w == this) {
                *w = next;
                break;
            }
    }
    KeyWatch(const KeyWatch&) = delete;
    KeyWatch& operator=(const KeyWatch&) = delete;

    static void Forget(const TKey* AKey) {
        for (KeyWatch* w = first; w; w = w->next)
            if (w->key == AKey) w->key = nullptr;
    }

    const TKey* key;
    KeyWatch* next;
    static inline thread_local KeyWatch* first = nullptr;
};

} // namespace quimbel::detail
