// Runs a libFuzzer entry point without libFuzzer: every file named on the
// command line (or found in a folder named there: the target's corpus and
// the inputs that once failed) first, then seeded pseudo-random inputs of
// random length, every other one (with a corpus) made from a named file by
// changing, inserting and cutting bytes, so that the parsers are also
// reached past their headers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of `base` with a few bytes changed, inserted or cut.
std::vector<uint8_t> mutated(const std::vector<uint8_t>& base, std::mt19937& rng) {
    std::vector<uint8_t> buf = base;
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
        const size_t at = buf.empty() ? 0 : rng() % buf.size();
        switch (rng() % 4) {
            case 0: if (!buf.empty()) buf[at] = static_cast<uint8_t>(rng()); break;
            case 1: if (!buf.empty()) buf[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
            case 2: buf.insert(buf.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng())); break;
            default: buf.resize(at); break;
        }
    }
    return buf;
}

}  // namespace

int main(int argc, char** argv) {
    long runs = 20000;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        long v = std::strtol(argv[i], &end, 10);
        if (end && *end == '\0') {
            runs = v;
        } else if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.emplace_back(argv[i]);
        }
    }
    std::vector<std::vector<uint8_t>> corpus;
    for (const auto& f : files) {
        corpus.push_back(readFile(f));
        LLVMFuzzerTestOneInput(corpus.back().data(), corpus.back().size());
    }
    std::mt19937 rng(12345);
    std::vector<uint8_t> buf;
    for (long r = 0; r < runs; ++r) {
        // With a corpus, every other input is a changed copy of one of it.
        if (!corpus.empty() && r % 2 == 1) {
            buf = mutated(corpus[rng() % corpus.size()], rng);
            LLVMFuzzerTestOneInput(buf.data(), buf.size());
            continue;
        }
        size_t len = rng() % (r % 16 == 0 ? 4096 : 300);
        buf.resize(len);
        for (auto& b : buf) b = static_cast<uint8_t>(rng());
        // Bias some inputs towards small values so headers parse more often.
        if (r % 3 == 0)
            for (auto& b : buf) b = static_cast<uint8_t>(b % 8);
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::printf("%ld runs and %zu inputs of the corpus: 1 passed, 0 failed\n", runs, corpus.size());
    return 0;
}
