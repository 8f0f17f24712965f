#include "common/secret_mask.h"

namespace vx {
namespace {

// The command lines and reply lines that carry a password or a digest, by
// what starts them, and how many leading fields (separated by ':') of their
// value are not secret. Everything after them, to the line's end, is.
struct SecretRow {
    std::string_view prefix;
    int kept_fields;
};
constexpr SecretRow kSecretRows[] = {
    {"VX+LOGIN=", 1},     // user:digest
    {"VX+LOGINPWD=", 0},  // the password text as given
    {"VX+USER=", 1},      // user:digest:digest
    {"VX+RECVPWD=", 0},   // the recording password
    {"+RECVPWD:", 0},     // and the device's answer with it
    {"VX+APADD=", 1},     // ssid:access point password
};

bool StartsLine(const std::string &text, std::size_t at) {
    return at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
}

}  // namespace

std::string MaskSecrets(std::string_view text) {
    std::string out(text);
    for (const SecretRow &row : kSecretRows) {
        for (std::size_t at = out.find(row.prefix); at != std::string::npos;
             at = out.find(row.prefix, at + 1)) {
            if (!StartsLine(out, at)) continue;
            std::size_t from = at + row.prefix.size();
            std::size_t end = out.find_first_of("\r\n", from);
            if (end == std::string::npos) end = out.size();
            for (int kept = 0; kept < row.kept_fields && from < end; ++kept) {
                std::size_t sep = out.find(':', from);
                from = sep == std::string::npos || sep > end ? end : sep + 1;
            }
            for (std::size_t i = from; i < end; ++i) out[i] = '*';
        }
    }
    return out;
}

}  // namespace vx
