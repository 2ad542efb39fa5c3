// Where the tests find the source tree's scripts and peers and the build's
// controller: fixed by the build, so that a test runs from any working
// directory and any build folder. TC_SOURCE_DIR in the environment, as CTest
// sets it, takes precedence.
#pragma once

#include <cstdlib>
#include <string>

namespace tc_test {

inline std::string sourceDir() {
    const char* src = std::getenv("TC_SOURCE_DIR");
    return src != nullptr ? src : TC_SOURCE_DIR_PATH;
}

}  // namespace tc_test
