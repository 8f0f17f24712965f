// The command protocol's shared pieces: a parsed command, the reply forms,
// and every built-in handler (one small function per command or kind of
// command). command_table.cpp ties keywords to them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "vsim.h"

#pragma GCC visibility push(hidden)

namespace vsim {

// A command split into its parts: "VX+" keyword, then '?', '=' args, or nothing.
struct Command {
    std::string keyword;
    char form = 0;  // '?', '=' or 0 (bare)
    std::string args;
};

bool parse_command(const std::string &line, Command *cmd);

extern const char kOk[];         // "OK\r\n"
extern const char kParaError[];  // "Error: para is error\r\n"

std::string data_line(const std::string &key, const std::string &payload);
// One data line for the command's keyword, then OK.
std::string reply(const Command &c, const std::string &payload);

using Handle = std::string (*)(Recorder &, const Command &);

// commands_session.cpp
std::string on_idcode(Recorder &, const Command &);
std::string on_login(Recorder &, const Command &);
std::string on_login_id(Recorder &, const Command &);
std::string on_login_pwd(Recorder &, const Command &);
std::string on_logout(Recorder &, const Command &);

// commands_values.cpp: stored values in their plain forms
std::string on_text(Recorder &, const Command &);       // get and set a text
std::string on_number(Recorder &, const Command &);     // get and set a %d number
std::string on_read_only(Recorder &, const Command &);  // get only
std::string on_stored(Recorder &, const Command &);     // any keyword a test stored

// commands_identity.cpp
std::string on_gbcfg(Recorder &, const Command &);
std::string on_systime(Recorder &, const Command &);
std::string on_user(Recorder &, const Command &);

// commands_network.cpp
std::string on_vpn(Recorder &, const Command &);
std::string on_servaddr(Recorder &, const Command &);
std::string on_apadd(Recorder &, const Command &);
std::string on_apdel(Recorder &, const Command &);
std::string on_apsel(Recorder &, const Command &);
std::string on_aplist(Recorder &, const Command &);

// commands_services.cpp
std::string on_service(Recorder &, const Command &);
// Each family's keyword with its default pairs text.
std::vector<std::pair<std::string, std::string>> service_defaults();

// commands_storage.cpp
std::string on_udisken(Recorder &, const Command &);
std::string on_mkfs(Recorder &, const Command &);
std::string on_freset(Recorder &, const Command &);
std::string on_logexport(Recorder &, const Command &);
std::string on_poweroff(Recorder &, const Command &);
std::string on_powersave(Recorder &, const Command &);
std::string on_videoosd(Recorder &, const Command &);

// commands_data.cpp
std::string on_datapthread(Recorder &, const Command &);
std::string on_base64(Recorder &, const Command &);
std::string on_syscmd(Recorder &, const Command &);

// commands_config.cpp
std::string on_umsini(Recorder &, const Command &);
std::string on_umsjson(Recorder &, const Command &);

}  // namespace vsim

#pragma GCC visibility pop
