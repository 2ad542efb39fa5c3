// Send framer of the serial transport: builds a reply frame (control byte
// and data with their CRC) and sends it stuffed, resumable at every byte;
// works on the current serial port record.
#pragma once

#include <cstdint>

void OutPduOpen(uint8_t (*putByte)(uint8_t byte));
void PduPrepare(uint8_t sequence, uint8_t kind);
// One byte through the byte callback, stuffed when needed; 254 when the
// callback cannot take it now.
uint8_t PduPutc(uint8_t b);
// 1 when the whole frame went out; 0 when it resumes in a later call.
int PduSend();
