// The force transfer of the output channel templates: while forcing, the
// output takes the forced value; when forcing ends it returns to the
// computed value in steps, and at once when the computed value has crossed
// it.
#pragma once

#include <cstdint>

struct ForceTransferState {
    float tracked;
    uint32_t direction;  // 0 none yet, 1 tracked above the computed value, 2 not above
};

// `forcing` (enable and not inhibited) copies `forced`; otherwise an active
// transfer moves toward `computed` by `step`. Returns the output value.
float force_transfer(ForceTransferState& s, uint32_t& frc, bool forcing, float forced, float computed, float step);
