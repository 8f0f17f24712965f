// A read-only std::istream over a file opened through the platform layer, so
// the AVI reader names its file by the same path rule as every other file
// operation of the library.
#pragma once

#include <istream>
#include <memory>
#include <streambuf>

#include "platform/platform.h"

namespace vx {

class HandleStreamBuf : public std::streambuf {
public:
    // cppcheck-suppress uninitMemberVar ; buf_ is filled by underflow before it is read
    explicit HandleStreamBuf(platform::FileHandle file) : file_(file) {}
    ~HandleStreamBuf() override { platform::CloseFile(file_); }
    HandleStreamBuf(const HandleStreamBuf &) = delete;
    HandleStreamBuf &operator=(const HandleStreamBuf &) = delete;

protected:
    int_type underflow() override;
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override;
    pos_type seekpos(pos_type pos, std::ios_base::openmode mode) override;

private:
    platform::FileHandle file_;
    long long base_ = 0;  // file offset of buf_[0]
    char buf_[1 << 16];
};

class HandleStream : public std::istream {
public:
    explicit HandleStream(platform::FileHandle file) : std::istream(nullptr), buf_(file) {
        rdbuf(&buf_);
    }

private:
    HandleStreamBuf buf_;
};

// Opens path for reading; null when the file cannot be opened.
std::unique_ptr<std::istream> OpenInputStream(const char *path);

}  // namespace vx
