// avi_encrypt IN OUT KEY: writes OUT, a copy of the AVI file IN with bytes
// 24..279 of every key frame DES-encrypted under KEY (at most 8 characters)
// and the encryption marker set, as a recorder writes it. For tests and the
// demo sample only.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/avi_crypt.h"

int main(int argc, char **argv) {
    if (argc != 4 || std::string(argv[3]).size() > 8) {
        std::fprintf(stderr, "usage: avi_encrypt IN OUT KEY   (KEY: at most 8 characters)\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    testavi::Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int n = testavi::encrypt_avi(data, argv[3]);
    if (n < 0) {
        std::fprintf(stderr, "%s: no main AVI header or a key frame shorter than its window\n",
                     argv[1]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%d key frames encrypted\n", n);
    return 0;
}
