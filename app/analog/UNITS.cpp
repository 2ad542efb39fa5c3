// The cascade loop's engineering-units text.
#include "app/analog/UNITS.cells.h"

#include "runtime/blockkinds.h"

namespace r160 {

void UNITS_text() {
    UNITS.UNIT_CASC_I_NAME = UNITS.UNIT_CASC_IN;
    constexpr const char* kNone = "\"\"";
    bk::I_TO_STR(UNITS.CASC_UNITS_I_TO_STR, UNITS.UNIT_CASC_I_NAME,
                 {{1, kNone},
                  {2, "psi"},
                  {3, "kPa"},
                  {4, "MW"},
                  {5, "KW"},
                  {6, "degF"},
                  {7, "degC"},
                  {8, "t/h"},
                  {9, "k#/hr"},
                  {10, "#\"/hr\""},
                  {11, "kg/cm2"},
                  {12, "bar"},
                  {13, "atm"}},
                 kNone);
}

}  // namespace r160
