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

std::vector<FrameSpec> mixed_frames() {
    return {{"00dc", 301, 0x10}, {"01wb", 17, 0x10}, {"00db", 280, 0},
            {"00dc", 1, 0},      {"01wb", 4, 0},     {"00dc", 555, 0x10}};
}

TEST(AviMarker, NonzeroMarkerMeansEncryptedAtOffset79) {
    AviSpec s;
    s.marker = 0x80;
    auto r = open_bytes(build_avi(s).bytes);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->encrypt, 1);
    EXPECT_EQ(r->encryptoffset, 79u);

    s.marker = 0;
    r = open_bytes(build_avi(s).bytes);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->encrypt, 0);
    EXPECT_EQ(r->encryptoffset, 79u);
}

TEST(AviMarker, MainHeaderOfAnotherSizeCarriesNoMarker) {
    AviSpec s;
    s.avih_size = 64;
    s.marker = 1;
    auto r = open_bytes(build_avi(s).bytes);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->encrypt, 0);
    EXPECT_EQ(r->encryptoffset, 0u);
}

TEST(AviMarker, ReportsTheMarkerOnStandardOutput) {
    AviSpec s;
    s.marker = 0x80;
    testing::internal::CaptureStdout();
    auto r = open_bytes(build_avi(s).bytes);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "encryptoffset=0x4f,encrypt=0xffffff80\n");
}

// Every index layout must point each frame at the first byte after its
// chunk header, including after odd-sized chunks and their pad bytes.
TEST(AviIndex, AllLayoutsGiveTheFirstDataByteOfEachVideoFrame) {
    for (Index ix : {Index::relative, Index::absolute, Index::none}) {
        AviSpec s;
        s.streams = {"vids", "auds"};
        s.index = ix;
        s.frames = mixed_frames();
        Built b = build_avi(s);
        auto r = open_bytes(b.bytes);
        ASSERT_TRUE(r) << int(ix);
        ASSERT_EQ(r->video_frames, 4) << int(ix);
        const size_t video[] = {0, 2, 3, 5};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(r->frames[i].pos, b.data_pos[video[i]]) << int(ix) << " frame " << i;
            EXPECT_EQ(r->frames[i].len, s.frames[video[i]].size);
            EXPECT_EQ(r->frames[i].key, ix == Index::none ? 0u : s.frames[video[i]].flags);
        }
        EXPECT_EQ(r->movi_offset, b.movi + 4);
    }
}

TEST(AviIndex, VideoStreamAfterAudioUsesItsOwnNumber) {
    AviSpec s;
    s.streams = {"auds", "auds", "vids"};
    s.frames = {{"00wb", 10, 0x10}, {"02dc", 300, 0x10}, {"02DB", 300, 0}, {"01wb", 9, 0}};
    auto r = open_bytes(build_avi(s).bytes);
    ASSERT_TRUE(r);
    EXPECT_STREQ(r->video_tag, "02db");
    EXPECT_EQ(r->video_frames, 2);
    EXPECT_EQ(r->audio_streams, 2);
}

// Every tag and list type in either case, idx1's included: the marker and
// each video frame found where they are in the as-is layout.
TEST(AviIndex, TagsMatchInAnyLetterCase) {
    for (TagCase c : {TagCase::upper, TagCase::lower}) {
        AviSpec s;
        s.tag_case = c;
        s.marker = 7;
        s.frames = mixed_frames();
        s.streams = {"vids", "auds"};
        Built b = build_avi(s);
        auto r = open_bytes(b.bytes);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->encrypt, 1);
        EXPECT_EQ(r->encryptoffset, 79u);
        ASSERT_EQ(r->video_frames, 4);
        const size_t video[] = {0, 2, 3, 5};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(r->frames[i].pos, b.data_pos[video[i]]) << i;
    }
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
    AviSpec s;
    s.frames = {{"00dc", 300, 0x10}, {"00dc", 301, 0x10}};
    Built b = build_avi(s);
    const size_t idx1 = b.bytes.size() - 32;
    b.bytes[idx1 + 8] ^= 0x40;  // first entry's offset now points at nothing
    auto r = open_bytes(b.bytes);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->video_frames, 2);
    EXPECT_EQ(r->frames[0].key, 0u);
    EXPECT_EQ(r->frames[1].pos, b.data_pos[1]);
}

Bytes with_byte(Bytes b, size_t at, uint8_t v) {
    b[at] = v;
    return b;
}

TEST(AviOpen, RefusesFilesThatAreNotUsableRecordings) {
    AviSpec good;
    good.frames = {{"00dc", 300, 0x10}};
    const Bytes ok = build_avi(good).bytes;
    ASSERT_TRUE(open_bytes(ok));

    EXPECT_FALSE(open_bytes(Bytes(ok.begin(), ok.begin() + 11))) << "shorter than 12";
    EXPECT_FALSE(open_bytes(with_byte(ok, 0, 'X'))) << "not RIFF";
    EXPECT_FALSE(open_bytes(with_byte(ok, 10, 'X'))) << "not AVI";
    EXPECT_FALSE(open_bytes(with_byte(ok, 20, 'X'))) << "no hdrl";

    AviSpec s = good;
    s.video_strf = false;
    EXPECT_FALSE(open_bytes(build_avi(s).bytes)) << "video without format";
    s = good;
    s.streams = {"auds"};
    s.frames = {{"00wb", 300, 0x10}};
    EXPECT_FALSE(open_bytes(build_avi(s).bytes)) << "no video stream";
    s = good;
    s.frames = {{"01wb", 300, 0x10}};
    EXPECT_FALSE(open_bytes(build_avi(s).bytes)) << "index without video";
    s.index = Index::none;
    EXPECT_FALSE(open_bytes(build_avi(s).bytes)) << "scan without video";
}

TEST(AviOpen, RefusesTruncatedListsAndIndexes) {
    AviSpec s;
    s.frames = {{"00dc", 300, 0x10}};
    Built b = build_avi(s);
    Bytes movi_gone = b.bytes;
    movi_gone[b.movi] = 'X';  // the movi list becomes some other list
    EXPECT_FALSE(open_bytes(movi_gone)) << "no movi";

    Bytes idx_cut(b.bytes.begin(), b.bytes.end() - 1);  // idx1 reads short
    EXPECT_FALSE(open_bytes(idx_cut));

    Bytes huge_idx = b.bytes;  // idx1 size far beyond the file: refused, not allocated
    const size_t size_at = b.bytes.size() - 16 - 4;
    huge_idx[size_at + 3] = 0xF0;
    EXPECT_FALSE(open_bytes(huge_idx));

    Bytes list_cut(b.bytes.begin(), b.bytes.begin() + 12 + 10);  // list type reads short
    EXPECT_FALSE(open_bytes(list_cut));
}

// A list whose size cannot even hold its type must not walk backwards.
TEST(AviOpen, TinyListSizesDoNotLoop) {
    AviSpec s;
    Built b = build_avi(s);
    Bytes bytes = b.bytes;
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
