// A small non-owning reference to a callable, so the shared steps take
// lambdas without allocating. Valid only while the callable lives: take it
// as a parameter, never store it.
#pragma once

#include <type_traits>

#include "common/thread_safety.h"

namespace vx {

template <class Sig>
class FnRef;
template <class R, class... A>
class FnRef<R(A...)> {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FnRef>>>
    FnRef(F &&f)
        // Not followed by the lock analysis: the callable says what it needs.
        : obj_(&f), call_([](void *o, A... a) NO_THREAD_SAFETY_ANALYSIS -> R {
              return (*static_cast<std::remove_reference_t<F> *>(o))(a...);
          }) {}
    R operator()(A... a) const { return call_(obj_, a...); }

private:
    void *obj_;
    R (*call_)(void *, A...);
};

}  // namespace vx
