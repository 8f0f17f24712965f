// The process's local time zone for a scope; the zone found before (or none)
// is put back at its end, also when an assertion leaves the test early.
// Windows' runtime reads POSIX-style zones only, so a zone is named both ways.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace testsupport {

class LocalZone {
public:
    LocalZone(const char *posix, [[maybe_unused]] const char *tzdata) {
        if (const char *tz = std::getenv("TZ")) saved_ = tz;
#if defined(_WIN32)
        Put(posix);
#else
        Put(tzdata);
#endif
    }
    ~LocalZone() { Put(saved_); }
    LocalZone(const LocalZone &) = delete;
    LocalZone &operator=(const LocalZone &) = delete;

private:
    static void Put(const std::optional<std::string> &tz) {
#if defined(_WIN32)
        _putenv_s("TZ", tz ? tz->c_str() : "");
        _tzset();
#else
        tz ? ::setenv("TZ", tz->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
#endif
    }
    std::optional<std::string> saved_;
};

}  // namespace testsupport
