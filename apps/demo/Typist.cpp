#include "Typist.h"

namespace quimbel::demo {

namespace {

bool usable(const TKey* Key) {
    return Key->Visible && Key->Enabled && Key->Control;
}

TKey* firstOfType(const TKeyCollection* Keys, TKeyType Type) {
    for (int i = 0; i < Keys->GetCount(); ++i)
        if (Keys->GetItem(i)->KeyType == Type && usable(Keys->GetItem(i))) return Keys->GetItem(i);
    return nullptr;
}

} // namespace

TTypingPlan PlanTyping(const TKeyboard& Keyboard, const vcl::AnsiString& Text) {
    TTypingPlan plan;
    const TKeyCollection* keys = Keyboard.GetKeys();
    TKey* modifier[3] = {nullptr, firstOfType(keys, ktShift), firstOfType(keys, ktAltGr)};
    size_t pos = 0;
    while (pos < Text.size()) {
        TKey* best = nullptr;
        int bestLevel = 0;
        size_t bestLength = 0;
        for (int level = klNormal; level <= klAltGr; ++level) {
            if (level != klNormal && !modifier[level]) continue;
            for (int i = 0; i < keys->GetCount(); ++i) {
                TKey* key = keys->GetItem(i);
                if (key->KeyType != ktNormal || !usable(key)) continue;
                const vcl::AnsiString& value = key->KeyValue[level];
                if (value.size() > bestLength && Text.compare(pos, value.size(), value) == 0) {
                    best = key;
                    bestLevel = level;
                    bestLength = value.size();
                }
            }
        }
        if (!best) {
            plan.Missing = Text.substr(pos, 1);
            return plan;
        }
        if (bestLevel != klNormal) plan.Keys.push_back(modifier[bestLevel]);
        plan.Keys.push_back(best);
        pos += bestLength;
    }
    return plan;
}

} // namespace quimbel::demo
