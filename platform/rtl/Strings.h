#pragma once
// TStrings and TStringList: lists of strings with associated objects, streamed as the defined
// property "Strings" (so a list property Items appears as Items.Strings in a form stream).

#include "Classes.h"

namespace vcl {

class TStrings : public TPersistent {
    VCL_DECLARE_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    virtual int GetCount() const = 0;
    int Count() const { return GetCount(); }
    virtual AnsiString Get(int Index) const = 0;
    virtual void Put(int Index, const AnsiString& S);
    virtual TObject* GetObject(int Index) const { (void)Index; return nullptr; }
    virtual void PutObject(int Index, TObject* AObject) { (void)Index; (void)AObject; }
    AnsiString Strings(int Index) const { return Get(Index); }
    AnsiString operator[](int Index) const { return Get(Index); }

    virtual int Add(const AnsiString& S);
    int AddObject(const AnsiString& S, TObject* AObject);
    void AddStrings(const TStrings* Strings);
    void Append(const AnsiString& S) { Add(S); }
    virtual void Insert(int Index, const AnsiString& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual int IndexOf(const AnsiString& S) const; // case-insensitive, -1 when absent
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);

    // Lines joined with CR LF after each; SetText splits at CR, LF or CR LF.
    AnsiString GetText() const;
    void SetText(const AnsiString& Value);
    AnsiString GetCommaText() const;

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    bool Equals(const TStrings* Other) const;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void AssignTo(TPersistent* Dest) override;
    virtual void Changed();
    virtual void Changing();

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    VCL_DECLARE_CLASS(TStringList, TStrings)
public:
    TStringList() = default;

    int GetCount() const override { return static_cast<int>(items_.size()); }
    AnsiString Get(int Index) const override;
    void Put(int Index, const AnsiString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const AnsiString& S) override;
    void Delete(int Index) override;
    void Clear() override;

private:
    void check(int Index) const;
    struct Item {
        AnsiString S;
        TObject* Object = nullptr;
    };
    std::vector<Item> items_;
};

} // namespace vcl
