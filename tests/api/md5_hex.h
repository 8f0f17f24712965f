// MD5 in upper-case hex from OpenSSL: the independent oracle for the login
// digests the library sends.
#pragma once

#include <openssl/evp.h>

#include <cstdio>
#include <string>

namespace testsupport {

inline std::string Md5Hex(const std::string &text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr);
    std::string hex;
    char byte[3];
    for (unsigned int i = 0; i < len; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", digest[i]);
        hex += byte;
    }
    return hex;
}

}  // namespace testsupport
