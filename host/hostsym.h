// The platform's table of named symbols: optional platform routines and
// platform variables that the system finds by name at run time
// ("_VxSharedMem", "VKRAMDriveSpaceAvailable", firewall rules, ...). Host
// code registers what the emulated platform provides; a name that nobody
// registered is not found, exactly as an absent optional routine.
#pragma once

#include "host/vxworks.h"

namespace hostsym {

// Enters `name` with `addr` (a function or a variable). A second
// registration of the same name replaces the first; nullptr removes it.
// Thread-safe.
void registerSymbol(const char* name, void* addr);

}  // namespace hostsym

// Platform library lookup: OK with *addr set when the name is registered,
// ERROR (and *addr untouched) when it is not.
STATUS VKSymFindByName(const char* name, void** addr);
