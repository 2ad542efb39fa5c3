// Model of the controller board's FPGA: the register space the drivers reach
// through the FPGA register layer, with the behaviour they rely on, and the
// API through which tests and device models set inputs and read outputs.
//
// The register space covers 0x80800000..0x8080FFFF as 16-bit registers at
// even addresses. A 32-bit register is two halves on the big-endian bus: the
// high half at its address, the low half at address + 2. Any register holds
// what was last written to it (or poked into it) unless a behaviour is
// attached to its address range.
//
// Built in: the hardware watchdog and its keyed handshake, the CPU request
// interrupt (status, enables, write-one-to-clear acknowledge), the E-stop
// latch and its reset, the keypad words, the SPI engine's done bit and the
// discrete-input sample history. Later device models attach their own
// behaviour per address range with attach().
//
// All functions are thread-safe; behaviour callbacks run with the board lock
// held and may call the peek/poke functions.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "host/vxworks.h"

namespace board {

constexpr uint32_t kFpgaBase = 0x80800000;
constexpr uint32_t kFpgaEnd = 0x80810000;  // one past the last byte

// Restores the quiet default state of the whole board (registers, chips and
// platform library): every register at its power-up value, inputs idle,
// watchdog off, no interrupt connected, empty write log, and no behaviour
// attached beyond the built-in ones.
void reset();

// ---- CPU side: used only by the FPGA register layer --------------------
// Addresses outside the space or not aligned to the access width are a
// fault of the caller: the board prints the address and aborts.
uint16_t cpuRead16(uint32_t address);
void cpuWrite16(uint32_t address, uint16_t value);
uint32_t cpuRead32(uint32_t address);
void cpuWrite32(uint32_t address, uint32_t value);

// ---- Register contents, without side effects (tests, device models) ---
uint16_t peek16(uint32_t address);
uint32_t peek32(uint32_t address);
// peek16 for a behaviour callback, or a holder of lock(): the caller's hold
// on the lock is what guards the read.
uint16_t peek16Held(uint32_t address);
void poke16(uint32_t address, uint16_t value);
void poke32(uint32_t address, uint32_t value);
// Replaces the bits of `mask` with those of `value`.
void pokeBits16(uint32_t address, uint16_t mask, uint16_t value);

// The board's lock: recursive, and counted, so that a reader can tell that
// nobody took it since a given moment. The count is odd while the lock is
// held and grows by two with every outermost hold.
//
// Nearly every hold is a register access of the emulated CPU, which runs on
// one host thread. That thread keeps the lock word after its hold ends, so
// that its next hold costs no atomic exchange, and gives it up when another
// thread waits for it or when the kernel lets other host threads in (see
// hk::setCpuPauseHook). Another thread that finds the lock taken sleeps on
// the lock word until it is given up.
class Mutex {
public:
    void lock();
    void unlock();
    uint64_t holds() const { return count_.load(std::memory_order_acquire); }
    // From the CPU thread: gives up the lock word kept after the last hold.
    void release();

private:
    static constexpr uint32_t kFree = 0, kHeld = 1, kWaited = 2;  // kWaited: held, and maybe a sleeper
    [[gnu::noinline]] void takeWord(const void* me);
    void lockContended(uint32_t seen);
    void letGo();

    std::atomic<uint32_t> word_{kFree};
    std::atomic<int> sleepers_{0};             // threads in lockContended
    std::atomic<const void*> owner_{nullptr};  // the marker of the thread that has the word
    int depth_ = 0;                            // holds of the owner
    std::atomic<uint64_t> count_{0};
};

// The board's lock, for a device model with state of its own: taken around
// the model's changes, it lets the model's callbacks (which always run with
// it held) go without a lock of their own.
std::unique_lock<Mutex> lock();

// ---- Behaviour per address range ---------------------------------------
struct Behaviour {
    // Value the CPU reads; `stored` is the register content. Width 16 or 32.
    std::function<uint32_t(uint32_t address, int width, uint32_t stored)> read;
    // Called after a CPU write has been stored (and logged).
    std::function<void(uint32_t address, int width, uint32_t value)> write;
};
// Attaches `behaviour` to the registers first..last (inclusive); it replaces
// whatever was attached to any of them before. An empty behaviour detaches.
void attach(uint32_t first, uint32_t last, Behaviour behaviour);

// ---- Reads served without the lock ---------------------------------------
// A read callback (lock held) may publish what the 32-bit registers
// first, first + 4, ... (`count` of them) read as while the kernel time stays
// in [fromNs, untilNs). Whole 32-bit CPU reads of them are then answered
// from that copy, without the lock, until anybody takes the board's lock
// again; the watchdog's deadline is checked as on every access. Slots 0 to
// kPublishedSlots - 1; publishing into a slot replaces what it held.
constexpr size_t kPublishedMax = 64;
constexpr int kPublishedSlots = 4;
void publishReads(int slot, uint32_t first, const uint32_t* values, size_t count, uint64_t fromNs,
                  uint64_t untilNs);

// ---- Log of CPU register writes ------------------------------------------
struct RegWrite {
    uint64_t timeNs;   // kernel time of the write
    uint32_t address;
    int width;         // 16 or 32
    uint32_t value;
};
// Keeps at most `capacity` writes, dropping the oldest (default 65536).
void setWriteLogCapacity(size_t capacity);
std::vector<RegWrite> writeLog();
// Only the writes to first..last (inclusive).
std::vector<RegWrite> writeLog(uint32_t first, uint32_t last);
void clearWriteLog();

// ---- Control register and outputs ----------------------------------------
uint16_t controlRegister();
// Bit 15 of the control register: the FPGA holds every output off while clear.
bool outputsReleased();
uint16_t debugLeds();

// ---- E-stop: the input latches until reset -------------------------------
// The E-stop button; pressing it latches the E-stop input, which stays set
// after release until the reset bit of the control register is set.
void setEstopButton(bool pressed);
bool estopLatched();

// ---- Keypad ----------------------------------------------------------
// word 0..2 (0x8080F2F0, F2F2, F2F4), bit 0..11.
void setKey(int word, int bit, bool pressed);
void releaseAllKeys();

// ---- Hardware watchdog ---------------------------------------------------
// A handshake is 0x5555 then 0xAAAA to 0x80805554, then 0x5555 then 0xAAAA to
// 0x8080AAAA; any other write to those registers restarts the sequence and
// counts as a bad key. While enabled, a time-out without a complete
// handshake raises the CPU request status bit 0.
bool watchdogEnabled();
uint64_t watchdogHandshakes();
uint64_t watchdogBadKeys();
void setWatchdogTimeoutNs(uint64_t ns);   // default 100 ms
// Checks the watchdog's deadline against the kernel time (also done at every
// register access). Returns true when it timed out in this call.
bool poll();

// ---- CPU request interrupt -----------------------------------------------
// Sets status bits of 0x8080F032 (1 watchdog time-out, 2 power fail,
// 4 callback request). When the interrupt is connected and initialised
// (VKCpuRqstConnect, VKCpuRqstInit) and enabled in the FPGA (0x8080F030 bit 0
// and 0x8080F034 bit 0), the connected routine is delivered at interrupt level
// through the kernel. Callable from any host thread.
void raiseCpuRequest(uint16_t statusBits);
void powerFail();
uint16_t cpuRequestStatus();
uint64_t cpuRequestsDelivered();
// Platform side (vkboard): the connected routine and the interrupt
// controller's enable.
void connectCpuRequest(VOIDFUNCPTR routine, long arg);
void initCpuRequest();

// ---- SPI engine of the analog-input ADC ------------------------------------
// A stuck engine never sets its done bit.
void setSpiStuck(bool stuck);
// Transfer n (counted from 1 since the last reset) sets no done bit when bit
// n - 1 of `mask` is set.
void setSpiMissedDone(uint32_t mask);
// Transfers started (a command with bit 0 written to 0x8080F080).
uint64_t spiTransfers();

// ---- Discrete inputs -----------------------------------------------------
// The FPGA samples the 32 inputs every millisecond; the sample registers hold
// the words of the last five samples. Inputs take effect at the kernel time
// of the call, or at `timeNs` for a change scheduled in advance (changes must
// be given in time order).
void setDiscreteInputs(uint32_t levels);
void setDiscreteInput(int n, bool level);
void setDiscreteInputsAt(uint64_t timeNs, uint32_t levels);
uint32_t discreteInputs();  // the levels now
// Inputs 24 .. 27 as the readback contacts of relays 0 .. 3 once wired (after
// a reset they read the levels set above): each reads 1 while the FPGA drives
// its relay. A stuck contact (level 0 or 1) reads that level whatever the
// relay does; level -1 lets it follow the relay again.
void wireRelayReadbacks(bool wired);
void setRelayReadbackStuck(int relay, int level);

// ---- Outputs as the FPGA drives them --------------------------------------
// The FPGA holds every output off while the control register's bit 15 is
// clear (I/O locked).
uint16_t relayOutputs();      // 0x8080F150 as last written
uint16_t relaysEnergised();   // relay bits 0..13 driven now
// PWM count driven now by the output whose count register is `countRegister`.
uint16_t pwmOutput(uint32_t countRegister);

}  // namespace board
