// Paths reach the system exactly as the host gave them: bytes on Linux
// (names that are not UTF-8 included), the ANSI code page on Windows. Every
// file operation of one VX_FileDecrypt call names the same files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "LibVestra.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

const char kSample[] = VX_SOURCE_DIR "/samples/sample-encrypted.avi";
const char kKey[] = "demo1234";

// Narrow-path file access through the C runtime: the host's own way.
Bytes Read(const std::string &path) {
    Bytes out;
    if (std::FILE *f = std::fopen(path.c_str(), "rb")) {
        unsigned char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
        std::fclose(f);
    }
    return out;
}

bool Write(const std::string &path, const Bytes &b) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

class FileDecryptPaths : public ::testing::Test {
protected:
    void SetUp() override {
        VX_SetLibLog(VX_LOG_OFF);
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("vx_paths_" + std::to_string(rd()));
        fs::create_directories(dir_);
        narrow_dir_ = dir_.string();  // ASCII
        sample_ = Read(kSample);
        ASSERT_GT(sample_.size(), 1000u);
        // The reference: the same recording decrypted through ASCII names.
        ASSERT_TRUE(Write(In("ref_in.avi"), sample_));
        ASSERT_EQ(VX_FileDecrypt(In("ref_in.avi").c_str(), In("ref_out.avi").c_str(), kKey), 1);
        expected_ = Read(In("ref_out.avi"));
        ASSERT_EQ(expected_.size(), sample_.size());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string In(const std::string &name) const { return narrow_dir_ + "/" + name; }
    std::size_t Entries() const {
        return std::size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
    std::string narrow_dir_;
    Bytes sample_, expected_;
};

#if defined(_WIN32)
// Names in the ANSI code page (1252): e-acute, the euro sign, y-diaeresis.
const char kInName[] = "in_\xE9\x80.avi";
const char kOutName[] = "out_\xFF.avi";
#else
// Bytes that are not UTF-8: a lone continuation byte, 0xFF, Latin-1 e-acute.
const char kInName[] = "in_\x80\xFF.avi";
const char kOutName[] = "out_\xE9.avi";
#endif

TEST_F(FileDecryptPaths, NarrowNamesNameTheSameFilesInEveryStep) {
    const std::string in = In(kInName), out = In(kOutName);
    ASSERT_TRUE(Write(in, sample_));
    // An older file at the output path must be replaced, not decrypted again.
    ASSERT_TRUE(Write(out, Bytes(sample_.size() + 7, 0x5A)));
    const std::size_t before = Entries();

    EXPECT_EQ(VX_FileDecrypt(in.c_str(), out.c_str(), kKey), 1);
    EXPECT_EQ(Read(out), expected_);
    EXPECT_EQ(Read(in), sample_);  // the input is never changed
    EXPECT_EQ(Entries(), before);  // no stray copy under another name

    // Not encrypted: the output is a plain copy under exactly the given name.
    ASSERT_TRUE(Write(in, expected_));
    ASSERT_EQ(std::remove(out.c_str()), 0);
    EXPECT_EQ(VX_FileDecrypt(in.c_str(), out.c_str(), kKey), 0);
    EXPECT_EQ(Read(out), expected_);
    EXPECT_EQ(Entries(), before);
}

}  // namespace
