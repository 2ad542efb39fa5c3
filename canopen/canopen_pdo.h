// Process data objects of the own node: default COB-ids at boot, packing and
// unpacking through the mapping records, SYNC-driven transmission, received
// PDOs and the on-demand transmission the application uses every 20 ms.
#pragma once

#include <cstdint>

#include "canopen/canopen.h"

int CanOpenSendPdoNow(uint8_t controllerId, uint8_t pdo, uint16_t length);
void InitializePdos(CanOpenImage* image);
void ProcessReceivedPdo(CanOpenImage* image, RxPdoBufferDesc* buffers, uint8_t pdo, const uint8_t* data);
void UpdateReceivedSyncPdoData(CanOpenImage* image);
void ProcessSyncTransmitPdos(CanOpenImage* image);
void SendPdo(CanOpenImage* image, uint8_t pdo);
void ProcessReadPdo(CanOpenImage* image, uint8_t pdo);
void EnablePdos(CanOpenImage* image);
void DisablePdos(CanOpenImage* image);
uint16_t GetIndexFromPdoIdTable(const IdTableEntry* table, uint32_t cobId, uint16_t kind, uint16_t count);
uint16_t GetSameIndexFromPdoIdTable(uint16_t* start, const IdTableEntry* table, uint32_t cobId, uint16_t kind,
                                    uint16_t count);

