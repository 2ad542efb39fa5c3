#include "tests/writers/xref.h"

#include <fstream>
#include <functional>
#include <sstream>

namespace xref {

namespace {

// Records and functions that keep a reference to a cell's proxy and, as
// their code shows, only read through it: the inputs of the latched lists
// and of the alarm rows.
const std::set<std::string> kReadOnlyHolders = {
    "LatchAeEntry::input", "LatchAeEntry::time_source", "AlarmRow::cond", "AlarmRow::ovrd", "AlarmRow::delay",
};

}  // namespace

Listing read_listing(const std::string& path) {
    Listing l;
    std::ifstream in(path);
    if (!in) {
        l.error = "cannot read " + path;
        return l;
    }
    std::string line;
    std::map<std::string, std::map<std::string, std::string>> calls;  // caller -> offset -> callee
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string tag;
        s >> tag;
        if (tag == "USE") {
            std::string module, member, kind, where, function, into;
            s >> module >> member >> kind >> where >> function >> into;
            // A cell kept by a record that only reads it.
            if (kind == "ESC" && kReadOnlyHolders.count(into)) kind = "R";
            CellUses& u = l.cells[module + " " + member];
            const bool r = kind == "R" || kind == "RW" || kind == "ESC";
            const bool w = kind == "W" || kind == "RW" || kind == "ESC";
            if (r) {
                u.read = true;
                u.reads.push_back(where);
            }
            if (w) {
                u.written = true;
                u.writes.push_back(where);
                u.writer_functions.insert(function);
            }
        } else if (tag == "SLOT") {
            std::string module, member, where, function;
            int group = -1;
            s >> module >> member >> group >> where >> function;
            l.cells[module + " " + member].slot_reads[group].push_back(where + " " + function);
        } else if (tag == "CALL") {
            std::string caller, offset, callee;
            s >> caller >> offset >> callee;
            calls[caller][offset] = callee;
        } else if (tag == "SLICE") {
            int group = 0;
            std::string index, fn;
            s >> group >> index >> fn;
            l.slices[group].push_back(fn);  // the listing is sorted: indices in order
        }
    }
    for (auto& [caller, by_offset] : calls)
        for (auto& [offset, callee] : by_offset) l.calls[caller].push_back(callee);
    l.loaded = true;
    return l;
}

namespace {

Listing load() {
#ifdef TC_XREF_FILE
    return read_listing(TC_XREF_FILE);
#else
    Listing l;
    l.error = "this build has no cell cross-reference (configured with TC_XREF off)";
    return l;
#endif
}

}  // namespace

const Listing& listing() {
    static const Listing l = load();
    return l;
}

std::vector<std::string> pieces_of(const Listing& l, const std::string& fn) {
    std::vector<std::string> out;
    std::set<std::string> on_path;
    std::function<void(const std::string&)> walk = [&](const std::string& f) {
        auto it = l.calls.find(f);
        if (it == l.calls.end() || on_path.count(f)) return;
        on_path.insert(f);
        for (const auto& callee : it->second) {
            out.push_back(callee);
            walk(callee);
        }
        on_path.erase(f);
    };
    walk(fn);
    return out;
}

}  // namespace xref
