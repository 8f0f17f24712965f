#include "platform/posix/crash_writer_posix.h"

namespace vx::platform {

SafeText &SafeText::Put(const char *s) {
    while (s != nullptr && *s != '\0' && len_ + 1 < cap_) buf_[len_++] = *s++;
    Terminate();
    return *this;
}

SafeText &SafeText::Dec(long long v, int min_digits) {
    char digits[24];
    int n = 0;
    bool negative = v < 0;
    unsigned long long u =
        negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        digits[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0 && n < 20);
    while (n < min_digits && n < 20) digits[n++] = '0';
    if (negative) Put("-");
    char out[24];
    for (int i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
    out[n] = '\0';
    return Put(out);
}

SafeText &SafeText::Hex(uint64_t v) {
    char out[19] = "0x";
    for (int i = 0; i < 16; ++i) out[2 + i] = "0123456789abcdef"[(v >> (60 - 4 * i)) & 0xF];
    out[18] = '\0';
    return Put(out);
}

namespace {
// Days since 1970-01-01 to a civil date (proleptic Gregorian); H. Hinnant's
// algorithm, integer only.
void CivilFromDays(int64_t z, int64_t *y, int *m, int *d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = yoe + era * 400 + (*m <= 2 ? 1 : 0);
}
}  // namespace

void CrashDumpName(const char *dir, int64_t local_seconds, char *out, std::size_t capacity) {
    int64_t days = local_seconds >= 0 ? local_seconds / 86400 : (local_seconds - 86399) / 86400;
    int64_t secs = local_seconds - days * 86400;
    int64_t year = 0;
    int month = 0, day = 0;
    CivilFromDays(days, &year, &month, &day);
    SafeText t(out, capacity);
    t.Put(dir).Put("/TarnbyCrash-").Dec(year).Dec(month, 2).Dec(day, 2).Put(" ");
    t.Dec(secs / 3600, 2).Dec(secs / 60 % 60, 2).Dec(secs % 60, 2).Put(".dmp");
}

}  // namespace vx::platform
