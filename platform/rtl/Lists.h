#pragma once
// TList: an ordered list of untyped pointers with index checking.

#include "Object.h"

#include <vector>

namespace vcl {

class TList : public TObject {
    VCL_DECLARE_CLASS(TList, TObject)
public:
    TList() = default;
    ~TList() override = default;

    int Add(void* Item);
    void Insert(int Index, void* Item); // Index 0..Count
    void Delete(int Index);
    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* operator[](int Index) const { return Get(Index); }
    void* First() const { return Get(0); }
    void* Last() const { return Get(GetCount() - 1); }
    int IndexOf(const void* Item) const; // -1 when absent
    int Remove(const void* Item);        // removes the first entry; returns its index or -1
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void Clear();
    int GetCount() const { return static_cast<int>(items_.size()); }
    int Count() const { return GetCount(); }

    // Raises EListError "List index out of bounds (%d)" with the given index.
    [[noreturn]] static void Error(int Index);

private:
    void check(int Index) const;
    std::vector<void*> items_;
};

} // namespace vcl
