// Offering a fatal signal to the action that was in force before the crash
// collector. Everything here runs in the signal handler: system calls and
// atomics only, no allocation, no lock, no thread-local storage (a thread is
// told apart by its kernel thread id).
#include "platform/posix/crash_chain_posix.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <linux/futex.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

namespace vx::platform {

namespace {

constexpr int kMaxSignal = 64;
// Never blocked while the earlier handler runs: a fault inside it must reach
// the collector (and its dump), not end the process unreported.
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
// Where a thread has no alternate stack, the span below the caller's frame
// that a re-raise from inside the earlier handler is looked for in.
constexpr uintptr_t kCallSpanWithoutAltStack = uintptr_t{256} * 1024;

struct sigaction g_earlier[kMaxSignal + 1];         // written before install only
std::atomic<bool> g_earlier_spent[kMaxSignal + 1];  // a one-shot (SA_RESETHAND) action used

// A thread inside an earlier handler for sig. A handler that never returns
// (siglongjmp) leaves its record behind; the thread's next delivery of sig
// finds it outside the span and takes it over.
struct CallRecord {
    std::atomic<long> tid{0};
    std::atomic<int> sig{0};
    std::atomic<uintptr_t> low{0}, high{0};  // the stack span the call runs in
    std::atomic<bool> reraised{false};
    std::atomic<siginfo_t *> info{nullptr};  // the delivery the call is for
    std::atomic<void *> context{nullptr};
};
constexpr int kCallRecords = 64;
CallRecord g_calls[kCallRecords];

long ThreadId() { return ::syscall(SYS_gettid); }

struct ResumePoint {
    uintptr_t ip = 0, sp = 0;
    bool operator!=(const ResumePoint &o) const { return ip != o.ip || sp != o.sp; }
};

ResumePoint WhereThreadResumes(const void *context) {
    ResumePoint r;
    if (context == nullptr) return r;
    const auto *uc = static_cast<const ucontext_t *>(context);
#if defined(__x86_64__)
    r.ip = static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
    r.sp = static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
    r.ip = uc->uc_mcontext.pc;
    r.sp = uc->uc_mcontext.sp;
#else
    (void)uc;
#endif
    return r;
}

CallRecord *FindCall(long tid, int sig) {
    for (CallRecord &r : g_calls)
        if (r.tid.load() == tid && r.sig.load() == sig) return &r;
    return nullptr;
}

CallRecord *ClaimCall(long tid, int sig) {
    for (CallRecord &r : g_calls) {
        long expected = 0;
        if (r.tid.compare_exchange_strong(expected, tid)) {
            r.sig.store(sig);
            return &r;
        }
    }
    return nullptr;  // all taken: the call runs with sig blocked, a re-raise stays pending
}

void ReleaseCall(CallRecord *r) {
    r->high.store(0);
    r->sig.store(0);
    r->tid.store(0);
}

// The span the earlier handler runs in: below this frame, down to the base
// of the alternate stack when the thread is on it.
void NoteCallSpan(CallRecord *r) {
    auto high = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    stack_t st{};
    uintptr_t low = high > kCallSpanWithoutAltStack ? high - kCallSpanWithoutAltStack : 0;
    if (::sigaltstack(nullptr, &st) == 0 && (st.ss_flags & SS_ONSTACK) != 0)
        low = reinterpret_cast<uintptr_t>(st.ss_sp);
    r->low.store(low);
    r->high.store(high);
    r->reraised.store(false);
}

bool InsideCall(const CallRecord &r, const void *context) {
    uintptr_t sp = WhereThreadResumes(context).sp;
    return r.high.load() != 0 && sp >= r.low.load() && sp < r.high.load();
}

bool Sent(const siginfo_t *info) { return info == nullptr || info->si_code <= 0; }

// What the kernel blocks while a handler runs: the interrupted mask, the
// action's mask and (unless SA_NODEFER) the signal itself; the fault
// signals excepted, as above.
sigset_t MaskForCall(int sig, const struct sigaction &a, const void *context, bool block_sig) {
    sigset_t m;
    if (context != nullptr)
        m = static_cast<const ucontext_t *>(context)->uc_sigmask;
    else
        ::pthread_sigmask(SIG_SETMASK, nullptr, &m);
    for (int s = 1; s <= kMaxSignal; ++s)
        if (sigismember(&a.sa_mask, s) == 1) sigaddset(&m, s);
    for (int s : kFaultSignals) sigdelset(&m, s);
    if ((a.sa_flags & SA_NODEFER) == 0 && block_sig) sigaddset(&m, sig);
    return m;
}

// Memory probes through the futex call, which reports EFAULT for a word the
// thread may not access instead of faulting. The write probe adds zero
// atomically, so the word keeps its value whatever other threads do.
uint32_t *WordAt(const void *addr) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the aligned word of addr itself
    return reinterpret_cast<uint32_t *>(reinterpret_cast<uintptr_t>(addr) & ~uintptr_t{3});
}

bool Readable(const void *addr) {
    uint32_t other = 0;
    long r = ::syscall(SYS_futex, WordAt(addr), FUTEX_CMP_REQUEUE | FUTEX_PRIVATE_FLAG, 0, nullptr,
                       &other, 0u);
    return r >= 0 || errno != EFAULT;
}

bool Writable(const void *addr) {
    uint32_t other = 0;
    return ::syscall(SYS_futex, &other, FUTEX_WAKE_OP | FUTEX_PRIVATE_FLAG, 0, nullptr,
                     WordAt(addr), FUTEX_OP(FUTEX_OP_ADD, 0, FUTEX_OP_CMP_EQ, 0)) >= 0;
}

// A handler that fixes the memory and returns (a collector's write barrier,
// a guard page handed back to a stack) resolves the fault: the instruction
// runs again and succeeds. Known for access faults whose kind the context
// gives: reads and writes, not instruction fetches.
bool FaultingAccessNowAllowed(int sig, const siginfo_t *info, const void *context) {
    bool access_fault =
        (sig == SIGSEGV && (info->si_code == SEGV_MAPERR || info->si_code == SEGV_ACCERR)) ||
        (sig == SIGBUS && info->si_code == BUS_ADRERR);
    if (!access_fault || context == nullptr) return false;
#if defined(__x86_64__)
    auto error = static_cast<const ucontext_t *>(context)->uc_mcontext.gregs[REG_ERR];
    constexpr long long kWrite = 1 << 1, kFetch = 1 << 4;
    if ((error & kFetch) != 0) return false;
    return (error & kWrite) != 0 ? Writable(info->si_addr) : Readable(info->si_addr);
#else
    return false;
#endif
}

void CallAsKernelWould(const struct sigaction &a, int sig, siginfo_t *info, void *context) {
    if ((a.sa_flags & SA_SIGINFO) != 0)
        a.sa_sigaction(sig, info, context);
    else
        a.sa_handler(sig);
}

}  // namespace

void RecordEarlierAction(int sig) {
    if (sig <= 0 || sig > kMaxSignal) return;
    ::sigaction(sig, nullptr, &g_earlier[sig]);
}

EarlierVerdict OfferToEarlierAction(int sig, siginfo_t *info, void *context,
                                    CalledFor *called_for) {
    if (sig <= 0 || sig > kMaxSignal) return EarlierVerdict::kUnresolved;
    long tid = ThreadId();
    CallRecord *call = FindCall(tid, sig);
    if (call != nullptr && InsideCall(*call, context)) {
        // Delivered while this thread runs the earlier handler for sig: a
        // re-raise (Python's faulthandler raises after its report; abort()
        // inside Mono's SIGABRT handler raises and never returns), or a fault
        // of the handler itself.
        if (!Sent(info)) return EarlierVerdict::kUnresolved;
        call->reraised.store(true);
        called_for->info = call->info.load();
        called_for->context = call->context.load();
        return EarlierVerdict::kReraised;
    }
    const struct sigaction &a = g_earlier[sig];
    if (a.sa_handler == SIG_DFL || a.sa_handler == SIG_IGN) return EarlierVerdict::kUnresolved;
    if ((a.sa_flags & SA_RESETHAND) != 0 && g_earlier_spent[sig].exchange(true))
        return EarlierVerdict::kUnresolved;

    if (call == nullptr) call = ClaimCall(tid, sig);
    if (call != nullptr) {
        NoteCallSpan(call);
        call->info.store(info);
        call->context.store(context);
    }
    ResumePoint before = WhereThreadResumes(context);
    sigset_t during = MaskForCall(sig, a, context, call == nullptr);
    sigset_t ours;
    ::pthread_sigmask(SIG_SETMASK, &during, &ours);
    CallAsKernelWould(a, sig, info, context);
    ::pthread_sigmask(SIG_SETMASK, &ours, nullptr);

    bool reraised = call != nullptr && call->reraised.load();
    if (call != nullptr) ReleaseCall(call);
    sigset_t pending;
    if (::sigpending(&pending) == 0 && sigismember(&pending, sig) == 1) reraised = true;
    if (reraised) return EarlierVerdict::kUnresolved;
    if (WhereThreadResumes(context) != before) return EarlierVerdict::kResolved;
    if (!Sent(info) && FaultingAccessNowAllowed(sig, info, context))
        return EarlierVerdict::kResolved;
    return EarlierVerdict::kUnresolved;
}

}  // namespace vx::platform
