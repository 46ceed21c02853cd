#pragma once
// Published metadata: every class derived from TObject describes itself once, in its unit, with
// VCL_DEFINE_CLASS: its name, its ancestor, how to create it, and its published properties (in
// order, with their default and storing rule), published component fields and published methods.
// The form reader and writer, the class registry and the IDE's property editors all use it.
//
//   VCL_DEFINE_CLASS(TPanel, TCustomPanel, c) {
//       c.Enum("Alignment", TAlignmentInfo, &TPanel::GetAlignment, &TPanel::SetAlignment)
//           .Default(taCenter);
//       c.Int("BevelWidth", &TPanel::GetBevelWidth, &TPanel::SetBevelWidth).Default(1);
//       c.Event("OnClick", &TPanel::OnClick);
//   }

#include "Events.h"
#include "Object.h"
#include "Resources.h"
#include "Sets.h"

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <typeindex>
#include <vector>

namespace vcl {

class TComponent;
class TPersistent;

enum TTypeKind { tkInteger, tkEnumeration, tkSet, tkString, tkFloat, tkClass, tkMethod, tkInt64 };

// The identifiers of an enumeration type, in ordinal order. A set property names the enumeration
// of its members.
struct TEnumInfo {
    const char* TypeName;
    std::vector<const char*> Names;
    // Ordinal of a name (case-insensitive), or -1.
    int IndexOf(const AnsiString& name) const;
    AnsiString NameOf(int64_t ordinal) const; // empty when out of range
};
extern const TEnumInfo BooleanInfo; // False, True

// Named values of an integer type, such as the colour constants (clRed, clBtnFace).
struct TIdentMapEntry {
    int32_t Value;
    const char* Name;
};
struct TIdentMap {
    std::vector<TIdentMapEntry> Entries;
    bool IntToIdent(int32_t value, AnsiString& ident) const;
    bool IdentToInt(const AnsiString& ident, int32_t& value) const; // case-insensitive
};

// A class reference resolved on first use, so that a class may publish a property of its own
// class (or of a class that refers back to it) without recursing into its own initialisation.
struct TLazyClass {
    TClass (*Get)() = nullptr;
    operator TClass() const { return Get ? Get() : nullptr; }
    TClass operator->() const { return Get(); }
};

struct TPropInfo {
    AnsiString Name;
    TTypeKind Kind = tkInteger;
    const TEnumInfo* EnumType = nullptr;      // tkEnumeration, and the member type of tkSet
    const TIdentMap* Idents = nullptr;        // tkInteger with named values
    TLazyClass PropClass;                     // tkClass: the declared class of the property
    std::type_index EventType = typeid(void); // tkMethod: the std::function type of the slot

    std::function<int64_t(const TObject*)> GetOrd; // tkInteger, tkInt64, tkEnumeration, tkSet
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<AnsiString(const TObject*)> GetStr;
    std::function<void(TObject*, const AnsiString&)> SetStr;
    std::function<long double(const TObject*)> GetFloat;
    std::function<void(TObject*, long double)> SetFloat;
    std::function<TObject*(const TObject*)> GetObject;
    std::function<void(TObject*, TObject*)> SetObject; // null for nested objects set in place
    // tkMethod: the bound method's name, and binding a std::function (held in a std::any) with a
    // name.
    std::function<AnsiString(const TObject*)> GetMethodName;
    std::function<bool(const TObject*)> MethodAssigned;
    std::function<void(TObject*, const std::any&, const AnsiString&)> SetMethod;
    // A handler of the slot's type that does nothing: what a form designer binds to a named
    // event while the form has no code of its own.
    std::function<std::any()> EmptyHandler;

    bool HasDefault = false;
    int64_t Default = 0;
    std::function<bool(const TObject*)> StoredFn; // null: stored

    bool IsStored(const TObject* instance) const { return !StoredFn || StoredFn(instance); }
    // True when the property holds its default value (never for properties without a default).
    bool IsDefault(const TObject* instance) const;
    bool IsWritable() const;
};

// A published method of a class: a handler a form stream can bind by name.
struct TMethodInfo {
    AnsiString Name;
    std::type_index Signature = typeid(void); // std::function type produced by Bind
    std::function<std::any(TObject*)> Bind;   // binds the method to an instance
};

// A published component field of a form: set by name when a component of that name is read.
struct TFieldInfo {
    AnsiString Name;
    TClass FieldClass = nullptr;
    std::function<void(TObject* instance, TObject* value)> Set;
};

struct TClassInfo {
    AnsiString ClassName;
    TClass Parent = nullptr;
    // Creates an instance with an owner; null for abstract classes and classes that are not
    // components.
    std::function<TComponent*(TComponent* owner)> CreateComponent;
    // Creates a default instance of a class that is not a component; may be null.
    std::function<TObject*()> CreateObject;
    std::vector<TPropInfo> Props;
    std::vector<TMethodInfo> Methods;
    std::vector<TFieldInfo> Fields;

    bool InheritsFrom(TClass cls) const;
    // Properties of the class and its ancestors, the ancestors' first, each in declaration
    // order; a redeclared property keeps its ancestor's place with the newer declaration.
    std::vector<const TPropInfo*> GetProps() const;
    const TPropInfo* FindProp(const AnsiString& name) const;     // case-insensitive
    const TMethodInfo* FindMethod(const AnsiString& name) const; // case-insensitive
    const TFieldInfo* FindField(const AnsiString& name) const;   // case-insensitive
};

// Class registry: classes the form reader may create by name.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass GetClass(const AnsiString& name);  // null when not registered
TClass FindClass(const AnsiString& name); // raises EClassNotFound ("Class %s not found")
// Unregisters every class whose metadata lies in the module (a package being unloaded).
void UnRegisterModuleClasses(HMODULE module);

// Property access by metadata.
int64_t GetOrdProp(const TObject* instance, const TPropInfo* prop);
void SetOrdProp(TObject* instance, const TPropInfo* prop, int64_t value);
const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name);

namespace detail {
template <class M> struct MemberType;
template <class V, class C> struct MemberType<V C::*> { using type = V; };
} // namespace detail

template <class T> class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Int(const char* name, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkInteger);
        p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(read(get, o)); };
        p.SetOrd = setter<int64_t>(set, [](int64_t v) { return v; });
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Enum(const char* name, const TEnumInfo& type, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkEnumeration);
        p.EnumType = &type;
        p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(read(get, o)); };
        p.SetOrd = setter<int64_t>(set, [](int64_t v) { return v; });
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Bool(const char* name, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkEnumeration);
        p.EnumType = &BooleanInfo;
        p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(read(get, o) ? 1 : 0); };
        p.SetOrd = setter<int64_t>(set, [](int64_t v) { return v != 0; });
        return *this;
    }
    // A Set<E> property.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& SetOf(const char* name, const TEnumInfo& members, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkSet);
        p.EnumType = &members;
        p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(read(get, o).Mask()); };
        using SetType = std::decay_t<decltype(read(get, std::declval<const TObject*>()))>;
        p.SetOrd = setter<int64_t>(
            set, [](int64_t v) { return SetType::FromMask(static_cast<uint64_t>(v)); });
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Str(const char* name, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkString);
        p.GetStr = [get](const TObject* o) { return AnsiString(read(get, o)); };
        p.SetStr = setter<const AnsiString&>(set, [](const AnsiString& v) { return v; });
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Float(const char* name, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkFloat);
        p.GetFloat = [get](const TObject* o) { return static_cast<long double>(read(get, o)); };
        p.SetFloat = setter<long double>(set, [](long double v) { return v; });
        return *this;
    }
    // A persistent object property. Without a setter the object is owned by the instance and
    // streamed in place as nested properties (Font.Name, Items.Strings); a property of a
    // component class with a setter is a reference, streamed by the component's name.
    template <class V, class G, class S = std::nullptr_t>
    TClassBuilder& Object(const char* name, G get, S set = nullptr) {
        TPropInfo& p = add(name, tkClass);
        p.PropClass.Get = &V::StaticClass;
        p.GetObject = [get](const TObject* o) -> TObject* { return read(get, o); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>) {
            p.SetObject = [set](TObject* o, TObject* v) {
                write(set, o, v ? As<V>(v) : static_cast<V*>(nullptr));
            };
        }
        return *this;
    }
    // An event slot: a data member of type TEvent<...>.
    template <class M> TClassBuilder& Event(const char* name, M member) {
        TPropInfo& p = add(name, tkMethod);
        using Fn = typename detail::MemberType<M>::type::Function;
        p.EventType = typeid(Fn);
        p.GetMethodName = [member](const TObject* o) {
            return (static_cast<const T*>(o)->*member).MethodName();
        };
        p.MethodAssigned = [member](const TObject* o) {
            return (static_cast<const T*>(o)->*member).Assigned();
        };
        p.SetMethod = [member](TObject* o, const std::any& fn, const AnsiString& methodName) {
            auto& slot = static_cast<T*>(o)->*member;
            if (!fn.has_value())
                slot = nullptr;
            else
                slot.Bind(std::any_cast<Fn>(fn), methodName);
        };
        p.EmptyHandler = [] {
            return std::any(Fn([](auto&&...) -> typename Fn::result_type {
                if constexpr (!std::is_void_v<typename Fn::result_type>)
                    return typename Fn::result_type();
            }));
        };
        return *this;
    }
    // A published method with the signature of event type E, e.g.
    // c.Method<TNotifyEvent>("OKBtnClick", &TMyForm::OKBtnClick).
    template <class E, class M> TClassBuilder& Method(const char* name, M method) {
        using Fn = typename E::Function;
        TMethodInfo m;
        m.Name = name;
        m.Signature = typeid(Fn);
        m.Bind = [method](TObject* instance) -> std::any {
            T* self = static_cast<T*>(instance);
            return Fn([self, method](auto&&... args) {
                return (self->*method)(std::forward<decltype(args)>(args)...);
            });
        };
        info_.Methods.push_back(std::move(m));
        return *this;
    }
    // A published component field of a form.
    template <class M> TClassBuilder& Field(const char* name, M member) {
        using V = std::remove_pointer_t<typename detail::MemberType<M>::type>;
        TFieldInfo f;
        f.Name = name;
        f.FieldClass = V::StaticClass();
        f.Set = [member](TObject* instance, TObject* value) {
            static_cast<T*>(instance)->*member = As<V>(value);
        };
        info_.Fields.push_back(std::move(f));
        return *this;
    }

    // Modifiers of the property declared last.
    TClassBuilder& Default(int64_t value) {
        last().HasDefault = true;
        last().Default = value;
        return *this;
    }
    TClassBuilder& NoDefault() {
        last().HasDefault = false;
        return *this;
    }
    TClassBuilder& Idents(const TIdentMap& map) {
        last().Idents = &map;
        return *this;
    }
    template <class F> TClassBuilder& Stored(F fn) {
        last().StoredFn = [fn](const TObject* o) { return fn(static_cast<const T*>(o)); };
        return *this;
    }
    TClassBuilder& NotStored() {
        last().StoredFn = [](const TObject*) { return false; };
        return *this;
    }

private:
    TPropInfo& add(const char* name, TTypeKind kind) {
        info_.Props.emplace_back();
        info_.Props.back().Name = name;
        info_.Props.back().Kind = kind;
        return info_.Props.back();
    }
    TPropInfo& last() { return info_.Props.back(); }

    template <class G> static decltype(auto) read(G get, const TObject* o) {
        const T* self = static_cast<const T*>(o);
        if constexpr (std::is_member_object_pointer_v<G>)
            return (self->*get);
        else if constexpr (std::is_member_function_pointer_v<G>)
            return (self->*get)();
        else
            return get(self);
    }
    template <class S, class V> static void write(S set, TObject* o, V&& value) {
        T* self = static_cast<T*>(o);
        if constexpr (std::is_member_object_pointer_v<S>)
            self->*set = std::forward<V>(value);
        else if constexpr (std::is_member_function_pointer_v<S>)
            (self->*set)(std::forward<V>(value));
        else
            set(self, std::forward<V>(value));
    }
    template <class Arg, class S, class Conv> static auto setter(S set, Conv conv) {
        using Fn = std::function<void(TObject*, Arg)>;
        if constexpr (std::is_same_v<S, std::nullptr_t>) {
            return Fn();
        } else if constexpr (std::is_member_object_pointer_v<S>) {
            return Fn([set, conv](TObject* o, Arg v) {
                using Field = std::decay_t<decltype(static_cast<T*>(o)->*set)>;
                static_cast<T*>(o)->*set = static_cast<Field>(conv(v));
            });
        } else if constexpr (std::is_member_function_pointer_v<S>) {
            return Fn(
                [set, conv](TObject* o, Arg v) { callSetter(set, static_cast<T*>(o), conv(v)); });
        } else {
            return Fn([set, conv](TObject* o, Arg v) { set(static_cast<T*>(o), conv(v)); });
        }
    }
    // Calls a setter whose parameter may be an enumeration, an integer or a string.
    template <class C, class P, class V> static void callSetter(void (C::*set)(P), T* self, V&& v) {
        (self->*set)(static_cast<std::decay_t<P>>(v));
    }

    TClassInfo& info_;
};

namespace detail {
template <class T> std::function<TComponent*(TComponent*)> componentFactory() {
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*> &&
                  std::is_convertible_v<T*, TComponent*>)
        return [](TComponent* owner) -> TComponent* { return new T(owner); };
    else
        return nullptr;
}
template <class T> std::function<TObject*()> objectFactory() {
    if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T> &&
                  !std::is_constructible_v<T, TComponent*>)
        return []() -> TObject* { return new T(); };
    else
        return nullptr;
}

// The metadata of Class; describe adds its published members, when it has any.
template <class Class>
TClassInfo describeClass(const char* name, TClass parent, void (*describe)(TClassBuilder<Class>&)) {
    TClassInfo i;
    i.ClassName = name;
    i.Parent = parent;
    i.CreateComponent = componentFactory<Class>();
    i.CreateObject = objectFactory<Class>();
    if (describe) {
        TClassBuilder<Class> b(i);
        describe(b);
    }
    return i;
}
} // namespace detail

// Defines Class::StaticClass(): the metadata of Class, derived from Base, described by the body
// that follows, in which `builder` is a TClassBuilder<Class>.
#define VCL_DEFINE_CLASS(Class, Base, builder)                                                     \
    static void vclDescribe_##Class(::vcl::TClassBuilder<Class>& builder);                         \
    ::vcl::TClass Class::StaticClass() {                                                           \
        static const ::vcl::TClassInfo info =                                                      \
            ::vcl::detail::describeClass<Class>(#Class, Base::StaticClass(), vclDescribe_##Class); \
        return &info;                                                                              \
    }                                                                                              \
    static void vclDescribe_##Class(::vcl::TClassBuilder<Class>& builder)

// Defines Class::StaticClass() for a class that publishes nothing beyond what Base publishes: it
// still has its own name, ancestor and way of being created.
#define VCL_DEFINE_PLAIN_CLASS(Class, Base)                                                        \
    ::vcl::TClass Class::StaticClass() {                                                           \
        static const ::vcl::TClassInfo info =                                                      \
            ::vcl::detail::describeClass<Class>(#Class, Base::StaticClass(), nullptr);             \
        return &info;                                                                              \
    }

} // namespace vcl
