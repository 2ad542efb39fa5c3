// The own node's expedited SDO server and the filing of responses that remote
// nodes send to the controller's SDO client.
#pragma once

#include <cstdint>

#include "canopen/canopen.h"

// Abort codes
constexpr uint32_t SDO_ABORT_COMMAND = 0x05040001;
constexpr uint32_t SDO_ABORT_WRITE_ONLY = 0x06010001;
constexpr uint32_t SDO_ABORT_READ_ONLY = 0x06010002;
constexpr uint32_t SDO_ABORT_NO_OBJECT = 0x06020000;
constexpr uint32_t SDO_ABORT_LENGTH_16 = 0x06070010;
constexpr uint32_t SDO_ABORT_LENGTH_8 = 0x06070012;
constexpr uint32_t SDO_ABORT_LENGTH_32 = 0x06070013;
constexpr uint32_t SDO_ABORT_NO_SUBINDEX = 0x06090011;
constexpr uint32_t SDO_ABORT_STATE = 0x08000022;

void ProcessDefaultSdo(CanOpenImage* image, const uint8_t* request);
void ProcessDownloadRequest(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void ProcessUploadRequest(CanOpenImage* image, const uint8_t* request, uint8_t* response);

void PrepareExpeditedDownloadResponseUnsigned8(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedDownloadResponseUnsigned16(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedDownloadResponseUnsigned32(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedDownloadResponsePdoComParameter(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedDownloadResponseSdoComParameter(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedDownloadResponsePdoMapParameter(CanOpenImage* image, const uint8_t* request, uint8_t* response);

void PrepareExpeditedUploadResponseUnsigned8(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponseUnsigned16(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponseUnsigned32(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponseNull(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponsePdoComParameter(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponsePdoMapParameter(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponseSdoComParameter(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareExpeditedUploadResponseIdentity(CanOpenImage* image, const uint8_t* request, uint8_t* response);
void PrepareConsumerHeartbeatTimeUploadResponse(CanOpenImage* image, const uint8_t* request, uint8_t* response);

void ProcessServerResponseSdo(CanOpenImage* image, const uint8_t* data, uint32_t cobId);
