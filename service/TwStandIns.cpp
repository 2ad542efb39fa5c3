// Stand-in definitions until the runtime and the loader's host settings
// land. The runtime's strong definitions replace the weak ones below.
#include "service/TwStandIns.h"

#include "runtime/rgtask.h"

__attribute__((weak)) uint32_t sysclock_ticks = 0;
__attribute__((weak)) int AllRgExecutedwMMM = 0;

namespace tw_standin {
namespace {
int offset = 0;
}
void setPortOffset(int value) { offset = value; }
int portOffset() { return offset; }
}  // namespace tw_standin
