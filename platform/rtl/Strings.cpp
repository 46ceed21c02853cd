#include "Strings.h"

#include "Filer.h"
#include "RTLConsts.h"

namespace vcl {

VCL_DEFINE_PLAIN_CLASS(TStrings, TPersistent)
VCL_DEFINE_PLAIN_CLASS(TStringList, TStrings)

void TStrings::Put(int Index, const AnsiString& S) {
    TObject* obj = GetObject(Index);
    BeginUpdate();
    Delete(Index);
    Insert(Index, S);
    PutObject(Index, obj);
    EndUpdate();
}

int TStrings::Add(const AnsiString& S) {
    int index = GetCount();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
    int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::AddStrings(const TStrings* Strings) {
    BeginUpdate();
    for (int i = 0; i < Strings->GetCount(); ++i)
        AddObject(Strings->Get(i), Strings->GetObject(i));
    EndUpdate();
}

int TStrings::IndexOf(const AnsiString& S) const {
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(Get(i), S)) return i;
    return -1;
}

void TStrings::Exchange(int Index1, int Index2) {
    BeginUpdate();
    AnsiString s1 = Get(Index1), s2 = Get(Index2);
    TObject* o1 = GetObject(Index1);
    TObject* o2 = GetObject(Index2);
    Put(Index1, s2);
    Put(Index2, s1);
    PutObject(Index1, o2);
    PutObject(Index2, o1);
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    BeginUpdate();
    AnsiString s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    Insert(NewIndex, s);
    PutObject(NewIndex, o);
    EndUpdate();
}

AnsiString TStrings::GetText() const {
    AnsiString r;
    for (int i = 0; i < GetCount(); ++i)
        r += Get(i) + "\r\n";
    return r;
}

void TStrings::SetText(const AnsiString& Value) {
    BeginUpdate();
    Clear();
    size_t start = 0;
    size_t i = 0;
    while (i < Value.size()) {
        if (Value[i] == '\r' || Value[i] == '\n') {
            Add(Value.substr(start, i - start));
            if (Value[i] == '\r' && i + 1 < Value.size() && Value[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < Value.size()) Add(Value.substr(start));
    EndUpdate();
}

AnsiString TStrings::GetCommaText() const {
    AnsiString r;
    for (int i = 0; i < GetCount(); ++i) {
        if (i) r += ',';
        AnsiString s = Get(i);
        bool quote = s.empty() || s.find_first_of(" ,\"") != AnsiString::npos;
        if (!quote) {
            r += s;
            continue;
        }
        r += '"';
        for (char ch : s) {
            if (ch == '"') r += '"';
            r += ch;
        }
        r += '"';
    }
    return r;
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) Changing();
}

void TStrings::EndUpdate() {
    if (--updateCount_ == 0) Changed();
}

void TStrings::Changing() {
    if (!Updating() && OnChanging) OnChanging(this);
}

void TStrings::Changed() {
    if (!Updating() && OnChange) OnChange(this);
}

void TStrings::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        BeginUpdate();
        Clear();
        AddStrings(src);
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::AssignTo(TPersistent* Dest) {
    TPersistent::AssignTo(Dest);
}

bool TStrings::Equals(const TStrings* Other) const {
    if (!Other || Other->GetCount() != GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != Other->Get(i)) return false;
    return true;
}

void TStrings::DefineProperties(TFiler* Filer) {
    Filer->DefineProperty(
        "Strings",
        [this](TReader* reader) {
            reader->ReadListBegin();
            BeginUpdate();
            try {
                Clear();
                while (!reader->EndOfList())
                    Add(reader->ReadString());
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            reader->ReadListEnd();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < GetCount(); ++i)
                writer->WriteString(Get(i));
            writer->WriteListEnd();
        },
        GetCount() > 0);
}

void TStringList::check(int Index) const {
    if (Index < 0 || Index >= GetCount())
        throw EStringListError(FmtLoadStr(rtlconsts::SListIndexError, {Index}));
}

AnsiString TStringList::Get(int Index) const {
    check(Index);
    return items_[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const AnsiString& S) {
    check(Index);
    Changing();
    items_[static_cast<size_t>(Index)].S = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const {
    check(Index);
    return items_[static_cast<size_t>(Index)].Object;
}

void TStringList::PutObject(int Index, TObject* AObject) {
    check(Index);
    Changing();
    items_[static_cast<size_t>(Index)].Object = AObject;
    Changed();
}

void TStringList::Insert(int Index, const AnsiString& S) {
    if (Index < 0 || Index > GetCount())
        throw EStringListError(FmtLoadStr(rtlconsts::SListIndexError, {Index}));
    Changing();
    items_.insert(items_.begin() + Index, Item{S, nullptr});
    Changed();
}

void TStringList::Delete(int Index) {
    check(Index);
    Changing();
    items_.erase(items_.begin() + Index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

} // namespace vcl
