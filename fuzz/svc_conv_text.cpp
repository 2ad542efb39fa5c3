// Fuzz target of the text conversions: a NUL-terminated copy of the input
// parsed as a decimal number and as a duration with ticks of 1, 10, 3000 and
// -1 ms; the parsers must stay inside the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "blocks/svc_conv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    const char* end = text.get() + std::strlen(text.get());
    const char* p = text.get();
    ASC_TO_REAL(&p);
    if (p < text.get() || p > end) std::abort();
    for (int32_t tick : {1, 10, 3000, -1, 0}) {
        p = text.get();
        ASC_TO_TIMER(&p, tick);
        if (p < text.get() || p > end) std::abort();
    }
    return 0;
}
