#include "tests/support/tune_defaults.h"

#include "runtime/appmem.h"
#include "runtime/catalogue_tables.h"

namespace tc_test {

void loadTuneDefaults() {
    for (uint32_t k = 0; k < num_tune_defaults; ++k) {
        const TuneDefault& d = _tune_defaults[k];
        void* p = cell_ptr(d.cell);
        if (d.type == 'A') *static_cast<float*>(p) = static_cast<float>(d.value);
        else if (d.type == 'I') *static_cast<int32_t*>(p) = static_cast<int32_t>(d.value);
        else if (d.type == 'B' || d.type == 'U') *static_cast<uint32_t*>(p) = static_cast<uint32_t>(d.value);
        else if (d.type == 'C' && d.text) str_cell_copy(*static_cast<StrCell*>(p), d.text);
    }
}

}  // namespace tc_test
