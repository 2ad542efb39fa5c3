// The build's cross-reference of cell uses and calls (tools/cellxref), read
// back for the writers and order checks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace xref {

struct CellUses {
    bool read = false, written = false;
    std::vector<std::string> reads, writes;  // FILE:LINE of each
    std::set<std::string> writer_functions;  // the functions that write it
    // Group (0 = 10 ms .. 4 = 160 ms) -> "FILE:LINE FUNCTION" of each read
    // of the group's copy slot of the cell.
    std::map<int, std::vector<std::string>> slot_reads;
};

struct Listing {
    bool loaded = false;
    std::string error;
    // "MODULE MEMBER" -> its uses.
    std::map<std::string, CellUses> cells;
    // Caller -> callees in call order (one entry per call).
    std::map<std::string, std::vector<std::string>> calls;
    // Group -> the slice functions of the slice table, in order.
    std::map<int, std::vector<std::string>> slices;
};

// A listing read from a file (empty with `error` set when it cannot be read).
Listing read_listing(const std::string& path);

// The listing the build made (empty with `error` set when this build has none).
const Listing& listing();

// The pieces a function runs, in order: its calls, each expanded into the
// calls of the callee in turn (depth first).
std::vector<std::string> pieces_of(const Listing& l, const std::string& fn);

}  // namespace xref
