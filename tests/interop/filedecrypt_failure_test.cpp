// What VX_FileDecrypt leaves behind when it cannot decrypt: results, log
// lines, the output file's fate, and an input that is never touched.
#include "interop/media_fixture.h"
#include "unit/avi_builder.h"

namespace {

using namespace media_test;
using namespace testavi;

const char *kKey = "12345678";

Bytes encrypted_h264() {
    Bytes b = read_file(Recordings::get().h264);
    EXPECT_GE(encrypt_avi(b, kKey), 2);
    return b;
}

TEST(FileDecryptFailure, PlainRecordingGivesZeroAndAPlainCopy) {
    Decryption c(read_file(Recordings::get().h264));
    write_file(c.out, {1, 2, 3});  // replaced
    LogCapture log;
    EXPECT_EQ(c.decrypt(kKey), 0);
    EXPECT_TRUE(log.has("infile no encrypt\n"));
    EXPECT_EQ(read_file(c.out), c.input);
    EXPECT_TRUE(c.input_intact());
}

TEST(FileDecryptFailure, KeyTextOfNineCharactersIsRefusedBeforeAnyWork) {
    Decryption c(encrypted_h264());
    LogCapture log;
    EXPECT_EQ(c.decrypt("123456789"), 0);
    EXPECT_TRUE(log.has("VX_FileDecrypt start\n"));
    EXPECT_FALSE(log.has("DecryptVideoFileEx start"));
    EXPECT_FALSE(fs::exists(c.out));
    EXPECT_EQ(c.decrypt(nullptr), 0);
    EXPECT_FALSE(fs::exists(c.out));
}

// Unreadable inputs leave an existing output exactly as it was.
TEST(FileDecryptFailure, UnreadableInputsLeaveTheOutputUntouched) {
    Bytes not_avi(4096, 'x');
    Bytes nine_audio = read_file(Recordings::get().audio9);
    ASSERT_EQ(encrypt_avi(nine_audio, kKey) >= 2, true);
    for (const Bytes &input : {not_avi, nine_audio, Bytes{}}) {
        Decryption c(input);
        const Bytes previous{9, 9, 9};
        write_file(c.out, previous);
        LogCapture log;
        EXPECT_EQ(c.decrypt(kKey), 0);
        EXPECT_TRUE(log.has("DecryptVideoFileEx start\n"));
        EXPECT_TRUE(log.has("AVI_open_input_file Error\n"));
        EXPECT_EQ(read_file(c.out), previous);
        EXPECT_TRUE(c.input_intact());
    }
    TempDir dir;
    EXPECT_EQ(VX_FileDecrypt((dir / "missing.avi").c_str(), (dir / "o.avi").c_str(), kKey), 0);
    EXPECT_FALSE(fs::exists(dir / "o.avi"));
}

// Decryption that fails once it has begun leaves no output (one that
// existed before is gone) and the input as it was; the log says how far it
// got. Without idx1 the index is rebuilt by scanning and carries no key
// flags; a last key frame less than 280 bytes before the end of the file
// fails after the earlier frame was decrypted.
TEST(FileDecryptFailure, FailureAfterTheStartLeavesNoOutput) {
    Bytes no_index = encrypted_h264();
    std::memcpy(&no_index[parse(no_index).idx1 - 8], "JUNK", 4);
    const AviSpec past_end{.marker = 1, .frames = {{"00dc", 400, 0x10}, {"00dc", 100, 0x10}}};
    const struct {
        const char *why;
        Bytes input;
        std::vector<std::string> logged;
    } rows[] = {
        {"no index", no_index, {"decryptcount=-1\n"}},
        {"key frame past the end",  // then idx1: 8 + 32 bytes
         build_avi(past_end).bytes,
         {"[0/2: 1]  key=16,", "read 140 of 280 bytes", "decryptcount=-1\n"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.why);
        Decryption c(row.input);
        write_file(c.out, {7});
        LogCapture log;
        EXPECT_EQ(c.decrypt(kKey), 0);
        for (const std::string &line : row.logged) EXPECT_TRUE(log.has(line)) << log.text();
        EXPECT_FALSE(fs::exists(c.out));
        EXPECT_TRUE(c.input_intact());
    }
}

// A key frame shorter than 280 bytes is decrypted over its window, which
// reaches into the chunks that follow it.
TEST(FileDecryptFailure, ShortKeyFrameWindowReachesIntoTheNextChunk) {
    Built plain = build_avi({.streams = {"vids", "auds"},
                             .frames = {{"00dc", 101, 0x10}, {"01wb", 500, 0}, {"00dc", 300, 0}}});
    Bytes enc = plain.bytes;
    encrypt_frame(enc, plain.data_pos[0], kKey);
    enc[79] = 1;
    Decryption c(enc);
    EXPECT_EQ(c.decrypt(kKey), 1);
    EXPECT_EQ(read_file(c.out), plain.bytes);
}

TEST(FileDecryptFailure, OutputThatCannotBeWrittenFails) {
    Decryption c(encrypted_h264());
    const fs::path nowhere = c.dir / "no" / "such" / "dir.avi";
    EXPECT_EQ(VX_FileDecrypt(c.in.c_str(), nowhere.c_str(), kKey), 0);
    EXPECT_FALSE(fs::exists(nowhere));
    // Naming the input as output must not decrypt the input in place.
    EXPECT_EQ(VX_FileDecrypt(c.in.c_str(), c.in.c_str(), kKey), 0);
    EXPECT_TRUE(c.input_intact());
    // A path longer than the 256-unit conversion buffer is refused cleanly.
    const std::string long_out = (c.dir / std::string(300, 'a')).string();
    EXPECT_EQ(VX_FileDecrypt(c.in.c_str(), long_out.c_str(), kKey), 0);
    EXPECT_TRUE(c.input_intact());
}

}  // namespace
