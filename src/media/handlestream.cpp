#include "media/handlestream.h"

namespace vx {

HandleStreamBuf::int_type HandleStreamBuf::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    long long next = base_ + (egptr() - eback());
    long long got = platform::ReadAt(file_, uint64_t(next), buf_, sizeof buf_);
    if (got <= 0) return traits_type::eof();
    base_ = next;
    setg(buf_, buf_, buf_ + got);
    return traits_type::to_int_type(*gptr());
}

HandleStreamBuf::pos_type HandleStreamBuf::seekoff(off_type off, std::ios_base::seekdir dir,
                                                   std::ios_base::openmode mode) {
    long long here = base_ + (gptr() - eback());
    long long target;
    if (dir == std::ios_base::beg) {
        target = off;
    } else if (dir == std::ios_base::cur) {
        target = here + off;
    } else {
        long long size = platform::SizeOf(file_);
        if (size < 0) return pos_type(off_type(-1));
        target = size + off;
    }
    return seekpos(pos_type(off_type(target)), mode);
}

HandleStreamBuf::pos_type HandleStreamBuf::seekpos(pos_type pos, std::ios_base::openmode) {
    long long target = off_type(pos);
    if (target < 0) return pos_type(off_type(-1));
    long long avail = egptr() - eback();
    if (target >= base_ && target < base_ + avail) {
        setg(eback(), eback() + (target - base_), egptr());  // inside the buffer
    } else {
        base_ = target;
        setg(buf_, buf_, buf_);  // empty: the next read fills from target
    }
    return pos;
}

std::unique_ptr<std::istream> OpenInputStream(const char *path) {
    platform::FileHandle file = platform::OpenForRead(path);
    if (file == platform::kNoFile) return nullptr;
    return std::make_unique<HandleStream>(file);
}

}  // namespace vx
