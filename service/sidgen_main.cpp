// Build-time generator of the service interface definition: writes the XML
// document that lists every value the service side serves (name, handle,
// type, access, levels, tunable default and limits), compresses it to gzip
// with zlib and emits it as the C++ source of SidZipBuffer.
//
//   sidgen <output.cpp>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/protection/LATCH_AE.h"
#include "app/sys_vars.h"
#include "runtime/appinit.h"
#include "runtime/catalogue_tables.h"
#include "runtime/dbug.h"
#include "runtime/value_handles.h"
#include "service/TwControl.h"
#include "storage/eefile.h"

// The generator links the system's library, whose download request reads
// the buffer that this program is about to make.
const uint8_t SidZipBuffer[] = {0};
const uint32_t SidZipBufferSize = 0;

namespace {

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string attr(const char* name, const std::string& value) { return std::string(" ") + name + "=\"" + escape(value) + "\""; }

std::string number(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.9g", v);
    return b;
}

std::string constant(const std::string& name, const std::string& value) {
    return "<Constant" + attr("Name", name) + attr("Value", value) + "/>";
}

std::string typeElement(char type) {
    switch (type) {
        case 'B': return "<Boolean Size=\"8\"/>";
        case 'A': return "<Float Precision=\"Single\"/>";
        case 'I': return "<Integer Size=\"32\"/>";
        case 'U': return "<Integer Size=\"32\" IsSigned=\"false\"/>";
        case 'T': return "<VKTime Type=\"DateTime\"/>";
        default: return "<String MaximumSize=\"39\" Encoding=\"UTF-8\"/>";
    }
}

std::string handleOf(uint32_t handle) {
    return "<CommunicationProperties><Tallwire" + attr("Handle", std::to_string(handle)) + "/></CommunicationProperties>";
}

// Addresses of the tunables in the tool's image: reals, integers, booleans, strings.
struct Addresses {
    uint32_t real = 950272, integer = 953968, boolean = 956344, text = 957352;
    uint32_t next(char type) {
        uint32_t* at = type == 'A' ? &real : (type == 'I' || type == 'U') ? &integer : type == 'B' ? &boolean : &text;
        const uint32_t step = type == 'B' ? 1 : type == 'C' ? 40 : 4;
        const uint32_t a = *at;
        *at += step;
        return a;
    }
};

struct Limits {
    bool has = false;
    double lo = 0, hi = 0;
};

Limits limitsOf(const DbugVar& v) {
    const uint32_t off = ref_offset(v.address);
    if (ref_area(v.address) == AREA_an_tune) return {true, _an_tune[off / kAnTuneBytes].min, _an_tune[off / kAnTuneBytes].max};
    if (ref_area(v.address) == AREA_int_tune)
        return {true, double(_int_tune[off / kIntTuneBytes].min), double(_int_tune[off / kIntTuneBytes].max)};
    return {};
}

std::string dataItem(const DbugVar& v, uint32_t index, const std::map<CellRef, const TuneDefault*>& defaults,
                     Addresses& addresses) {
    const HmiDataVal& rec = HmiDataVals[index];
    const uint32_t handle = HmiValueHandles[index];
    const bool writable = (handle >> 30) != 0x3;
    const bool token = writable && (handle & kHandleTunable) == 0;
    // The tool's image of the tunables holds the service inputs as well.
    const bool tunable = v.access == '*' || v.access == 'S';
    const char* dot = std::strchr(v.name, '.');
    std::string x = "<DataItem" + attr("Name", dot + 1);
    if (writable) x += attr("Access", token ? "DeviceOnlyWrite" : "ReadWrite");
    if (tunable) x += attr("Address", std::to_string(addresses.next(v.type)));
    x += ">";
    x += typeElement(v.type);
    x += handleOf(handle);
    const Limits lim = limitsOf(v);
    const auto d = defaults.find(rec.cell);
    if (d != defaults.end()) {
        const TuneDefault& t = *d->second;
        x += "<InitialValue>";
        x += constant("Default", t.type == 'C' ? std::string(t.text) : number(t.value));
        x += "</InitialValue>";
    }
    if (lim.has) {
        x += "<Minimum>" + constant("Minimum", number(lim.lo)) + "</Minimum>";
        x += "<Maximum>" + constant("Maximum", number(lim.hi)) + "</Maximum>";
    }
    if (rec.writeLevel > 0) x += "<Security" + attr("Operation", "Write") + attr("Level", std::to_string(rec.writeLevel)) + "/>";
    if (rec.readLevel > 0) x += "<Security" + attr("Operation", "Read") + attr("Level", std::to_string(rec.readLevel)) + "/>";
    return x + "</DataItem>\n";
}

// The handle the service side issues for a named cell.
uint32_t cellHandle(const char* name) {
    const DbugVar* v = dbug_find_in(app_dbug_tables(), name);
    return v == nullptr ? 0 : HmiValueHandles[static_cast<uint32_t>(v - _dbug_var) - 1];
}

// The latched alarm/event lists: one event-status item each, read as an
// array of event records, with one event per record number.
constexpr int kLatchedLists = 5;
constexpr const char* kListBlock[kLatchedLists + 1] = {"", "SHUTDOWNS.ANY", "ALARMS.ANY", "VLTR_ALMS.SUMMARY",
                                                       "VLTR_ALMS.TRIP_SUM", "CONF_LATCH.ANY"};
constexpr int kEntrySeverity = 500;
constexpr const char* kListEventText[3] = {"Reset command activated", "All events cleared",
                                           "Acknowledge command activated"};

std::string attribute(const char* name, bool isConstant, char type) {
    return "<Attribute" + attr("Name", name) + attr("IsConstant", isConstant ? "true" : "false") + ">" +
           typeElement(type) + "</Attribute>";
}

// Record text "source,text,,severity": the text may hold commas itself, so
// the source ends at the first comma and the severity follows the last.
struct RecordText {
    std::string source, text;
    int severity = 0;
};

RecordText parseRecordText(const std::string& record, const std::string& fallbackSource) {
    const size_t first = record.find(',');
    const size_t last = record.rfind(',');
    if (first == std::string::npos || last == first) return {fallbackSource, "", kEntrySeverity};
    const size_t empty = record.rfind(',', last - 1);
    return {record.substr(0, first), record.substr(first + 1, empty - first - 1),
            std::atoi(record.c_str() + last + 1)};
}

std::string event(int identifier, const std::string& text, int severity, int category, const std::string& source) {
    return "<Event" + attr("Identifier", std::to_string(identifier)) + ">" + constant("Text", text) +
           constant("Severity", std::to_string(severity)) + constant("Category", std::to_string(category)) +
           constant("TIQ source", source) + "</Event>\n";
}

// A list's handle: area 0xC, read level 0, index 0x8000 plus the list
// number, read as an array of the list's events. Its state, the change
// counter, is an integer value of its own.
uint32_t listHandle(int number) { return 0xC0C08000u + uint32_t(number); }
uint32_t stateHandle(int number) { return HmiValueHandles[firstLatchStateRecord + uint32_t(number) - 1]; }

std::string eventStatus(int number) {
    const LatchAeList* list = latch_ae_list(number);
    const char* block = kListBlock[number];
    std::string x = "<EventStatus" + attr("Name", block) + ">" + handleOf(listHandle(number));
    x += "<StateCommunicationProperties><Tallwire" + attr("Handle", std::to_string(stateHandle(number))) +
         "/></StateCommunicationProperties>";
    x += attribute("Time", false, 'T') + attribute("Severity", true, 'I') + attribute("Category", true, 'I') +
         attribute("TIQ source", true, 'C') + "\n";
    const int entries = list != nullptr ? list->n : 0;
    for (int r = 1; r <= entries; ++r) {
        // An unused record has an empty text: its event keeps the entry's
        // source and severity.
        const RecordText t = parseRecordText(list->entries[r - 1].text, std::string(block) + ".SEL_" + std::to_string(r));
        x += event(r, t.text, t.severity, 0, t.source);
    }
    // The list's own events: reset, all cleared, acknowledge (declared also
    // for a list that never acknowledges).
    for (int k = 0; k < 3; ++k) x += event(entries + 1 + k, kListEventText[k], 1, k + 1, block);
    return x + "</EventStatus>\n";
}

// Commands that the tool invokes as a momentary "true" for 5 s: the LED tests.
constexpr const char* kMomentaryCommands[] = {"ALARMS.LED_TEST.IN_1", "SHUTDOWNS.LED_TEST.IN_1"};

std::string momentaryFunction(const char* cell) {
    const std::string name(cell, std::strrchr(cell, '.'));
    return "<MomentaryFunction" + attr("Name", name) + attr("InvokeValue", "true") + attr("TimeoutTime", "5") + ">" +
           "<InvokeDataItem" + attr("Name", cell) + attr("Access", "DeviceOnlyWrite") + ">" + typeElement('B') +
           handleOf(cellHandle(cell)) + "</InvokeDataItem></MomentaryFunction>\n";
}

// Fixed texts the tool shows inside a block: the date of the runtime
// beside the service identity texts.
std::string blockConstants(const char* module, const std::string& block) {
    if (std::strcmp(module, "IFACE_MODE") == 0 && block == "TALLWIRE") return constant("SYSTEM_DATE", kRuntimeReleaseDate);
    return "";
}

std::string document() {
    sys_vars_init();
    const std::string id = ApplicationIdentifier();
    std::string x = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    x += "<ServiceInterfaceDefinition xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
         " xsi:noNamespaceSchemaLocation=\"Sid21.xsd\"" +
         attr("Identifier", id) + attr("ApplicationDescription", id) + attr("IdentifierAddress", "974848") +
         attr("Specification", std::string(uvAppName) + " " + sys_text[APP_BUILD_DATE].s + " UTC") +
         attr("IsMostSignificantByteFirst", "true") + ">\n";
    x += "<NonVolatileProtocol Type=\"TallwireSaveValues\"/>\n";
    x += "<SecurityProtocols><Tallwire><Accounts/><CommandSecurityLevels>";
    const std::pair<const char*, int> commands[] = {
        {"Browse", 2},      {"Get Product Identifier", 1},       {"Get System Identifier", 1},
        {"Get Configuration Identifier", 1}, {"Save Values", 7}, {"Set Configuration Identifier", 7},
        {"Set Control Identifier", 11},      {"Reset Control", 11}, {"Shutdown", 11}};
    for (const auto& c : commands) x += "<Command" + attr("Name", c.first) + attr("Level", std::to_string(c.second)) + "/>";
    x += "</CommandSecurityLevels></Tallwire></SecurityProtocols>\n";
    x += "<SettingsPolicies AllowPartial=\"true\"/>\n";

    // The system modules: fixed texts, and the controller's clock.
    char product[128] = {};
    twsupport::GetProductIdentifier(product);
    x += "<Namespace Name=\"_SYS_VARS\">" + constant("Product Name", product) +
         constant("OsVersion", kRuntimeVersion) + constant("OSRelease Date", kRuntimeReleaseDate);
    x += "<DataItem Name=\"_CONTROL_TIME\">" + typeElement('T') + handleOf(kControlTimeHandle) + "</DataItem>";
    x += "</Namespace>\n<Namespace Name=\"_APP_VARS\">";
    x += constant("App Name", sys_text[APP_NAME].s) + constant("App Build Date", sys_text[APP_BUILD_DATE].s) +
         constant("CDR Date", _uvMOEDATE) + constant("TIQ Program Count", std::to_string(num_tiq_files));
    for (uint32_t f = 0; f < kNumTiqFiles; ++f) {
        const std::string n = "TIQfile" + std::to_string(f + 1);
        x += constant(n, sys_text[APP_TIQFILE1 + 2 * f].s) + constant(n + " Date", sys_text[APP_TIQFILE1 + 2 * f + 1].s);
    }
    x += "</Namespace>\n";

    std::map<CellRef, const TuneDefault*> defaults;
    for (uint32_t k = 0; k < num_tune_defaults; ++k) defaults[_tune_defaults[k].cell] = &_tune_defaults[k];
    Addresses addresses;
    // One namespace per module, one per block in it, one item per cell.
    for (uint32_t h = 1; h + 1 < num_dbug_hdr; ++h) {
        const DbugHdr& m = _dbug_hdr[h];
        if (m.name[0] == '_' && (std::strcmp(m.name, "_SYS_VARS") == 0 || std::strcmp(m.name, "_APP_VARS") == 0)) continue;
        x += "<Namespace" + attr("Name", m.name) + ">\n";
        std::string block;
        for (uint32_t k = m.first; k <= m.last; ++k) {
            const DbugVar& v = _dbug_var[k];
            const std::string b(v.name, std::strchr(v.name, '.'));
            if (b != block) {
                if (!block.empty()) x += "</Namespace>\n";
                x += "<Namespace" + attr("Name", b) + ">\n";
                block = b;
                x += blockConstants(m.name, b);
            }
            x += dataItem(v, k - 1, defaults, addresses);
        }
        if (!block.empty()) x += "</Namespace>\n";
        x += "</Namespace>\n";
    }
    for (int l = 1; l <= kLatchedLists; ++l) x += eventStatus(l);
    for (const char* cell : kMomentaryCommands) x += momentaryFunction(cell);
    return x + "</ServiceInterfaceDefinition>\n";
}

std::vector<uint8_t> gzip(const std::string& text) {
    z_stream z{};
    // Window bits 15 + 16: a gzip stream.
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    std::vector<uint8_t> out(deflateBound(&z, text.size()) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int r = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return r == Z_STREAM_END ? out : std::vector<uint8_t>{};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sidgen <output.cpp>\n");
        return 2;
    }
    const std::vector<uint8_t> z = gzip(document());
    if (z.empty()) {
        std::fprintf(stderr, "sidgen: compression failed\n");
        return 1;
    }
    std::ofstream out(argv[1]);
    out << "// Generated by sidgen from the cell catalogue: the service interface\n"
           "// definition, gzip-compressed.\n#include \"service/TwControl.h\"\n\n"
           "const uint8_t SidZipBuffer[] = {";
    for (size_t i = 0; i < z.size(); ++i) out << (i % 20 == 0 ? "\n    " : " ") << unsigned(z[i]) << ",";
    out << "\n};\nconst uint32_t SidZipBufferSize = " << z.size() << ";\n";
    return out.good() ? 0 : 1;
}
