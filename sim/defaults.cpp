// What a recorder holds when it is plugged, before any preset. Texts that
// identify it are derived from its USB serial string ("A1B2C3_1": serial
// A1B2C3, U-disk status 1), so two recorders never look alike.
#include <cstdio>

#include "commands.h"
#include "internal.h"

namespace vsim {
namespace {

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// FNV-1a: a stable, short fingerprint of the serial string.
unsigned fingerprint(const std::string &text) {
    unsigned h = 2166136261u;
    for (unsigned char ch : text) h = (h ^ ch) * 16777619u;
    return h;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> default_values(const DeviceSpec &spec) {
    std::size_t underscore = spec.serial.find('_');
    std::string serial = spec.serial.substr(0, underscore);
    std::string udisk = underscore == std::string::npos ? "0" : spec.serial.substr(underscore + 1);
    int udisk_status = 0;
    // Leading digits as the recorder reads them; none leaves 0.
    // NOLINTNEXTLINE(cert-err34-c)
    (void)std::sscanf(udisk.c_str(), "%d", &udisk_status);
    std::string model = spec.model.empty() ? "Recorder" : spec.model;

    std::vector<std::pair<std::string, std::string>> v = {
        {"DEVNAME", serial.empty() ? model : model + " " + serial},
        {"UID", "00" + serial},
        {"UUID", "VU" + hex(fingerprint(spec.serial), 8)},
        {"VID", hex(spec.vid, 4)},
        {"DID", hex(spec.pid, 4)},
        {"SYSTIME", "20240101000000,0,0,UTC"},
        {"USER", spec.user},
        {"BATVAL", "87"},
        {"MVEINFO", "1920x1080,30,4096"},
        {"SVEINFO", "640x360,15,512"},
        {"RECVPWD", "0"},
        {"GBCFG", serial.substr(0, 7) + ",000001,Officer,320100000000,Patrol unit"},
        {"PCUDISKSTAT", std::to_string(udisk_status)},
        {"APN", "internet"},
        {"VPN", "NULL,NULL,NULL"},
        {"SERVADDR", "0.0.0.0,0"},
        {"SSID", "REC-" + (serial.empty() ? model : serial)},
        {"APLIST", ""},
        {"APSEL", ""},
        {"UDISKAUTHEN", "0"},
        {"PFPTTEN", "0"},
        {"SERVHEARTBEAT", "60"},
        {"GPSEN", "1"},
        {"LOGLEVEL", "2"},
        {"DATAPTHREAD", "0"},
        {"UMSINI",
         "System.Language=en|Video.Resolution=1920x1080|Video.FrameRate=30|Record.PreRecordSec=10"},
    };
    for (const auto &kv : service_defaults()) v.push_back(kv);
    return v;
}

}  // namespace vsim
