// OS file services: file names joined onto the application directory,
// opening, reading, writing through a 128 KiB write cache, closing, copying,
// renaming and deleting files, drive space, and platform symbols by name.
//
// Open and create operations return a descriptor, or 0 for failure (0 means
// "no file" throughout the program). File operations return 1 for success
// and 0 for failure unless noted.
#pragma once

#include <cstdint>

// The application directory every file name is joined onto.
#define VKOS_APPLICATION_DIR "/HD1/Varnekar/Applications"
// Size of a path buffer given to VKOS_pathCat.
constexpr int VKOS_PATH_MAX = 256;
// Size of the write cache.
constexpr int VKOS_WRITE_CACHE_SIZE = 0x20000;

// Names and paths
int VKOS_pathCat(const char* directory, const char* name, char* result);  // 0 joined, 1 failed
void* VKOS_FindSymbol(const char* name);  // 0 when the platform has no such symbol
int VKOS_CreateDirectory(const char* name);  // 0 created, -1 failed

// Opening and creating
int VKOS_OpenFileRead(const char* name);
int VKOS_OpenFileRW(const char* name);
int VKOS_CreateFileRW(const char* name);
int VKOS_CreateFileWrite(const char* name);  // takes the write cache when it is free
// As VKOS_CreateFileWrite, but the file is made anew: whatever stands under
// the name (a file, a directory, a link, never followed) fails it with the
// task's errno EEXIST.
int VKOS_CreateNewFileWrite(const char* name);
int VKOS_OpenLogFileForAppending(const char* name, const char* backupName, uint32_t maxKB);

// Reading, writing, positioning, querying
int VKOS_ReadFileBytes(int fd, void* buffer, uint32_t length);  // count, 0 at the end, -1 on error
int VKOS_ReadFile(int fd, void* buffer, uint32_t length);       // 1 when exactly length bytes were read
int VKOS_WriteFile(int fd, const void* buffer, uint32_t length);
int VKOS_CacheWrite(const void* buffer, uint32_t length);  // only VKOS_WriteFile calls it
int VKOS_FlushCache();  // bytes written out (0 when none), -1 when the write failed
int VKOS_seek(int fd, int toStart);                       // start when toStart != 0, else end; 0
int VKOS_GetFileSize(int fd, uint32_t* size);             // 0
int VKOS_GetFileSize(int fd, uint64_t* size);             // 0; the whole size, also beyond 4 GiB
int VKOS_GetFileDate(int fd, uint32_t* date);             // 1 when *date was stored, else 0
int VKOS_SetFileAttributes(int fd, int code);             // 0, -1 on failure
int VKOS_DriveSpaceAvailable(uint32_t bytes, int ramDrive);  // 1 when that many bytes are free

// Closing, copying, renaming, deleting
int VKOS_CloseFile(int fd);
int VKOS_CloseSocket(int fd);  // the close result (0 or -1)
int VKOS_CopyFile(const char* source, const char* destination);
int VKOS_RenameFile(const char* oldName, const char* newName);  // replaces newName atomically
int VKOS_DeleteFile(const char* name);

// The write cache (module state, exposed for tests).
extern uint8_t _writeFileCache[VKOS_WRITE_CACHE_SIZE];
extern int32_t _cacheIndex;
extern int32_t W_cacheFileHandle;
