// vxctl's time-zone commands: tz-find, tz-name, tz-list. They use only the
// library's public C interface. Exit codes: 0 found, 1 not found, 2 usage.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "commands.h"

namespace {

constexpr int kNotFound = 1;
constexpr int kUsage = 2;

[[noreturn]] void Fail(int code, const std::string &message) {
    std::fprintf(stderr, "vxctl: %s\n", message.c_str());
    throw CLI::RuntimeError(code);
}

// Positionals are taken as plain words and checked here, so that every usage
// fault of these commands ends with the same exit code.
void ExpectWords(const CLI::App *cmd, const std::vector<std::string> &words, std::size_t n,
                 const char *usage) {
    if (words.size() != n || cmd->remaining_size() != 0)
        Fail(kUsage, std::string("usage: vxctl ") + usage);
}

int32_t ParseIndex(const std::string &word, const char *what) {
    errno = 0;
    char *end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        Fail(kUsage, std::string(what) + " must be an integer, not '" + word + "'");
    return static_cast<int32_t>(value);
}

void PrintZone(int32_t r, int32_t c, int32_t z) {
    char text[VX_TZ_TEXT_MIN] = {};
    GetTimeZoneStr(r, c, z, text);
    std::printf("%d %d %d %s\n", r, c, z, text);
}

void TzFind(const CLI::App *cmd, const std::vector<std::string> &words) {
    ExpectWords(cmd, words, 1, "tz-find REGION/LOCATION");
    int32_t r = -1, c = -1, z = 1;
    if (GetTimeZoneIndex(words[0].c_str(), &r, &c, &z) != 1) {
        if (r >= 0)
            Fail(kNotFound,
                 "no zone '" + words[0] + "' (the region exists, the location does not)");
        Fail(kNotFound, "no zone '" + words[0] + "' (unknown region; names are case-sensitive)");
    }
    PrintZone(r, c, z);
}

void TzName(const CLI::App *cmd, const std::vector<std::string> &words) {
    ExpectWords(cmd, words, 3, "tz-name REGION COUNTRY ZONE");
    int32_t r = ParseIndex(words[0], "REGION");
    int32_t c = ParseIndex(words[1], "COUNTRY");
    int32_t z = ParseIndex(words[2], "ZONE");
    char text[VX_TZ_TEXT_MIN] = {};
    if (GetTimeZoneStr(r, c, z, text) != 1)
        Fail(kNotFound, "indexes out of range (region 0-8, country 0-53, zone 0-31)");
    // The library answers empty slots with empty parts ("/Antarctica/").
    std::size_t n = std::strlen(text);
    if (n == 0 || text[0] == '/' || text[n - 1] == '/')
        Fail(kNotFound,
             "no zone at " + words[0] + " " + words[1] + " " + words[2] + " (empty slot)");
    std::printf("%s\n", text);
}

void TzList(const CLI::App *cmd, const std::vector<std::string> &words) {
    ExpectWords(cmd, words, 0, "tz-list");
    auto regions = std::make_unique<TimeZoneRegion[]>(VX_TZ_REGIONS);
    GetAllTimeZone(regions.get());
    for (int32_t r = 0; r < VX_TZ_REGIONS; ++r) {
        const TimeZoneRegion &region = regions[r];
        for (int32_t c = 0; c < VX_TZ_COUNTRY_SLOTS && region.countries[c].code[0] != '\0'; ++c) {
            const TimeZoneCountry &country = region.countries[c];
            for (int32_t z = 0; z < VX_TZ_ZONE_SLOTS && country.cities[z].location[0] != '\0'; ++z)
                PrintZone(r, c, z);
        }
    }
}

using Handler = void (*)(const CLI::App *, const std::vector<std::string> &);

void Add(CLI::App &app, const char *name, const char *about, const char *words_name,
         const char *words_help, Handler handler) {
    CLI::App *cmd = app.add_subcommand(name, about);
    auto words = std::make_shared<std::vector<std::string>>();
    if (words_name != nullptr) cmd->add_option(words_name, *words, words_help);
    cmd->allow_extras();
    cmd->callback([cmd, words, handler] { handler(cmd, *words); });
}

}  // namespace

void vxctl::AddTimezoneCommands(CLI::App &app) {
    Add(app, "tz-find", "Find a time zone by name: prints REGION COUNTRY ZONE CODE/Region/Location",
        "NAME", "REGION/LOCATION, e.g. America/Argentina/Buenos_Aires", TzFind);
    Add(app, "tz-name", "Name the time zone at REGION COUNTRY ZONE indexes", "INDEXES",
        "REGION COUNTRY ZONE, e.g. 0 9 0", TzName);
    Add(app, "tz-list", "List the whole time-zone catalogue, one zone per line with its indexes",
        nullptr, nullptr, TzList);
}
