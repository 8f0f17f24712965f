// Recordings up to 4 GiB: key frames beyond 2 GiB (and near 4 GiB) in a
// sparse file, with idx1 offsets both movi-relative and absolute.
#include <fcntl.h>
#include <unistd.h>

#include "interop/media_fixture.h"
#include "unit/avi_builder.h"

namespace {

using namespace media_test;
using namespace testavi;

constexpr uint64_t kGiB = uint64_t{1} << 30;

struct Piece {
    uint64_t at;
    Bytes bytes;
};

// Writes the pieces into a sparse file of the given size.
void write_sparse(const fs::path &p, uint64_t size, const std::vector<Piece> &pieces) {
    int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(size)), 0);
    for (const Piece &pc : pieces)
        ASSERT_EQ(::pwrite(fd, pc.bytes.data(), pc.bytes.size(), off_t(pc.at)),
                  ssize_t(pc.bytes.size()));
    ::close(fd);
}

Bytes ReadAt(const fs::path &p, uint64_t at, size_t n) {
    Bytes b(n);
    int fd = ::open(p.c_str(), O_RDONLY);
    EXPECT_EQ(::pread(fd, b.data(), n, off_t(at)), ssize_t(n));
    ::close(fd);
    return b;
}

TEST(FileDecryptLarge, KeyFramesBeyondTwoGiBDecryptInPlace) {
    const uint64_t frame_at[] = {2 * kGiB + 4096, 3 * kGiB + 12345, 4 * kGiB - 8192};
    const uint32_t frame_len = 1000;
    const uint64_t file_size = 4 * kGiB - 4096;

    for (bool absolute : {false, true}) {
        SCOPED_TRACE(absolute ? "absolute idx1" : "relative idx1");
        TempDir dir;
        const uint64_t idx1_at = frame_at[2] + 8 + frame_len;
        const uint32_t riff_size = uint32_t(file_size - 8);
        Bytes h = encrypted_head(riff_size, 0);
        const uint64_t movi = h.size() - 4;  // the "movi" fourcc
        h = encrypted_head(riff_size, uint32_t(idx1_at - movi));
        // A JUNK chunk spans the hole between the headers and the first frame.
        put(h, "JUNK");
        put32(h, uint32_t(frame_at[0] - 8 - (h.size() + 4)));
        std::vector<Piece> pieces{{0, h}};
        std::vector<Bytes> plain;
        Bytes idx;
        put(idx, "idx1");
        put32(idx, 16 * 3);
        for (int i = 0; i < 3; ++i) {
            Bytes chunk;
            put(chunk, "00dc");
            put32(chunk, frame_len);
            for (uint32_t k = 0; k < frame_len; ++k) chunk.push_back(uint8_t(k * 13 + i));
            plain.push_back(Bytes(chunk.begin() + 8, chunk.end()));
            encrypt_frame(chunk, 8, "big");
            pieces.push_back({frame_at[i] - 8, chunk});
            put(idx, "00dc");
            put32(idx, 0x10);
            put32(idx, uint32_t(absolute ? frame_at[i] - 8 : frame_at[i] - 8 - movi));
            put32(idx, frame_len);
        }
        pieces.push_back({idx1_at, idx});
        const fs::path in = dir / "big.avi", out = dir / "big-plain.avi";
        write_sparse(in, file_size, pieces);

        LogCapture log;
        ASSERT_EQ(VX_FileDecrypt(in.c_str(), out.c_str(), "big"), 1);
        EXPECT_TRUE(log.has("decryptcount=3\n")) << log.text();
        EXPECT_TRUE(log.has("pos=" + std::to_string(frame_at[2]) + ",")) << log.text();
        ASSERT_EQ(fs::file_size(out), file_size);
        EXPECT_EQ(ReadAt(out, 79, 1)[0], 0);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadAt(out, frame_at[i], frame_len), plain[i]) << i;
        EXPECT_EQ(ReadAt(out, idx1_at, idx.size()), idx);
        EXPECT_EQ(ReadAt(in, 79, 1)[0], 1) << "input modified";
    }
}

}  // namespace
