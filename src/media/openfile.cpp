#include "media/openfile.h"

#include "common/log.h"

namespace vx {

std::unique_ptr<UpdateFile> UpdateFile::OpenFile(const char *path) {
    platform::FileHandle file = platform::open_for_update(path);
    if (file == platform::kNoFile) {
        LibLog("OpenFile:%s Failed\n", path != nullptr ? path : "(null)");
        return nullptr;
    }
    return std::unique_ptr<UpdateFile>(new UpdateFile(file));
}

std::size_t UpdateFile::read_at(uint64_t pos, void *buf, std::size_t n) {
    long long got = platform::read_at(file_, pos, buf, n);
    return got < 0 ? 0 : std::size_t(got);
}

bool UpdateFile::write_at(uint64_t pos, const void *buf, std::size_t n) {
    return platform::write_at(file_, pos, buf, n);
}

void UpdateFile::close() {
    platform::close_file(file_);
    file_ = platform::kNoFile;
}

}  // namespace vx
