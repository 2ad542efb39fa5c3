// Relay outputs.
#include "drivers/ZarnDiscreteOuts.h"

#include "drivers/zarn_regs.h"
#include "platform/vkiobus.h"

namespace {
constexpr uint32_t kRelayBits = 16;  // width of the relay register
}

void WriteBooleanOutput(uint32_t ch, int32_t on) {
    if (ch >= kRelayBits) return;
    uint32_t reg = VKIO_fpgaRdUint16(ZARN_RELAYS);
    const uint32_t bit = 1u << ch;
    reg = on == 1 ? (reg | bit) : (reg & ~bit);
    VKIO_fpgaWrUint16(ZARN_RELAYS, (reg | ZARN_RELAYS_ALWAYS) & 0xFFFFu);
}

void InitBooleanOutput(uint32_t ch) { WriteBooleanOutput(ch, 0); }
