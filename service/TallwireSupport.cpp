#include "service/TallwireSupport.h"

#include "platform/vkiodev.h"
#include "service/TwSerial.h"
#include "service/TwControl.h"
#include "service/TwSecurity.h"
#include "service/TwTcp.h"
#include "service/TwValues.h"

// No structure values in this build.
const StructDataRecord* StructData = nullptr;
uint32_t StructDataCount = 0;
uint32_t tunable_print = 0;

TWEventData TWEventDataRecord = {0, 0, nullptr};

void AssignTWEventDataPointer(TwValue* value) { value->data.ptr = &TWEventDataRecord; }

uint8_t szBuffer[TW_SCI_BUFFER_SIZE];
int curIndex = 0;

namespace twsupport {

uint8_t SciPutc(uint8_t byte) {
    // A full buffer refuses the byte; the framer offers it again later.
    if (curIndex >= TW_SCI_BUFFER_SIZE) return TW_BYTE_NOT_NOW;
    szBuffer[curIndex++] = byte;
    return 0;
}

uint8_t SciGetc(uint8_t* byte) {
    if (pCurTWSerialPort == nullptr) return TW_BYTE_NOT_NOW;
    int dev = pCurTWSerialPort->deviceNumber;
    uint32_t waiting = 0;
    if (VKIO_devControl(dev, DEVCTL_NREAD, reinterpret_cast<long>(&waiting), 0) < 0 || waiting < 1)
        return TW_BYTE_NOT_NOW;
    int32_t c = VKIO_devGetc(dev);
    if (c < 0) return TW_BYTE_NOT_NOW;
    *byte = static_cast<uint8_t>(c);
    return 0;
}

void FlushMessage() {
    if (curIndex > 0 && pCurTWSerialPort != nullptr)
        VKIO_devWrite(pCurTWSerialPort->deviceNumber, szBuffer, curIndex);
    curIndex = 0;
}

void TcpTwSlave() { tcpTwSlave(); }
void TcpTwListener() { runTcpListener(); }
void TcpTwClose() { CloseAllSockets(); }

}  // namespace twsupport

// Symbol tables and programming mode are not part of this binding: those
// requests answer with their "not provided" status.
const TwapiDescriptor TallwireClassicDescriptor = {
    .Connect = twsupport::Connect,
    .ResetControl = twsupport::ResetControl,
    .ShutdownControl = twsupport::ShutdownControl,
    .BeginProgramming = nullptr,
    .IsControlRunning = twsupport::IsControlRunning,
    .SaveValues = twsupport::SaveValues,
    .GetSystemIdentifier = twsupport::GetSystemIdentifier,
    .GetControlIdentifier = twsupport::GetControlIdentifier,
    .SetControlIdentifier = twsupport::SetControlIdentifier,
    .GetApplicationIdentifier = twsupport::GetApplicationIdentifier,
    .GetConfigIdentifier = twsupport::GetConfigIdentifier,
    .SetConfigIdentifier = twsupport::SetConfigIdentifier,
    .GetProductIdentifier = twsupport::GetProductIdentifier,
    .GetSymbolTableEntry = nullptr,
    .GetSymbolCount = nullptr,
    .ReadValForHandle = twsupport::ReadValForHandle,
    .WriteValue = twsupport::WriteValue,
    .GetDataPacketBytes = twsupport::GetDataPacketBytes,
    .ReadBytes = twsupport::ReadBytes,
    .GetArraySize = twsupport::GetArraySize,
    .ReadArrayItem = twsupport::ReadArrayItem,
    .WriteArrayItem = twsupport::WriteArrayItem,
    .ValidateSecurityItem = twsupport::ValidateSecurityItem,
    .GetValueHandle = twsupport::GetValueHandle,
    .TcpTwSlave = twsupport::TcpTwSlave,
    .TcpTwListener = twsupport::TcpTwListener,
    .TcpTwClose = twsupport::TcpTwClose,
    .SciPutc = twsupport::SciPutc,
    .SciGetc = twsupport::SciGetc,
    .FlushMessage = twsupport::FlushMessage,
    .ResetAllowed = twsupport::ResetAllowed,
    .ShutdownAllowed = twsupport::ShutdownAllowed,
    .BeginProgrammingVeto = nullptr,
    .GetSessionSecurityLevel = twsupport::GetSessionSecurityLevel,
    .AccountSecurityLogin = twsupport::AccountSecurityLogin,
    .QueryAccountSecurityLevel = twsupport::QueryAccountSecurityLevel,
    .EndProgramming = nullptr,
    .WriteProgramMemory = nullptr,
};
