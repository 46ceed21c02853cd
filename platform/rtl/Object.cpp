#include "Object.h"

#include "RTLConsts.h"
#include "TypInfo.h"

namespace vcl {

TClass TObject::StaticClass() {
    static const TClassInfo info = [] {
        TClassInfo i;
        i.ClassName = "TObject";
        return i;
    }();
    return &info;
}

AnsiString TObject::ClassName() const {
    return ClassType()->ClassName;
}

bool TObject::InheritsFrom(TClass cls) const {
    return ClassType()->InheritsFrom(cls);
}

void RaiseInvalidCast() {
    throw EInvalidCast(LoadResString(rtlconsts::SInvalidCast));
}

} // namespace vcl
