// Breaches of the lock contract that the clang build must refuse, one per
// CASE (scripts/lint.sh compiles each and expects its diagnostic). Should the
// annotations ever compile to nothing (a wrong guard in thread_safety.h, a
// misspelt attribute), the lint build would pass while checking nothing; this
// is what catches that.
#include "ops/steps.h"
#include "protocol/exchange.h"

namespace vx {

#if CASE == 1
// A transfer without the lock: another thread could close the record mid-way.
int Unlocked(VestraInfo *dev, char *reply) { return Transact(dev, "VX+X?\r\n", reply, 8).n; }
#elif CASE == 2
// A whole operation started under the lock: the lock would be entered twice.
uint32_t Nested(VestraInfo *dev, const ops::Request &request) {
    LibGuard lock(LibLock());
    return ops::Call(dev, "pw", request);
}
#elif CASE == 3
// A lock taken by hand and not given back on this road out.
void Leaked() { LibLock().lock(); }
#endif

}  // namespace vx
