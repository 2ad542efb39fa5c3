// Runs a libFuzzer entry point without libFuzzer: seeded pseudo-random inputs
// of random length, plus any files named on the command line as a corpus.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    long runs = 20000;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        long v = std::strtol(argv[i], &end, 10);
        if (end && *end == '\0') runs = v;
        else files.emplace_back(argv[i]);
    }
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        std::vector<uint8_t> buf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::mt19937 rng(12345);
    std::vector<uint8_t> buf;
    for (long r = 0; r < runs; ++r) {
        size_t len = rng() % (r % 16 == 0 ? 4096 : 300);
        buf.resize(len);
        for (auto& b : buf) b = static_cast<uint8_t>(rng());
        // Bias some inputs towards small values so headers parse more often.
        if (r % 3 == 0)
            for (auto& b : buf) b = static_cast<uint8_t>(b % 8);
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::printf("%ld runs: 1 passed, 0 failed\n", runs);
    return 0;
}
