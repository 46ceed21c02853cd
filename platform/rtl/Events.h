#pragma once
// TEvent<Sig>: an event slot ("closure"). It holds a callable; "assigned" means non-empty. When a
// form stream binds a published method to it, the slot also remembers the method's name so
// that the form writer can write the handler back by name. A handler may reassign or clear the
// slot it runs from: the call keeps the running handler alive until it returns.

#include "SysUtils.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace vcl {

class TObject;

template <class Sig> class TEvent;

template <class R, class... A> class TEvent<R(A...)> {
public:
    using Function = std::function<R(A...)>;

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F, class = std::enable_if_t<std::is_constructible_v<Function, F> &&
                                                !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent(F&& f) : slot_(make(std::forward<F>(f), AnsiString())) {}

    TEvent& operator=(std::nullptr_t) {
        slot_ = nullptr;
        return *this;
    }
    template <class F, class = std::enable_if_t<std::is_constructible_v<Function, F> &&
                                                !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent& operator=(F&& f) {
        slot_ = make(std::forward<F>(f), AnsiString());
        return *this;
    }

    // Binds a named published method (used by the form reader).
    void Bind(Function f, const AnsiString& methodName) { slot_ = make(std::move(f), methodName); }
    const AnsiString& MethodName() const {
        static const AnsiString none;
        return slot_ ? slot_->Name : none;
    }
    bool Assigned() const { return slot_ && slot_->Fn; }
    explicit operator bool() const { return Assigned(); }
    R operator()(A... args) const {
        const std::shared_ptr<const Slot> running = slot_;
        if (!running || !running->Fn) throw std::bad_function_call();
        return running->Fn(std::forward<A>(args)...);
    }
    const Function& function() const {
        static const Function none;
        return slot_ ? slot_->Fn : none;
    }

private:
    // The handler and its method name live outside the slot, so that an empty slot (most of a
    // control's events) costs one pointer pair.
    struct Slot {
        Function Fn;
        AnsiString Name;
    };
    template <class F> static std::shared_ptr<const Slot> make(F&& f, AnsiString name) {
        Function fn(std::forward<F>(f));
        if (!fn && name.empty()) return nullptr;
        return std::make_shared<const Slot>(Slot{std::move(fn), std::move(name)});
    }

    std::shared_ptr<const Slot> slot_;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

} // namespace vcl
