#include "media/openfile.h"

#include <limits>

#include "common/log.h"
#include "media/riff.h"

namespace vx {

std::unique_ptr<UpdateFile> UpdateFile::OpenFile(const char *path) {
    auto file = std::make_unique<UpdateFile>();
    file->f_.rdbuf()->pubsetbuf(nullptr, 0);  // must precede open
    if (path != nullptr) file->f_.open(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file->f_.is_open()) {
        LibLog("OpenFile:%s Failed\n", path != nullptr ? path : "(null)");
        return nullptr;
    }
    return file;
}

std::size_t UpdateFile::read_at(uint64_t pos, void *buf, std::size_t n) {
    return riff::read_at(f_, pos, buf, n);
}

bool UpdateFile::write_at(uint64_t pos, const void *buf, std::size_t n) {
    if (pos > static_cast<uint64_t>(std::numeric_limits<std::streamoff>::max())) return false;
    f_.clear();
    f_.seekp(static_cast<std::streamoff>(pos), std::ios::beg);
    f_.write(static_cast<const char *>(buf), static_cast<std::streamsize>(n));
    bool ok = f_.good();
    f_.clear();
    return ok;
}

}  // namespace vx
