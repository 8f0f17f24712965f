// Reading the log back. The file holds each line end as the platform's text
// files do (CR LF on Windows, checked by LogFile.LineEndsAreThoseOfATextFile);
// the other cases read it as a host reads a text file, with LF line ends.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace logtest {

#if defined(_WIN32)
inline constexpr char kFileNewline[] = "\r\n";
#else
inline constexpr char kFileNewline[] = "\n";
#endif

inline std::string RawBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::string AsText(const std::string &path) {
    std::string raw = RawBytes(path), text;
    const std::string nl = kFileNewline;
    for (std::size_t i = 0; i < raw.size();) {
        if (raw.compare(i, nl.size(), nl) == 0) {
            text += '\n';
            i += nl.size();
        } else {
            text += raw[i++];
        }
    }
    return text;
}

}  // namespace logtest
