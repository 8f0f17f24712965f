// Async-signal-safe pieces of the crash dump: formatting into a fixed buffer
// and the dump's file name. Nothing here allocates, locks or reads the zone.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::platform {

// Appends text to a fixed buffer, cutting at its end; never overflows.
class SafeText {
public:
    SafeText(char *buf, std::size_t capacity) : buf_(buf), cap_(capacity) { Terminate(); }
    SafeText &Put(const char *s);
    SafeText &Dec(long long v, int min_digits = 1);
    SafeText &Hex(uint64_t v);
    const char *Str() const { return buf_; }
    std::size_t Size() const { return len_; }

private:
    void Terminate() {
        if (cap_ > 0) buf_[len_ < cap_ ? len_ : cap_ - 1] = '\0';
    }
    char *buf_;
    std::size_t cap_;
    std::size_t len_ = 0;
};

// Writes the dump file name for the given local time (seconds since the
// epoch, already shifted by the zone offset) into out:
// "<dir>/TarnbyCrash-YYYYMMDD HHMMSS.dmp".
void CrashDumpName(const char *dir, int64_t local_seconds, char *out, std::size_t capacity);

}  // namespace vx::platform
