// The library's file-open helper for updating a file in place ("rb+"): each
// read and write at an offset is one positional system call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace vx {

class UpdateFile {
public:
    // Opens an existing file for reading and writing; logs
    // "OpenFile:<path> Failed" and returns null when it cannot.
    static std::unique_ptr<UpdateFile> OpenFile(const char *path);
    ~UpdateFile() { close(); }

    std::size_t ReadAt(uint64_t pos, void *buf, std::size_t n);
    bool WriteAt(uint64_t pos, const void *buf, std::size_t n);
    void close();

private:
    explicit UpdateFile(platform::FileHandle file) : file_(file) {}
    platform::FileHandle file_;
};

}  // namespace vx
