// ffmpeg-made recordings in each index layout, both codecs and with eight
// audio streams, encrypted with OpenSSL, must come back byte for byte through
// VX_FileDecrypt (tag cases and mixed video tags are the reader's unit tests).
#include "interop/media_fixture.h"

namespace {

using namespace media_test;
using namespace testavi;

const char *kKey = "k3y!";

struct Variant {
    std::string name;
    Bytes plain;
};

// Rewrites idx1 offsets from movi-relative (ffmpeg's) to absolute.
Bytes absolute_index(Bytes b) {
    Layout l = parse(b);
    for (size_t e = l.idx1; e + 16 <= l.idx1 + l.idx1_size; e += 16)
        wr32(b, e + 8, uint32_t(rd32(b, e + 8) + l.movi));
    return b;
}

std::vector<Variant> variants() {
    const Recordings &r = Recordings::get();
    Bytes h264 = read_file(r.h264);
    return {{"h264 relative idx1", h264},
            {"h264 absolute idx1", absolute_index(h264)},
            {"h265 relative idx1", read_file(r.hevc)},
            {"h264 with 8 audio streams", read_file(r.audio8)}};
}

TEST(FileDecryptRoundTrip, EveryLayoutComesBackByteForByte) {
    const std::vector<Variant> all = variants();
    // ffmpeg pads odd-sized chunks; the frames after them must still be found.
    int odd = 0;
    for (const Chunk &c : parse(all[0].plain).movi_chunks) odd += c.size & 1;
    EXPECT_GT(odd, 0) << "the fixture lost its odd-sized chunks";
    for (const Variant &v : all) {
        SCOPED_TRACE(v.name);
        ASSERT_GT(v.plain.size(), 1000u);
        ASSERT_EQ(v.plain[parse(v.plain).marker], 0);
        Bytes enc = v.plain;
        const int frames = encrypt_avi(enc, kKey);
        ASSERT_GE(frames, 2);
        Decryption d(enc);
        LogCapture log;
        EXPECT_EQ(d.decrypt(kKey), 1);
        EXPECT_TRUE(log.has("decryptcount=" + std::to_string(frames) + "\n")) << log.text();
        EXPECT_TRUE(d.input_intact()) << "input modified";
        EXPECT_EQ(read_file(d.out), v.plain);
        EXPECT_TRUE(ffprobe_reads(d.out, v.name.find("8 audio") == std::string::npos ? 50 : 25));
    }
}

// Each key frame read from the encrypted file decrypts in memory to the
// original frame, for both codecs' frame starts.
TEST(FrameDecryptInterop, KeyFramesOfBothCodecsDecryptInMemory) {
    const Recordings &r = Recordings::get();
    for (const fs::path &p : {r.h264, r.hevc}) {
        Bytes plain = read_file(p), enc = plain;
        ASSERT_GE(encrypt_avi(enc, kKey), 2);
        Layout l = parse(enc);
        for (size_t pos : key_frames(enc, l)) {
            const uint32_t len = rd32(enc, pos - 4);
            std::vector<uint8_t> out(len, 0xEE);
            ASSERT_EQ(VX_FrameDecrypt(&enc[pos], int32_t(len), out.data(), kKey), 1) << p;
            EXPECT_TRUE(std::equal(out.begin(), out.end(), plain.begin() + long(pos)))
                << p << " @" << pos;
        }
    }
}

// A wrong key is not detected: the output is the input with noise in the
// encrypted stretches and the marker cleared.
TEST(FileDecryptRoundTrip, WrongKeyGivesNoiseNotFailure) {
    Bytes plain = read_file(Recordings::get().h264), enc = plain;
    ASSERT_GE(encrypt_avi(enc, kKey), 2);
    Decryption d(enc);
    EXPECT_EQ(d.decrypt("wrong"), 1);
    Bytes out = read_file(d.out);
    ASSERT_EQ(out.size(), plain.size());
    EXPECT_NE(out, plain);
    Layout l = parse(plain);
    EXPECT_EQ(out[l.marker], 0);
    for (size_t i = 0; i < out.size(); ++i) {
        bool in_window = false;
        for (size_t pos : key_frames(plain, l)) in_window |= i >= pos + 24 && i < pos + 280;
        if (!in_window) {
            ASSERT_EQ(out[i], plain[i]) << "byte " << i;
        }
    }
}

}  // namespace
