// The recorder's command protocol: one command line in, the reply bytes out.
//
// Precedence: a handler installed with set_handler() for the keyword, then the
// built-in rows below, then the generic get/set of stored values. Handlers run
// whether or not the device is logged in; they may check rec.logged_in.
#include <openssl/evp.h>

#include <cstdio>

#include "internal.h"

namespace vsim {

std::string Recorder::get(const std::string &key) const {
    for (const auto &kv : values)
        if (kv.first == key) return kv.second;
    return {};
}

void Recorder::set(const std::string &key, const std::string &value) {
    for (auto &kv : values) {
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    }
    values.emplace_back(key, value);
}

namespace {

const char kOk[] = "OK\r\n";
const char kParaError[] = "Error: para is error\r\n";
const char kPasswordError[] = "Error: password error\r\n";

// A command split into its parts: "VX+" keyword, then '?', '=' args, or nothing.
struct Command {
    std::string keyword;
    char form = 0;  // '?', '=' or 0 (bare)
    std::string args;
};

bool parse(const std::string &line, Command *cmd) {
    if (line.compare(0, 3, "VX+") != 0) return false;
    std::size_t end = line.find_first_of("?=", 3);
    cmd->keyword = line.substr(3, end == std::string::npos ? std::string::npos : end - 3);
    if (end != std::string::npos) {
        cmd->form = line[end];
        cmd->args = line.substr(end + 1);
    }
    return !cmd->keyword.empty();
}

std::string md5_upper_hex(const std::string &text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (!EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr)) return {};
    std::string hex;
    char byte[3];
    for (unsigned int i = 0; i < len; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", digest[i]);
        hex += byte;
    }
    return hex;
}

std::string data_line(const std::string &key, const std::string &payload) {
    return "+" + key + ":" + payload + "\r\n";
}

std::string on_idcode(Recorder &rec, const Command &c) {
    if (c.form != '?') return kParaError;
    return data_line(c.keyword, rec.spec.id_code) + kOk;
}

std::string on_login(Recorder &rec, const Command &c) {
    std::size_t colon = c.args.find(':');
    if (c.form != '=' || colon == std::string::npos) return kParaError;
    std::string user = c.args.substr(0, colon);
    std::string digest = c.args.substr(colon + 1);
    rec.logged_in = user == rec.spec.user && digest == md5_upper_hex(rec.spec.password);
    if (rec.logged_in) return data_line(c.keyword, "Sucess") + kOk;
    return data_line(c.keyword, "Fail") + kPasswordError;
}

std::string on_login_id(Recorder &rec, const Command &c) {
    if (c.form != '?') return kParaError;
    return data_line(c.keyword, rec.spec.login_id) + kOk;
}

std::string on_login_pwd(Recorder &rec, const Command &c) {
    if (c.form != '=') return kParaError;
    rec.logged_in = c.args == rec.spec.login_pwd;
    if (rec.logged_in) return data_line(c.keyword, "Sucess") + kOk;
    return data_line(c.keyword, "Fail") + kPasswordError;
}

std::string on_logout(Recorder &rec, const Command &c) {
    rec.logged_in = false;
    return data_line(c.keyword, "Sucess") + kOk;
}

// A get answers the stored value; a set stores its arguments and echoes them.
// A bare command answers like a get.
std::string on_value(Recorder &rec, const Command &c) {
    if (c.form == '=') {
        rec.set(c.keyword, c.args);
        return data_line(c.keyword, c.args) + kOk;
    }
    for (const auto &kv : rec.values)
        if (kv.first == c.keyword) return data_line(c.keyword, kv.second) + kOk;
    return "Error: unsupported command\r\n";
}

struct Builtin {
    const char *keyword;
    bool needs_login;
    std::string (*handle)(Recorder &, const Command &);
};

// One row per command the recorder knows beyond plain stored values.
constexpr Builtin kBuiltins[] = {
    {"GBIDCODE", false, on_idcode},
    {"LOGIN", false, on_login},
    {"LOGINID", false, on_login_id},
    {"LOGINPWD", false, on_login_pwd},
    {"LOGOUT", false, on_logout},
};

}  // namespace

std::string answer(Recorder &rec, const std::string &line) {
    Command c;
    if (!parse(line, &c)) return kParaError;

    auto h = state().handlers.find(c.keyword);
    if (h != state().handlers.end()) {
        Handler copy = h->second;  // the handler may replace itself
        return copy(rec, line);
    }

    std::string (*handle)(Recorder &, const Command &) = on_value;
    bool needs_login = true;
    for (const Builtin &b : kBuiltins) {
        if (c.keyword == b.keyword) {
            handle = b.handle;
            needs_login = b.needs_login;
            break;
        }
    }
    if (needs_login && !rec.logged_in) return "Error: not login\r\n";
    return handle(rec, c);
}

}  // namespace vsim
