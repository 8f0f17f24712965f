// VX_FrameDecrypt through the C interface: accepted frames, refusals that
// leave the caller's buffer alone, and its log lines.
#include "interop/media_fixture.h"

namespace {

using media_test::LogCapture;
using testavi::Bytes;

Bytes frame(size_t len, uint8_t nal = 0x67) {
    Bytes f(len);
    for (size_t i = 0; i < len; ++i) f[i] = uint8_t(i * 31 + 5);
    f[0] = f[1] = f[2] = 0;
    f[3] = 1;
    f[4] = nal;
    return f;
}

Bytes encrypted(Bytes f, const char *key_text) {
    testavi::encrypt_frame(f, 0, key_text);
    return f;
}

TEST(FrameDecrypt, BothCodecStartsDecryptOnlyTheWindow) {
    for (uint8_t nal : {uint8_t(0x67), uint8_t(0x46)}) {
        for (size_t len : {size_t(280), size_t(4000)}) {
            Bytes plain = frame(len, nal), enc = encrypted(plain, "abcdefgh");
            Bytes out(len, 0xAA);
            LogCapture log;
            EXPECT_EQ(VX_FrameDecrypt(enc.data(), int32_t(len), out.data(), "abcdefgh"), 1);
            EXPECT_EQ(out, plain);
            EXPECT_TRUE(log.has("DecryptVideoFrame start\n"));
            EXPECT_TRUE(log.has("des_decrypt start\n"));
        }
    }
}

// The frame itself may be the output; the empty key text is the all-zero key.
TEST(FrameDecrypt, DecryptsInPlaceUnderTheEmptyKeyText) {
    Bytes plain = frame(512), buf = encrypted(plain, "");
    EXPECT_EQ(VX_FrameDecrypt(buf.data(), 512, buf.data(), ""), 1);
    EXPECT_EQ(buf, plain);
}

// Refusals write nothing into the caller's buffer.
TEST(FrameDecrypt, RefusalsLeaveTheOutputAlone) {
    const Bytes untouched(600, 0x5C);
    struct Refusal {
        const char *why;
        Bytes f;
        const char *key;
        bool logs;
    } cases[] = {
        {"279 bytes", frame(279), "k", true},
        {"H.264 slice without parameter set", frame(600, 0x65), "k", true},
        {"H.265 VPS start", frame(600, 0x40), "k", true},
        {"nine-character key", frame(600), "123456789", false},
        {"null key", frame(600), nullptr, false},
    };
    for (const Refusal &c : cases) {
        Bytes out = untouched;
        LogCapture log;
        EXPECT_EQ(VX_FrameDecrypt(c.f.data(), int32_t(c.f.size()), out.data(), c.key), 0) << c.why;
        EXPECT_EQ(out, untouched) << c.why;
        EXPECT_EQ(log.has("DecryptVideoFrame start\n"), c.logs) << c.why;
        EXPECT_FALSE(log.has("des_decrypt")) << c.why;
    }
    EXPECT_EQ(VX_FrameDecrypt(nullptr, 600, nullptr, "k"), 0);
    Bytes f = frame(600);
    EXPECT_EQ(VX_FrameDecrypt(f.data(), -1, f.data(), "k"), 0);
}

// The caller decides what is encrypted: a plain frame comes back scrambled.
TEST(FrameDecrypt, PlainFrameIsScrambledNotDetected) {
    Bytes plain = frame(400), out(400);
    EXPECT_EQ(VX_FrameDecrypt(plain.data(), 400, out.data(), "k"), 1);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 24, plain.begin()));
    EXPECT_TRUE(std::equal(out.begin() + 280, out.end(), plain.begin() + 280));
    EXPECT_NE(out, plain);
}

}  // namespace
