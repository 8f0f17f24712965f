// The library's file-open helper for updating a file in place ("rb+"):
// unbuffered, so each read and write at an offset is one system call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>

namespace vx {

class UpdateFile {
public:
    // Opens an existing file for reading and writing; logs
    // "OpenFile:<path> Failed" and returns null when it cannot.
    static std::unique_ptr<UpdateFile> OpenFile(const char *path);

    std::size_t read_at(uint64_t pos, void *buf, std::size_t n);
    bool write_at(uint64_t pos, const void *buf, std::size_t n);
    void close() { f_.close(); }

private:
    std::fstream f_;
};

}  // namespace vx
