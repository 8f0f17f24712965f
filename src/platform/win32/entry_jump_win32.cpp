#include "platform/win32/entry_jump_win32.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace vx::platform {

namespace {

constexpr int kMaxHops = 4;
constexpr std::size_t kRelJumpSize = 5;  // E9 rel32
constexpr int64_t kReach = 0x7FFF0000;   // what a rel32 surely reaches, either way

int32_t Rel32(const uint8_t *p) {
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void *LoadPointer(uintptr_t slot) {
    void *v;
    std::memcpy(&v, reinterpret_cast<const void *>(slot), sizeof v);
    return v;
}

// The destination of a jump at p, or null if p does not start with one.
uint8_t *JumpDestination(uint8_t *p) {
    if (p[0] == 0xE9) return p + 5 + Rel32(p + 1);               // jmp rel32
    if (p[0] == 0xEB) return p + 2 + static_cast<int8_t>(p[1]);  // jmp rel8
#if defined(_WIN64)
    if (p[0] == 0x48 && p[1] == 0xFF && p[2] == 0x25) ++p;  // rex.w jmp [rip+disp32]
    if (p[0] == 0xFF && p[1] == 0x25)
        return static_cast<uint8_t *>(
            LoadPointer(reinterpret_cast<uintptr_t>(p + 6) + Rel32(p + 2)));
#else
    if (p[0] == 0xFF && p[1] == 0x25)  // jmp [abs32]
        return static_cast<uint8_t *>(
            LoadPointer(static_cast<uintptr_t>(static_cast<uint32_t>(Rel32(p + 2)))));
#endif
    return nullptr;
}

// False when the unwind data says the function at code ends before the
// jump would (x64 only: x86 code carries no such data).
bool HoldsJump(const uint8_t *code) {
#if defined(_WIN64)
    DWORD64 base = 0;
    PRUNTIME_FUNCTION f = ::RtlLookupFunctionEntry(reinterpret_cast<DWORD64>(code), &base, nullptr);
    if (f != nullptr) return base + f->EndAddress >= reinterpret_cast<DWORD64>(code) + kRelJumpSize;
#else
    (void)code;
#endif
    return true;
}

bool WriteCode(void *at, const void *bytes, std::size_t n) {
    DWORD old = 0;
    if (!::VirtualProtect(at, n, PAGE_EXECUTE_READWRITE, &old)) return false;
    std::memcpy(at, bytes, n);
    ::VirtualProtect(at, n, old, &old);
    ::FlushInstructionCache(::GetCurrentProcess(), at, n);
    return true;
}

#if defined(_WIN64)
bool InReach(const void *from_end, const void *to) {
    int64_t d = reinterpret_cast<intptr_t>(to) - reinterpret_cast<intptr_t>(from_end);
    return d >= -kReach && d <= kReach;
}

// A page within rel32 reach of code holding "jmp [rip+0]; dq routine".
// Never freed: the jump to it lasts as long as the process.
void *NearTrampoline(const uint8_t *code, const void *routine) {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    const uintptr_t grain = info.dwAllocationGranularity;
    const uintptr_t origin = reinterpret_cast<uintptr_t>(code) & ~(grain - 1);
    const uintptr_t low = origin > uintptr_t(kReach) ? origin - uintptr_t(kReach) + grain : grain;
    const uintptr_t high = origin + uintptr_t(kReach) - grain;
    for (int direction = 0; direction < 2; ++direction) {
        uintptr_t at = direction == 0 ? origin - grain : origin + grain;
        while (at >= low && at <= high) {
            MEMORY_BASIC_INFORMATION region;
            if (::VirtualQuery(reinterpret_cast<void *>(at), &region, sizeof region) == 0) break;
            if (region.State == MEM_FREE) {
                void *page = ::VirtualAlloc(reinterpret_cast<void *>(at), grain,
                                            MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
                if (page != nullptr) {
                    uint8_t jump[14] = {0xFF, 0x25, 0, 0, 0, 0};
                    std::memcpy(jump + 6, &routine, sizeof routine);
                    std::memcpy(page, jump, sizeof jump);
                    DWORD old = 0;
                    ::VirtualProtect(page, grain, PAGE_EXECUTE_READ, &old);
                    ::FlushInstructionCache(::GetCurrentProcess(), page, sizeof jump);
                    return page;
                }
            }
            // Step past the region, to the next boundary in this direction.
            uintptr_t base = reinterpret_cast<uintptr_t>(
                region.AllocationBase != nullptr ? region.AllocationBase : region.BaseAddress);
            at = direction == 0 ? (base & ~(grain - 1)) - grain
                                : (reinterpret_cast<uintptr_t>(region.BaseAddress) +
                                   region.RegionSize + grain - 1) &
                                      ~(grain - 1);
        }
    }
    return nullptr;
}
#endif

}  // namespace

void *FollowLeadingJumps(void *entry) {
    auto *code = static_cast<uint8_t *>(entry);
    for (int hop = 0; hop < kMaxHops; ++hop) {
        uint8_t *next = JumpDestination(code);
        if (next == nullptr) break;
        code = next;
    }
    return code;
}

bool RedirectEntry(void *entry, const void *routine) {
    auto *code = static_cast<uint8_t *>(FollowLeadingJumps(entry));
    if (!HoldsJump(code)) return false;
    const void *target = routine;
#if defined(_WIN64)
    if (!InReach(code + kRelJumpSize, routine)) target = NearTrampoline(code, routine);
    if (target == nullptr) return false;
#endif
    // On x86 a rel32 reaches every address: it wraps at 4 GiB.
    auto displacement = static_cast<int32_t>(reinterpret_cast<uintptr_t>(target) -
                                             reinterpret_cast<uintptr_t>(code + kRelJumpSize));
    uint8_t jump[kRelJumpSize] = {0xE9};
    std::memcpy(jump + 1, &displacement, sizeof displacement);
    return WriteCode(code, jump, sizeof jump);
}

}  // namespace vx::platform
