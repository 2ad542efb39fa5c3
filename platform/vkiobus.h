// FPGA register access, the I/O lock entry points, and the VME bus entry
// points (inert on this controller).
#pragma once

#include <cstdint>

// Register access. 16-bit accesses are single loads and stores; 32-bit
// accesses and block copies run with interrupts locked.
uint32_t VKIO_fpgaRdUint16(uint32_t address);
void VKIO_fpgaWrUint16(uint32_t address, uint32_t value);
uint32_t VKIO_fpgaRdUint32(uint32_t address);
void VKIO_fpgaWrUint32(uint32_t address, uint32_t value);
// Block copies of 32-bit words in ascending address order; interrupts are
// unlocked briefly after every run of words. Both return 0.
int VKIO_fpgaWrite(uint32_t address, const uint32_t* source, int words);
int VKIO_fpgaRead(uint32_t address, uint32_t* destination, int words);

// Read-modify-write of a 16-bit register shared by several tasks (the control
// register above all): clears `clearBits`, then sets `setBits`, with
// interrupts locked so that no other writer's change is lost. Returns the
// value written.
uint32_t VKIO_fpgaModifyUint16(uint32_t address, uint32_t clearBits, uint32_t setBits);

// I/O lock.
int VKIO_AssertIOLock();
int VKIO_UnAssertIOLock();
void Assert_IOLOCK();
void UnAssert_IOLOCK();
uint32_t Query_IOLOCK();
int IsIOLockSet();

// VME bus and I/O reset entry points: nothing to do on this controller.
int VKIO_vmeOpen();
void VKIO_vmeClose();
uint32_t VKIO_vmeRdUint32(uint32_t address);
uint32_t VKIO_vmeRdUint16(uint32_t address);
uint32_t VKIO_vmeRdUint8(uint32_t address);
uint32_t VKIO_vmeRdReal1616(uint32_t address);
double VKIO_vmeRdReal(uint32_t address);
int VKIO_vmeRead(uint32_t address, void* destination, int count);
int VKIO_vmeWrite(uint32_t address, const void* source, int count);
int vmeReadCheck(uint32_t address);
void VKIO_vmeWrReal(uint32_t address, double value);
void VKIO_vmeWrUint16(uint32_t address, uint32_t value);
void VKIO_vmeWrUint32(uint32_t address, uint32_t value);
void VKIO_vmeWrReal1616(uint32_t address, uint32_t value);
void VKIO_vmeWrUint8(uint32_t address, uint32_t value);
void VKIO_AssertIOReset();
void VKIO_UnAssertIOReset();
