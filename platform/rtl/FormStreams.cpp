// The component level of binary form streams: writing a root component with its children and
// reading it back.

#include "FormStreams.h"

#include "RTLConsts.h"
#include "Resources.h"

#include <algorithm>

namespace vcl {

namespace {

// --- Writer ----------------------------------------------------------------------------------

class FormWriter {
public:
    FormWriter(TWriter& writer, TComponent* root) : w_(writer), root_(root) {}

    void writeComponent(TComponent* c, int depth) {
        checkDepth(depth);
        c->SetWritingState(true);
        TFinally writing([c] { c->SetWritingState(false); });
        w_.WriteClassName(c->ClassName());
        w_.WriteStr(c->GetName());
        w_.PropPath.clear();
        writeProperties(c, 0);
        w_.WriteListEnd();
        c->GetChildren([this, depth](TComponent* child) { writeComponent(child, depth + 1); },
                       root_);
        w_.WriteListEnd();
    }

private:
    void checkDepth(int depth) const {
        if (depth >= MaxStreamNesting)
            throw EWriteError(FmtLoadStr(rtlconsts::SNestingTooDeep, {MaxStreamNesting}));
    }

    // Nesting counts nested objects (Font.Name) within one component.
    void writeProperties(TObject* instance, int nesting) {
        checkDepth(nesting);
        for (const TPropInfo* p : instance->ClassType()->GetProps())
            if (p->IsStored(instance)) writeProperty(instance, p, nesting);
        if (auto* persistent = dynamic_cast<TPersistent*>(instance))
            persistent->DefineProperties(&w_);
    }

    // The name a reference is written under, seen from the root being written.
    AnsiString referenceName(TComponent* c) const {
        TComponent* owner = c->GetOwner();
        if (owner == root_) return c->GetName();
        if (c == root_) return "Owner";
        if (owner && !owner->GetName().empty() && !c->GetName().empty())
            return owner->GetName() + "." + c->GetName();
        if (!c->GetName().empty()) return c->GetName() + ".Owner";
        return AnsiString();
    }

    static bool isReference(const TPropInfo* p) {
        return p->SetObject && p->PropClass &&
               p->PropClass->InheritsFrom(TComponent::StaticClass());
    }

    void writeProperty(TObject* instance, const TPropInfo* p, int nesting) {
        switch (p->Kind) {
        case tkInteger:
        case tkInt64: {
            if (!p->SetOrd || p->IsDefault(instance)) return;
            int64_t v = p->GetOrd(instance);
            w_.WritePropName(p->Name);
            AnsiString ident;
            if (p->Kind == tkInteger && p->Idents && v >= INT32_MIN && v <= INT32_MAX &&
                p->Idents->IntToIdent(static_cast<int32_t>(v), ident))
                w_.WriteIdent(ident);
            else
                w_.WriteInteger(v);
            return;
        }
        case tkEnumeration: {
            if (!p->SetOrd || p->IsDefault(instance)) return;
            int64_t v = p->GetOrd(instance);
            w_.WritePropName(p->Name);
            AnsiString name = p->EnumType ? p->EnumType->NameOf(v) : AnsiString();
            if (p->EnumType == &BooleanInfo)
                w_.WriteBoolean(v != 0);
            else if (!name.empty())
                w_.WriteIdent(name);
            else
                w_.WriteInteger(v);
            return;
        }
        case tkSet: {
            if (!p->SetOrd) return;
            int64_t v = p->GetOrd(instance);
            if (v == (p->HasDefault ? p->Default : 0)) return;
            w_.WritePropName(p->Name);
            w_.WriteSet(static_cast<uint64_t>(v), p->EnumType);
            return;
        }
        case tkString: {
            if (!p->SetStr) return;
            AnsiString v = p->GetStr(instance);
            if (v.empty()) return;
            w_.WritePropName(p->Name);
            w_.WriteString(v);
            return;
        }
        case tkFloat: {
            if (!p->SetFloat) return;
            long double v = p->GetFloat(instance);
            if (v == 0) return;
            w_.WritePropName(p->Name);
            w_.WriteFloat(v);
            return;
        }
        case tkMethod: {
            if (!p->SetMethod || !p->MethodAssigned || !p->MethodAssigned(instance)) return;
            AnsiString name = p->GetMethodName ? p->GetMethodName(instance) : AnsiString();
            if (name.empty()) return; // a handler assigned in code has no name to stream
            w_.WritePropName(p->Name);
            w_.WriteIdent(name);
            return;
        }
        case tkClass: {
            if (!p->GetObject) return;
            TObject* value = p->GetObject(instance);
            if (!value) return;
            if (isReference(p)) {
                AnsiString name = referenceName(static_cast<TComponent*>(value));
                if (name.empty()) return;
                w_.WritePropName(p->Name);
                w_.WriteIdent(name);
                return;
            }
            AnsiString saved = w_.PropPath;
            w_.PropPath += p->Name + ".";
            try {
                writeProperties(value, nesting + 1);
            } catch (...) {
                w_.PropPath = saved;
                throw;
            }
            w_.PropPath = saved;
            return;
        }
        }
    }

    TWriter& w_;
    TComponent* root_;
};

// --- Reader ----------------------------------------------------------------------------------

class FormReader {
public:
    explicit FormReader(TReader& reader) : r_(reader) {}

    TComponent* readRoot(TComponent* instance, TComponent* owner, TComponent* parent) {
        r_.ReadSignature();
        try {
            uint8_t flags;
            int32_t pos;
            r_.ReadPrefix(flags, pos);
            AnsiString cls = r_.ReadStr();
            AnsiString name = r_.ReadStr();
            if (instance) {
                root_ = instance;
            } else {
                root_ = create(FindClass(cls), cls, owner);
            }
            root_->SetLoadingState(true);
            root_->SetReadingState(true);
            loaded_.push_back(root_);
            if (!(instance && root_->ComponentState().Contains(csDesigning)) &&
                root_->GetName() != name)
                root_->SetName(name);
            if (!instance && parent) root_->SetParentComponent(parent);
            readData(root_, 0);
            root_->SetReadingState(false);
            resolveFixups();
            // From here on the children belong to the root: a failing Loaded frees the root only
            // when this read created it.
            std::vector<TComponent*> loaded = loaded_;
            created_.clear();
            if (!instance) created_.push_back(root_);
            fields_.clear();
            for (TComponent* c : loaded) {
                c->Loaded();
                c->SetLoadingState(false);
            }
            return root_;
        } catch (...) {
            cleanUp(instance);
            throw;
        }
    }

private:
    struct Fixup {
        TObject* instance;
        const TPropInfo* prop;
        AnsiString reference;
        AnsiString componentName;
        AnsiString propPath;
    };

    void checkDepth(int depth) const {
        if (depth >= MaxStreamNesting)
            r_.Error(FmtLoadStr(rtlconsts::SNestingTooDeep, {MaxStreamNesting}));
    }

    TComponent* create(TClass cls, const AnsiString& name, TComponent* owner) {
        if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CreateComponent)
            r_.Error(FmtLoadStr(rtlconsts::SNotAComponentClass, {name}));
        TComponent* c = cls->CreateComponent(owner);
        created_.push_back(c);
        return c;
    }

    // A class named in the stream: the classes of the root's published fields first (a form
    // needs no registration for the controls it declares), then the class registry.
    TClass findComponentClass(const AnsiString& name) const {
        for (TClass k = root_->ClassType(); k; k = k->Parent)
            for (const TFieldInfo& f : k->Fields)
                if (f.FieldClass && SameText(f.FieldClass->ClassName, name)) return f.FieldClass;
        return FindClass(name);
    }

    void readData(TComponent* instance, int depth) {
        while (!r_.EndOfList())
            readProperty(instance);
        r_.ReadListEnd();
        while (!r_.EndOfList())
            readChild(instance, depth + 1);
        r_.ReadListEnd();
    }

    void readChild(TComponent* parent, int depth) {
        checkDepth(depth);
        uint8_t flags;
        int32_t pos;
        r_.ReadPrefix(flags, pos);
        AnsiString cls = r_.ReadStr();
        AnsiString name = r_.ReadStr();
        TComponent* c;
        if (flags & ffInherited) {
            c = root_->FindComponent(name);
            if (!c) r_.Error(FmtLoadStr(rtlconsts::SAncestorNotFound, {name}));
        } else {
            c = create(findComponentClass(cls), cls, root_);
        }
        c->SetLoadingState(true);
        if (std::find(loaded_.begin(), loaded_.end(), c) == loaded_.end()) loaded_.push_back(c);
        if (!(flags & ffInherited)) c->SetName(name);
        if (!name.empty()) {
            if (const TFieldInfo* f = root_->ClassType()->FindField(name)) {
                f->Set(root_, c);
                fields_.push_back(f);
            }
        }
        c->SetReadingState(true);
        c->SetParentComponent(parent);
        readData(c, depth);
        c->SetReadingState(false);
    }

    [[noreturn]] void propertyError(const AnsiString& message) const { throw EReadError(message); }

    void readProperty(TComponent* component) {
        AnsiString path = r_.ReadStr();
        try {
            TObject* instance = component;
            size_t start = 0;
            for (;;) {
                size_t dot = path.find('.', start);
                AnsiString part =
                    path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start);
                const TPropInfo* p = instance->ClassType()->FindProp(part);
                if (dot == AnsiString::npos) {
                    if (p) {
                        readValue(instance, p, component, path);
                    } else {
                        r_.PropName = part;
                        if (auto* persistent = dynamic_cast<TPersistent*>(instance))
                            persistent->DefineProperties(&r_);
                        if (!r_.PropName.empty())
                            propertyError(FmtLoadStr(rtlconsts::SUnknownProperty, {part}));
                    }
                    break;
                }
                if (!p) propertyError(FmtLoadStr(rtlconsts::SUnknownProperty, {part}));
                if (p->Kind != tkClass || !p->GetObject)
                    propertyError(LoadResString(rtlconsts::SInvalidPropertyPath));
                instance = p->GetObject(instance);
                if (!instance) propertyError(LoadResString(rtlconsts::SInvalidPropertyPath));
                start = dot + 1;
            }
        } catch (const Exception& e) {
            r_.PropName.clear();
            throw EReadError(FmtLoadStr(rtlconsts::SPropertyException,
                                        {displayName(component), ".", path, e.Message()}));
        }
    }

    static AnsiString displayName(const TComponent* c) {
        return c->GetName().empty() ? c->ClassName() : c->GetName();
    }

    void readValue(TObject* instance, const TPropInfo* p, TComponent* component,
                   const AnsiString& path) {
        switch (p->Kind) {
        case tkInteger: {
            int64_t v;
            if (r_.NextValue() == vaIdent) {
                AnsiString ident = r_.ReadIdent();
                int32_t named;
                if (!p->Idents || !p->Idents->IdentToInt(ident, named))
                    propertyError(FmtLoadStr(rtlconsts::SInvalidPropertyElement, {ident}));
                v = named;
            } else {
                v = r_.ReadInteger();
            }
            setOrd(instance, p, v);
            return;
        }
        case tkInt64:
            setOrd(instance, p, r_.ReadInt64());
            return;
        case tkEnumeration: {
            AnsiString ident = r_.ReadIdent();
            int ord = p->EnumType ? p->EnumType->IndexOf(ident) : -1;
            if (ord < 0) propertyError(FmtLoadStr(rtlconsts::SInvalidPropertyElement, {ident}));
            setOrd(instance, p, ord);
            return;
        }
        case tkSet:
            setOrd(instance, p, static_cast<int64_t>(r_.ReadSet(p->EnumType)));
            return;
        case tkString: {
            AnsiString s = r_.ReadString();
            if (!p->SetStr) propertyError(LoadResString(rtlconsts::SReadOnlyProperty));
            p->SetStr(instance, s);
            return;
        }
        case tkFloat: {
            long double v = r_.ReadFloat();
            if (!p->SetFloat) propertyError(LoadResString(rtlconsts::SReadOnlyProperty));
            p->SetFloat(instance, v);
            return;
        }
        case tkClass:
            if (!(p->SetObject && p->PropClass &&
                  p->PropClass->InheritsFrom(TComponent::StaticClass())))
                propertyError(LoadResString(rtlconsts::SInvalidPropertyValue));
            if (r_.NextValue() == vaNil) {
                r_.ReadValue();
                p->SetObject(instance, nullptr);
            } else {
                fixups_.push_back({instance, p, r_.ReadIdent(), displayName(component), path});
            }
            return;
        case tkMethod: {
            if (!p->SetMethod) propertyError(LoadResString(rtlconsts::SReadOnlyProperty));
            if (r_.NextValue() == vaNil) {
                r_.ReadValue();
                p->SetMethod(instance, std::any(), AnsiString());
                return;
            }
            AnsiString name = r_.ReadIdent();
            const TMethodInfo* m = root_->ClassType()->FindMethod(name);
            if (!m && r_.OnFindMethod) {
                std::any handler;
                bool error = true;
                r_.OnFindMethod(&r_, name, p, handler, error);
                if (!error) {
                    p->SetMethod(instance, handler, name);
                    return;
                }
            }
            if (!m) propertyError(FmtLoadStr(rtlconsts::SMethodNotFound, {name}));
            if (m->Signature != p->EventType)
                propertyError(FmtLoadStr(rtlconsts::SMethodSignature, {name}));
            p->SetMethod(instance, m->Bind(root_), m->Name);
            return;
        }
        }
    }

    void setOrd(TObject* instance, const TPropInfo* p, int64_t v) const {
        if (!p->SetOrd) propertyError(LoadResString(rtlconsts::SReadOnlyProperty));
        p->SetOrd(instance, v);
    }

    TComponent* resolve(const AnsiString& reference) const {
        TComponent* c = nullptr;
        size_t start = 0;
        bool first = true;
        for (;;) {
            size_t dot = reference.find('.', start);
            AnsiString part =
                reference.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start);
            if (first) {
                if (SameText(part, "Owner"))
                    c = root_;
                else if (!(c = root_->FindComponent(part)) && SameText(part, root_->GetName()))
                    c = root_;
            } else if (!SameText(part, "Owner")) {
                c = c->FindComponent(part);
            }
            if (!c) return nullptr;
            first = false;
            if (dot == AnsiString::npos) return c;
            start = dot + 1;
        }
    }

    void resolveFixups() {
        for (const Fixup& f : fixups_) {
            try {
                TComponent* c = resolve(f.reference);
                if (!c) propertyError(FmtLoadStr(rtlconsts::SComponentNotFound, {f.reference}));
                f.prop->SetObject(f.instance, c);
            } catch (const Exception& e) {
                throw EReadError(FmtLoadStr(rtlconsts::SPropertyException,
                                            {f.componentName, ".", f.propPath, e.Message()}));
            }
        }
    }

    // After a failure: unbind the root's fields and free, newest first, what this read created.
    void cleanUp(TComponent* instance) {
        if (root_) {
            for (const TFieldInfo* f : fields_)
                f->Set(root_, nullptr);
        }
        if (instance) {
            instance->SetReadingState(false);
            instance->SetLoadingState(false);
        }
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            delete *it;
        created_.clear();
    }

    TReader& r_;
    TComponent* root_ = nullptr;
    std::vector<TComponent*> created_;
    std::vector<TComponent*> loaded_;
    std::vector<const TFieldInfo*> fields_;
    std::vector<Fixup> fixups_;
};

} // namespace

void WriteComponent(TStream* Stream, TComponent* Root) {
    TWriter writer(Stream, 4096);
    writer.Root = Root;
    writer.LookupRoot = Root;
    writer.WriteSignature();
    FormWriter(writer, Root).writeComponent(Root, 0);
    writer.FlushBuffer();
}

TComponent* ReadComponent(TStream* Stream, TComponent* Instance, TComponent* Owner,
                          TComponent* Parent) {
    TReader reader(Stream, 4096);
    return ReadComponent(reader, Instance, Owner, Parent);
}

TComponent* ReadComponent(TReader& Reader, TComponent* Instance, TComponent* Owner,
                          TComponent* Parent) {
    FormReader formReader(Reader);
    return formReader.readRoot(Instance, Owner, Parent);
}

bool ReadComponentRes(const AnsiString& ResName, TComponent* Instance) {
    if (!ResourceExists("RCDATA", ResName)) return false;
    TResourceStream stream(ResName, "RCDATA");
    ReadComponent(&stream, Instance);
    return true;
}

} // namespace vcl
