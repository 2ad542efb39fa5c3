// Every tunable of the application's catalogue at its default, as the
// tunables file would supply them at start-up (rigs call it in the first
// frame, before their module's block initialisation).
#pragma once

namespace tc_test {
void loadTuneDefaults();
}
