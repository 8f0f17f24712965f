#include "media/riff.h"

#include <limits>

namespace vx::riff {

std::size_t ReadAt(std::istream &in, uint64_t pos, void *buf, std::size_t n) {
    if (pos > static_cast<uint64_t>(std::numeric_limits<std::streamoff>::max())) return 0;
    in.clear();
    if (!in.seekg(static_cast<std::streamoff>(pos), std::ios::beg)) {
        in.clear();
        return 0;
    }
    in.read(static_cast<char *>(buf), static_cast<std::streamsize>(n));
    auto got = static_cast<std::size_t>(in.gcount());
    in.clear();
    return got;
}

}  // namespace vx::riff
