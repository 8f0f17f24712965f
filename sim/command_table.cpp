// The recorder's command protocol: one command line in, the reply bytes out.
//
// Precedence: a handler installed with set_handler() for the keyword, then the
// rows below, then the generic get/set of stored values. Handlers run whether
// or not the device is logged in; they may check rec.logged_in.
#include <cctype>

#include "commands.h"
#include "internal.h"

namespace vsim {

const char kOk[] = "OK\r\n";
const char kParaError[] = "Error: para is error\r\n";

bool parse_command(const std::string &line, Command *cmd) {
    if (line.compare(0, 3, "VX+") != 0) return false;
    std::size_t end = line.find_first_of("?=", 3);
    cmd->keyword = line.substr(3, end == std::string::npos ? std::string::npos : end - 3);
    if (end != std::string::npos) {
        cmd->form = line[end];
        cmd->args = line.substr(end + 1);
    }
    return !cmd->keyword.empty();
}

std::string data_line(const std::string &key, const std::string &payload) {
    return "+" + key + ":" + payload + "\r\n";
}

std::string reply(const Command &c, const std::string &payload) {
    return data_line(c.keyword, payload) + kOk;
}

namespace {

struct Row {
    const char *keyword;
    Handle handle;
    bool needs_login = true;
    bool indexed = false;  // the keyword is followed by a number ("VIDEOOSD1")
};

// One row per command of the protocol.
const Row kRows[] = {
    {"GBIDCODE", on_idcode, false},
    {"LOGIN", on_login, false},
    {"LOGINID", on_login_id, false},
    {"LOGINPWD", on_login_pwd, false},
    {"LOGOUT", on_logout, false},
    {"PCUDISKSTAT", on_read_only, false},
    // Identity, clock, account, device information
    {"DEVNAME", on_text},
    {"UID", on_read_only},
    {"UUID", on_read_only},
    {"VID", on_read_only},
    {"DID", on_read_only},
    {"SYSTIME", on_systime},
    {"USER", on_user},
    {"BATVAL", on_read_only},
    {"MVEINFO", on_read_only},
    {"SVEINFO", on_read_only},
    {"RECVPWD", on_number},
    {"GBCFG", on_gbcfg},
    // Network, access points, switches
    {"APN", on_text},
    {"VPN", on_vpn},
    {"SERVADDR", on_servaddr},
    {"SSID", on_text},
    {"APADD", on_apadd},
    {"APDEL", on_apdel},
    {"APLIST", on_aplist},
    {"APSEL", on_apsel},
    {"UDISKAUTHEN", on_number},
    {"PFPTTEN", on_number},
    {"SERVHEARTBEAT", on_number},
    {"GPSEN", on_number},
    // Platform services
    {"TALKBACKCFG", on_service},
    {"GB28181CFG", on_service},
    {"GPSSERVCFG", on_service},
    {"CMSV6CFG", on_service},
    {"PTYTCFG", on_service},
    {"LBSCFG", on_service},
    {"0787SERV01CFG", on_service},
    {"DIAGNOSTICCFG", on_service},
    // Storage, power, logs, OSD
    {"UDISKEN", on_udisken},
    {"MKFS", on_mkfs},
    {"FRESET", on_freset},
    {"LOGLEVEL", on_number},
    {"LOGEXPORT", on_logexport},
    {"POWEROFF", on_poweroff},
    {"POWERSAVE", on_powersave},
    {"VIDEOOSD", on_videoosd, true, true},
    // Data channel, configuration text, shell
    {"DATAPTHREAD", on_datapthread},
    {"BASE64", on_base64},
    {"UMSINI", on_umsini},
    {"UMSJSON", on_umsjson},
    {"SYSCMD", on_syscmd},
};

bool digits_only(const std::string &text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

const Row *find_row(const std::string &keyword) {
    for (const Row &r : kRows) {
        if (keyword == r.keyword) return &r;
        if (r.indexed &&
            keyword.compare(0, std::char_traits<char>::length(r.keyword), r.keyword) == 0 &&
            digits_only(keyword, std::char_traits<char>::length(r.keyword)))
            return &r;
    }
    return nullptr;
}

}  // namespace

std::string answer(Recorder &rec, const std::string &line) {
    Command c;
    if (!parse_command(line, &c)) return kParaError;

    auto h = state().handlers.find(c.keyword);
    if (h != state().handlers.end()) {
        Handler copy = h->second;  // the handler may replace itself
        return copy(rec, line);
    }

    const Row *row = find_row(c.keyword);
    if ((!row || row->needs_login) && !rec.logged_in) return "Error: not login\r\n";
    return row ? row->handle(rec, c) : on_stored(rec, c);
}

}  // namespace vsim
