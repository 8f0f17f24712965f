// vxctl decrypt / decrypt-frame: recording decryption through the C interface.
//
// Exit codes: 0 done, 1 the operation failed, 2 usage. Failures print one
// line on standard error and throw CLI::RuntimeError with the exit code, which
// CLI11's App::exit returns without printing anything more.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define vx_dup _dup
#define vx_dup2 _dup2
#define vx_close _close
#define vx_fileno _fileno
#else
#include <unistd.h>
#define vx_dup dup
#define vx_dup2 dup2
#define vx_close close
#define vx_fileno fileno
#endif

#include "LibVestra.h"
#include "commands.h"

namespace {

[[noreturn]] void Fail(int code, const std::string &message) {
    std::fprintf(stderr, "vxctl: %s\n", message.c_str());
    throw CLI::RuntimeError(code);
}

void CheckKey(const std::string &key) {
    if (key.size() > 8) Fail(2, "--key: the key text has at most 8 characters");
}

// The library reports why a decryption failed only in its log: send the log
// to standard output, catch that in a temporary file, and read it back.
class LogTap {
public:
    LogTap() : file_(std::tmpfile()) {
        std::fflush(stdout);
        if (file_ == nullptr) return;
        saved_ = vx_dup(vx_fileno(stdout));
        vx_dup2(vx_fileno(file_), vx_fileno(stdout));
        VX_SetLibLog(VX_LOG_CONSOLE);
    }
    ~LogTap() { text(); }
    LogTap(const LogTap &) = delete;
    LogTap &operator=(const LogTap &) = delete;

    const std::string &text() {
        if (file_ == nullptr) return text_;
        std::fflush(stdout);
        VX_SetLibLog(VX_LOG_FILE);
        vx_dup2(saved_, vx_fileno(stdout));
        vx_close(saved_);
        std::rewind(file_);
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, file_)) > 0;) text_.append(buf, n);
        (void)std::fclose(file_);  // read-only: nothing is lost when closing fails
        file_ = nullptr;
        return text_;
    }
    bool has(const char *s) { return text().find(s) != std::string::npos; }

private:
    std::FILE *file_;
    int saved_ = -1;
    std::string text_;
};

bool Exists(const std::string &path) { return std::ifstream(path, std::ios::binary).good(); }

void DecryptFile(const std::string &in, const std::string &out, const std::string &key) {
    CheckKey(key);
    if (!Exists(in)) Fail(1, "cannot read " + in);
    LogTap log;
    const int32_t ok = VX_FileDecrypt(in.c_str(), out.c_str(), key.c_str());
    const std::string &text = log.text();
    if (ok == 1) {
        std::size_t at = text.rfind("decryptcount=");
        std::string count =
            at == std::string::npos ? "?" : text.substr(at + 13, text.find('\n', at) - at - 13);
        std::printf("%s: %s key frames decrypted into %s\n", in.c_str(), count.c_str(),
                    out.c_str());
        return;
    }
    if (log.has("AVI_open_input_file Error"))
        Fail(1, in + " is not a readable AVI recording with a video index");
    if (log.has("infile no encrypt"))
        Fail(1, in + " is not encrypted; " + out + " is a plain copy");
    if (log.has("CopyFile:") || log.has("path too long") || log.has("OpenFile:"))
        Fail(1, "cannot write " + out + " (another file than the input is needed)");
    if (log.has(" of 280 bytes"))
        Fail(1, in + " is truncated: a key frame runs past the end of the file; no output written");
    if (log.has("decryptcount=-1"))
        Fail(1, in + " has no indexed key frames to decrypt; no output written");
    Fail(1, "decryption of " + in + " failed");
}

void DecryptFrame(const std::string &in, const std::string &out, const std::string &key) {
    CheckKey(key);
    std::ifstream f(in, std::ios::binary);
    if (!f) Fail(1, "cannot read " + in);
    std::vector<uint8_t> frame((std::istreambuf_iterator<char>(f)),
                               std::istreambuf_iterator<char>());
    if (frame.size() > INT32_MAX) Fail(1, in + " is too large for one frame");
    std::vector<uint8_t> plain(frame.size());
    VX_SetLibLog(VX_LOG_OFF);
    const int32_t ok =
        VX_FrameDecrypt(frame.data(), int32_t(frame.size()), plain.data(), key.c_str());
    VX_SetLibLog(VX_LOG_FILE);
    if (ok != 1) {
        if (frame.size() < 280)
            Fail(1, in + " is shorter than the 280 bytes of an encrypted key frame");
        Fail(1, in + " does not start like an H.264 or H.265 key frame (00 00 00 01 67 or 46)");
    }
    std::ofstream o(out, std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char *>(plain.data()), std::streamsize(plain.size()));
    if (!o) Fail(1, "cannot write " + out);
    std::printf("%s: frame of %zu bytes decrypted into %s\n", in.c_str(), plain.size(),
                out.c_str());
}

struct MediaArgs {
    std::string in, out, key;
};

CLI::App *AddDecryptCommand(CLI::App &app, const char *name, const char *help,
                            void (*run)(const std::string &, const std::string &,
                                        const std::string &)) {
    auto args = std::make_shared<MediaArgs>();
    CLI::App *cmd = app.add_subcommand(name, help);
    cmd->add_option("IN", args->in, "encrypted input")->required();
    cmd->add_option("OUT", args->out, "plain output (replaced if present)")->required();
    cmd->add_option("--key,-k", args->key, "key text, at most 8 characters")->required();
    cmd->callback([args, run] { run(args->in, args->out, args->key); });
    return cmd;
}

}  // namespace

void vxctl::AddMediaCommands(CLI::App &app) {
    AddDecryptCommand(app, "decrypt", "Decrypt an encrypted AVI recording into a playable copy",
                      DecryptFile);
    AddDecryptCommand(app, "decrypt-frame",
                      "Decrypt one encrypted key frame (a file holding one video chunk's data)",
                      DecryptFrame);
}
