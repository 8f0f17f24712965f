// Rewriting a routine's entry (the crash filter's pin): calls of the entry
// and of the code it forwards to land in the replacement, from near and from
// beyond the 2 GiB a relative jump reaches, and no other code is touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "platform/win32/entry_jump_win32.h"

namespace {

using vx::platform::RedirectEntry;
using Routine = int (*)();

[[gnu::noinline]] int Replacement() { return 0x77; }

constexpr std::size_t kStub = 0, kNeighbour = 8, kBody = 32, kSlot = 64, kUnwind = 128;
constexpr std::size_t kPage = 4096;

// A page of hand-made code at about anchor + offset: a 6-byte forwarding
// stub that jumps through a slot (the form of an export forwarded to another
// module), the next routine 8 bytes on, and the code the stub leads to.
struct CodePage {
    uint8_t *base = nullptr;

    CodePage(const void *anchor, int64_t offset) {
        const int64_t step = 1 << 20;
        for (int tries = 0; tries < 256 && base == nullptr; ++tries) {
            auto at = reinterpret_cast<uintptr_t>(anchor) + uintptr_t(offset + tries * step);
            at &= ~uintptr_t(0xFFFF);
            base = static_cast<uint8_t *>(::VirtualAlloc(reinterpret_cast<void *>(at), kPage,
                                                         MEM_RESERVE | MEM_COMMIT,
                                                         PAGE_EXECUTE_READWRITE));
        }
        if (base == nullptr) return;
        const uint8_t neighbour[] = {0xB8, 0x4E, 0, 0, 0, 0xC3};  // mov eax, 0x4E; ret
        const uint8_t body[] = {0xB8, 0x11, 0, 0, 0, 0xC3};       // mov eax, 0x11; ret
        std::memset(base, 0xCC, kPage);
        std::memcpy(base + kNeighbour, neighbour, sizeof neighbour);
        std::memcpy(base + kBody, body, sizeof body);
        void *target = base + kBody;
        std::memcpy(base + kSlot, &target, sizeof target);
        base[kStub] = 0xFF;
        base[kStub + 1] = 0x25;
#if defined(_WIN64)
        auto disp = int32_t(kSlot - (kStub + 6));  // jmp [rip+disp32]
#else
        auto disp = int32_t(reinterpret_cast<uintptr_t>(base + kSlot));  // jmp [abs32]
#endif
        std::memcpy(base + kStub + 2, &disp, sizeof disp);
        ::FlushInstructionCache(::GetCurrentProcess(), base, kPage);
    }
    ~CodePage() {
        if (base != nullptr) ::VirtualFree(base, 0, MEM_RELEASE);
    }
    Routine At(std::size_t offset) const { return reinterpret_cast<Routine>(base + offset); }
};

// Faults: the stub rewritten instead of the code it leads to (callers of the
// forwarded-to module's export escape the pin); more bytes written than the
// stub holds (the next routine broken); a jump that does not reach a routine
// more than 2 GiB away (x64: through the near stub; x86: the 5-byte jump
// wrapping round 4 GiB, in a large-address-aware host).
TEST(EntryJump, LandsInTheReplacementNearAndFarAndKeepsItsNeighbour) {
    const struct {
        const char *where;
        int64_t offset;
        bool beyond_reach;
    } kCases[] = {
#if defined(_WIN64)
        {"within reach", -(int64_t(1) << 28), false},
        {"beyond 2 GiB", int64_t(1) << 33, true},
#else
        // An x86 executable sits low: below it, an address would wrap.
        {"within reach", int64_t(1) << 28, false},
        {"beyond 2 GiB", int64_t(3) << 30, true},
#endif
    };
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.where);
        CodePage page(reinterpret_cast<const void *>(&Replacement), c.offset);
        ASSERT_NE(nullptr, page.base);
        const int64_t distance = int64_t(reinterpret_cast<uintptr_t>(page.base)) -
                                 int64_t(reinterpret_cast<uintptr_t>(&Replacement));
        ASSERT_EQ(c.beyond_reach, distance > INT32_MAX || distance < INT32_MIN) << distance;
        uint8_t stub_before[6];
        std::memcpy(stub_before, page.base + kStub, sizeof stub_before);
        ASSERT_EQ(0x11, page.At(kStub)());

        ASSERT_TRUE(RedirectEntry(page.base + kStub, reinterpret_cast<const void *>(&Replacement)));
        EXPECT_EQ(0x77, page.At(kStub)());
        EXPECT_EQ(0x77, page.At(kBody)());
        EXPECT_EQ(0x4E, page.At(kNeighbour)());
        EXPECT_EQ(0, std::memcmp(stub_before, page.base + kStub, sizeof stub_before));
    }
}

#if defined(_WIN64)
// Fault: a jump written over a routine its unwind data says is shorter, into
// whatever follows it.
TEST(EntryJump, RefusesCodeShorterThanTheJump) {
    CodePage page(reinterpret_cast<const void *>(&Replacement), -(int64_t(1) << 28));
    ASSERT_NE(nullptr, page.base);
    const uint8_t tiny[] = {0x31, 0xC0, 0xC3};          // xor eax, eax; ret
    const uint8_t unwind[] = {0x01, 0x00, 0x00, 0x00};  // version 1, no prologue, no codes
    std::memcpy(page.base + kBody, tiny, sizeof tiny);
    std::memcpy(page.base + kUnwind, unwind, sizeof unwind);
    RUNTIME_FUNCTION table[1] = {{DWORD(kBody), DWORD(kBody + sizeof tiny), DWORD(kUnwind)}};
    ASSERT_TRUE(::RtlAddFunctionTable(table, 1, reinterpret_cast<DWORD64>(page.base)));
    uint8_t before[16];
    std::memcpy(before, page.base + kBody, sizeof before);

    EXPECT_FALSE(RedirectEntry(page.base + kBody, reinterpret_cast<const void *>(&Replacement)));
    EXPECT_EQ(0, std::memcmp(before, page.base + kBody, sizeof before));
    EXPECT_EQ(0, page.At(kBody)());
    ::RtlDeleteFunctionTable(table);
}
#endif

}  // namespace
