// One key frame's work (key schedule + 32 blocks) through des_decrypt and
// through OpenSSL's libcrypto.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include <cstring>

#include "LibVestra.h"
#include "media/des.h"
#include "ratio_reporter.h"

namespace {

struct Frame {
    uint8_t key[8] = {'k', 'e', 'y', 't', 'e', 'x', 't', 0};
    uint8_t data[256];
    Frame() {
        for (int i = 0; i < 256; ++i) data[i] = static_cast<uint8_t>(i * 37 + 11);
    }
};

void BM_VestraKeyFrame(benchmark::State &state) {
    VX_SetLibLog(VX_LOG_OFF);
    Frame f;
    for (auto _ : state) {
        vx::des_decrypt(f.key, f.data, 32);
        benchmark::DoNotOptimize(f.data);
        f.key[0]++;  // a fresh key each frame, as the schedule is per call anyway
    }
}

void BM_OpenSslKeyFrame(benchmark::State &state) {
    Frame f;
    for (auto _ : state) {
        DES_cblock k;
        std::memcpy(k, f.key, 8);
        DES_key_schedule ks;
        DES_set_key_unchecked(&k, &ks);
        for (int i = 0; i < 32; ++i) {
            auto *blk = reinterpret_cast<DES_cblock *>(f.data + 8 * i);
            DES_ecb_encrypt(blk, blk, &ks, DES_DECRYPT);
        }
        benchmark::DoNotOptimize(f.data);
        f.key[0]++;
    }
}

}  // namespace

BENCHMARK(BM_VestraKeyFrame);
BENCHMARK(BM_OpenSslKeyFrame);

RATIO_BENCHMARK_MAIN({"BM_VestraKeyFrame", "BM_OpenSslKeyFrame"})
