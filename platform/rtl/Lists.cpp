#include "Lists.h"

#include "RTLConsts.h"
#include "TypInfo.h"

#include <algorithm>

namespace vcl {

VCL_DEFINE_PLAIN_CLASS(TList, TObject)

void TList::Error(int Index) {
    throw EListError(FmtLoadStr(rtlconsts::SListIndexError, {Index}));
}

void TList::check(int Index) const {
    if (Index < 0 || Index >= GetCount()) Error(Index);
}

int TList::Add(void* Item) {
    items_.push_back(Item);
    return GetCount() - 1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > GetCount()) Error(Index);
    items_.insert(items_.begin() + Index, Item);
}

void TList::Delete(int Index) {
    check(Index);
    items_.erase(items_.begin() + Index);
}

void* TList::Get(int Index) const {
    check(Index);
    return items_[static_cast<size_t>(Index)];
}

void TList::Put(int Index, void* Item) {
    check(Index);
    items_[static_cast<size_t>(Index)] = Item;
}

int TList::IndexOf(const void* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TList::Remove(const void* Item) {
    int i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
}

void TList::Exchange(int Index1, int Index2) {
    check(Index1);
    check(Index2);
    std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    check(NewIndex);
    void* item = Get(CurIndex);
    Delete(CurIndex);
    Insert(NewIndex, item);
}

void TList::Clear() {
    items_.clear();
}

} // namespace vcl
