// The AVI reader on crafted files: marker, index layouts, stream layouts.
#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

#include "media/avi.h"
#include "unit/avi_builder.h"

namespace {

using namespace testavi;

vx::AviHandle open_bytes(const Bytes &b) {
    return vx::AVI_open_input_stream(
        std::make_unique<std::istringstream>(std::string(b.begin(), b.end())));
}

Bytes with_byte(Bytes b, size_t at, uint8_t v) {
    b[at] = v;
    return b;
}

std::vector<FrameSpec> mixed_frames() {
    return {{"00dc", 301, 0x10}, {"01wb", 17, 0x10}, {"00db", 280, 0},
            {"00dc", 1, 0},      {"01wb", 4, 0},     {"00dc", 555, 0x10}};
}

// The marker is byte 47 of a 56-byte main header (offset 79 in these files),
// reported on standard output; a main header of another size carries none.
TEST(AviMarker, OnlyA56ByteMainHeaderCarriesTheMarker) {
    struct Row {
        uint32_t avih_size;
        uint8_t marker;
        int encrypt;
        uint64_t offset;
        const char *printed;
    } const rows[] = {
        // clang-format off
        {.avih_size = 56, .marker = 0x80, .encrypt = 1, .offset = 79,
         .printed = "encryptoffset=0x4f,encrypt=0xffffff80\n"},
        {.avih_size = 56, .marker = 0, .encrypt = 0, .offset = 79,
         .printed = "encryptoffset=0x4f,encrypt=0x00\n"},
        {.avih_size = 64, .marker = 1, .encrypt = 0, .offset = 0, .printed = ""},
        // clang-format on
    };
    for (const Row &row : rows) {
        testing::internal::CaptureStdout();
        auto r = open_bytes(build_avi({.avih_size = row.avih_size, .marker = row.marker}).bytes);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.printed);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->encrypt, row.encrypt) << int(row.marker);
        EXPECT_EQ(r->encryptoffset, row.offset) << int(row.marker);
    }
}

// Every index layout, and every tag and list type in either case (idx1's
// included), must point each frame at the first byte after its chunk header,
// including after odd-sized chunks and their pad bytes, and find the marker.
TEST(AviIndex, AllLayoutsAndTagCasesGiveTheFirstDataByteOfEachVideoFrame) {
    for (Index ix : {Index::relative, Index::absolute, Index::none})
        for (TagCase c : {TagCase::as_is, TagCase::upper, TagCase::lower}) {
            SCOPED_TRACE(::testing::Message() << "index " << int(ix) << " case " << int(c));
            const AviSpec s{.streams = {"vids", "auds"},
                            .marker = 7,
                            .index = ix,
                            .tag_case = c,
                            .frames = mixed_frames()};
            Built b = build_avi(s);
            auto r = open_bytes(b.bytes);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->encrypt, 1);
            EXPECT_EQ(r->encryptoffset, 79u);
            ASSERT_EQ(r->video_frames, 4);
            const size_t video[] = {0, 2, 3, 5};
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(r->frames[i].pos, b.data_pos[video[i]]) << " frame " << i;
                EXPECT_EQ(r->frames[i].len, s.frames[video[i]].size);
                EXPECT_EQ(r->frames[i].key, ix == Index::none ? 0u : s.frames[video[i]].flags);
            }
            EXPECT_EQ(r->movi_offset, b.movi + 4);
        }
}

TEST(AviIndex, VideoStreamAfterAudioUsesItsOwnNumber) {
    auto r = open_bytes(
        build_avi(
            {.streams = {"auds", "auds", "vids"},
             .frames = {{"00wb", 10, 0x10}, {"02dc", 300, 0x10}, {"02DB", 300, 0}, {"01wb", 9, 0}}})
            .bytes);
    ASSERT_TRUE(r);
    EXPECT_STREQ(r->video_tag, "02db");
    EXPECT_EQ(r->video_frames, 2);
    EXPECT_EQ(r->audio_streams, 2);
}

TEST(AviIndex, EightAudioStreamsOpenNineDoNot) {
    AviSpec s;
    s.streams.assign(9, "auds");
    s.streams[0] = "vids";
    EXPECT_TRUE(open_bytes(build_avi(s).bytes));
    s.streams.push_back("auds");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(open_bytes(build_avi(s).bytes));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error - only 8 audio tracks supported\n");
}

// An index whose offsets fit neither reading is rebuilt by scanning, which
// finds the frames but not their key flags.
TEST(AviIndex, UnusableIdx1IsRebuiltWithoutFlags) {
    Built b = build_avi({.frames = {{"00dc", 300, 0x10}, {"00dc", 301, 0x10}}});
    const size_t idx1 = b.bytes.size() - 32;
    b.bytes[idx1 + 8] ^= 0x40;  // first entry's offset now points at nothing
    auto r = open_bytes(b.bytes);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->video_frames, 2);
    EXPECT_EQ(r->frames[0].key, 0u);
    EXPECT_EQ(r->frames[1].pos, b.data_pos[1]);
}

// Each refused file is a usable one (one key frame, idx1) with one thing wrong.
TEST(AviOpen, RefusesFilesThatAreNotUsableRecordings) {
    const Built good = build_avi(AviSpec{});
    const Bytes &ok = good.bytes;
    ASSERT_TRUE(open_bytes(ok));
    const std::vector<FrameSpec> audio = {{"01wb", 300, 0x10}};
    const struct {
        const char *why;
        Bytes bytes;
    } refused[] = {
        {"shorter than 12", Bytes(ok.begin(), ok.begin() + 11)},
        {"not RIFF", with_byte(ok, 0, 'X')},
        {"not AVI", with_byte(ok, 10, 'X')},
        {"no hdrl", with_byte(ok, 20, 'X')},
        {"list type reads short", Bytes(ok.begin(), ok.begin() + 12 + 10)},
        {"no movi: another list", with_byte(ok, good.movi, 'X')},
        {"idx1 reads short", Bytes(ok.begin(), ok.end() - 1)},
        // An idx1 size far beyond the file: refused, not allocated.
        {"huge idx1", with_byte(ok, ok.size() - 16 - 4 + 3, 0xF0)},
        {"video without format", build_avi({.video_strf = false}).bytes},
        {"no video stream",
         build_avi({.streams = {"auds"}, .frames = {{"00wb", 300, 0x10}}}).bytes},
        {"index without video", build_avi({.frames = audio}).bytes},
        {"scan without video", build_avi({.index = Index::none, .frames = audio}).bytes},
    };
    for (const auto &c : refused) EXPECT_FALSE(open_bytes(c.bytes)) << c.why;
}

// A list whose size cannot even hold its type must not walk backwards.
TEST(AviOpen, TinyListSizesDoNotLoop) {
    Bytes bytes = build_avi(AviSpec{}).bytes;
    const uint8_t junk[] = {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'J', 'U', 'N', 'K'};
    bytes.insert(bytes.end(), std::begin(junk), std::end(junk));
    EXPECT_TRUE(open_bytes(bytes));
}

TEST(AviOpen, FilePathsOpenAndMissingOnesDoNot) {
    EXPECT_FALSE(vx::AVI_open_input_file("/nonexistent/dir/x.avi"));
    EXPECT_FALSE(vx::AVI_open_input_file(nullptr));
    char path[] = "/tmp/avi_reader_testXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    Bytes b = build_avi(AviSpec{}).bytes;
    ASSERT_EQ(write(fd, b.data(), b.size()), ssize_t(b.size()));
    close(fd);
    auto r = vx::AVI_open_input_file(path);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->file);
    r->CloseFile();
    vx::AVI_close_input_file(r);
    EXPECT_FALSE(r);
    unlink(path);
}

}  // namespace
