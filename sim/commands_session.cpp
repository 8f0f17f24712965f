// Identification and the session: the commands that need no login.
#if defined(_WIN32)
#include "util/md5.h"
#else
#include <openssl/evp.h>
#endif

#include <cstdio>

#include "commands.h"

namespace vsim {
namespace {

const char kPasswordError[] = "Error: password error\r\n";

}  // namespace

#if defined(_WIN32)
// No OpenSSL in the Windows build: the library's own digest checks the login.
std::string password_digest(const std::string &text) {
    return vx::Md5HexUpper(text.data(), text.size());
}
#else
// OpenSSL's digest, independent of the library's, checks the login.
std::string password_digest(const std::string &text) {
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
#endif

namespace {

// cppcheck-suppress constParameter ; every command handler has the one signature
std::string login_outcome(Recorder &rec, const Command &c) {
    if (rec.logged_in) return reply(c, "Sucess");
    return data_line(c.keyword, "Fail") + kPasswordError;
}

}  // namespace

// cppcheck-suppress constParameter ; every command handler has the one signature
std::string on_idcode(Recorder &rec, const Command &c) {
    if (c.form != '?') return kParaError;
    return reply(c, rec.spec.id_code);
}

std::string on_login(Recorder &rec, const Command &c) {
    std::size_t colon = c.args.find(':');
    if (c.form != '=' || colon == std::string::npos) return kParaError;
    std::string user = c.args.substr(0, colon);
    std::string digest = c.args.substr(colon + 1);
    rec.logged_in = user == rec.spec.user && digest == password_digest(rec.spec.password);
    return login_outcome(rec, c);
}

// cppcheck-suppress constParameter ; every command handler has the one signature
std::string on_login_id(Recorder &rec, const Command &c) {
    if (c.form != '?') return kParaError;
    return reply(c, rec.spec.login_id);
}

std::string on_login_pwd(Recorder &rec, const Command &c) {
    if (c.form != '=') return kParaError;
    rec.logged_in = c.args == rec.spec.login_pwd;
    return login_outcome(rec, c);
}

std::string on_logout(Recorder &rec, const Command &c) {
    rec.logged_in = false;
    return reply(c, "Sucess");
}

}  // namespace vsim
