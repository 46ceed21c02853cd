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
    TEvent(F&& f) : fn_(make(std::forward<F>(f))) {}

    TEvent& operator=(std::nullptr_t) {
        fn_ = nullptr;
        name_.clear();
        return *this;
    }
    template <class F, class = std::enable_if_t<std::is_constructible_v<Function, F> &&
                                                !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent& operator=(F&& f) {
        fn_ = make(std::forward<F>(f));
        name_.clear();
        return *this;
    }

    // Binds a named published method (used by the form reader).
    void Bind(Function f, const AnsiString& methodName) {
        fn_ = make(std::move(f));
        name_ = methodName;
    }
    const AnsiString& MethodName() const { return name_; }
    bool Assigned() const { return fn_ != nullptr; }
    explicit operator bool() const { return Assigned(); }
    R operator()(A... args) const {
        const std::shared_ptr<const Function> running = fn_;
        if (!running) throw std::bad_function_call();
        return (*running)(std::forward<A>(args)...);
    }
    const Function& function() const {
        static const Function none;
        return fn_ ? *fn_ : none;
    }

private:
    template <class F> static std::shared_ptr<const Function> make(F&& f) {
        Function fn(std::forward<F>(f));
        if (!fn) return nullptr;
        return std::make_shared<const Function>(std::move(fn));
    }

    std::shared_ptr<const Function> fn_;
    AnsiString name_;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

} // namespace vcl
