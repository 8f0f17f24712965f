#include "media/openfile.h"

#include "common/log.h"

namespace vx {

std::unique_ptr<UpdateFile> UpdateFile::OpenFile(const char *path) {
    platform::FileHandle file = platform::OpenForUpdate(path);
    if (file == platform::kNoFile) {
        LibLog("OpenFile:%s Failed\n", path != nullptr ? path : "(null)");
        return nullptr;
    }
    return std::unique_ptr<UpdateFile>(new UpdateFile(file));
}

std::size_t UpdateFile::ReadAt(uint64_t pos, void *buf, std::size_t n) {
    long long got = platform::ReadAt(file_, pos, buf, n);
    return got < 0 ? 0 : std::size_t(got);
}

bool UpdateFile::WriteAt(uint64_t pos, const void *buf, std::size_t n) {
    return platform::WriteAt(file_, pos, buf, n);
}

void UpdateFile::close() {
    platform::CloseFile(file_);
    file_ = platform::kNoFile;
}

}  // namespace vx
