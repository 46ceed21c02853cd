#pragma once
// TObject: the root of every class of the framework, with its class reference (TClass), the
// class name and a checked cast that raises EInvalidCast.

#include "SysUtils.h"

namespace vcl {

struct TClassInfo;
// A class reference: identifies a class at run time and carries its published metadata.
using TClass = const TClassInfo*;

// Declares the class-reference members in the body of a class derived from TObject. The
// metadata itself is defined once in the unit by VCL_DEFINE_CLASS (TypInfo.h).
#define VCL_DECLARE_CLASS(Name, Base)                                                              \
public:                                                                                            \
    using inherited = Base;                                                                        \
    static ::vcl::TClass StaticClass();                                                            \
    ::vcl::TClass ClassType() const override { return StaticClass(); }                             \
                                                                                                   \
private:

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    AnsiString ClassName() const;
    bool InheritsFrom(TClass cls) const;
    template <class T> bool Is() const { return InheritsFrom(T::StaticClass()); }
};

// Checked cast ("Sender as TKeyControl"): null stays null; an object of another class raises
// EInvalidCast ("Invalid class typecast").
[[noreturn]] void RaiseInvalidCast();
template <class T> T* As(TObject* obj) {
    if (!obj) return nullptr;
    if (T* t = dynamic_cast<T*>(obj)) return t;
    RaiseInvalidCast();
}
template <class T> const T* As(const TObject* obj) {
    if (!obj) return nullptr;
    if (const T* t = dynamic_cast<const T*>(obj)) return t;
    RaiseInvalidCast();
}

} // namespace vcl
