// The service interface definition downloaded over TCP, decompressed and
// parsed by Python's gzip and XML readers, and every value it lists read
// back by handle in batches.
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "runtime/catalogue_tables.h"
#include "service/TwValues.h"
#include "service_app.h"

using namespace svc_test;

namespace {

// Lists "handle type access" for every DataItem of the gzip file given.
const char kListItems[] = R"PY(
import gzip, sys, xml.etree.ElementTree as ET
doc = gzip.open(sys.argv[1]).read()
assert doc.startswith(b'\xef\xbb\xbf')
root = ET.fromstring(doc.decode('utf-8-sig'))
assert root.tag == 'ServiceInterfaceDefinition' and root.get('IsMostSignificantByteFirst') == 'true'
print(root.get('Identifier'))
for item in root.iter('DataItem'):
    handle = item.find('CommunicationProperties/Tallwire').get('Handle')
    print(handle, item[0].tag, item.get('Access', '-'))
)PY";

std::string runPython(const std::string& script, const std::string& arg) {
    const std::string path = std::filesystem::temp_directory_path() / ("sid_list_" + std::to_string(getpid()) + ".py");
    std::ofstream(path) << script;
    FILE* p = popen(("/usr/bin/python3 " + path + " " + arg).c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while (p != nullptr && (n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = p != nullptr ? pclose(p) : -1;
    std::filesystem::remove(path);
    EXPECT_EQ(rc, 0) << out;
    return out;
}

class Sid : public ServiceApp {
protected:
    // The definition downloaded through its handle, its size first and then
    // its bytes a reply at a time, into a file ("" on a failure).
    std::string download(Client& c) {
        Bytes head = c.ask(cat({{0x2B}, u32(0xD0100001), u32(0), u32(0)}));
        if (head.size() != 9u || head[0] != 0) return "";
        const uint32_t size = be32(head, 1);
        Bytes sid;
        while (sid.size() < size) {
            Bytes part = c.ask(cat({{0x2B}, u32(0xD0100001), u32(uint32_t(sid.size())), u32(1)}));
            if (part.size() < 2u || part[0] != 0) return "";
            sid.insert(sid.end(), part.begin() + 1, part.end());
        }
        EXPECT_EQ(c.ask(cat({{0x2B}, u32(0xD0100001), u32(size), u32(1)})), (Bytes{2}));
        const std::string file = root_ + "/sid.gz";
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(sid.data()), std::streamsize(sid.size()));
        return file;
    }
};

TEST_F(Sid, DownloadedParsedAndEveryValueReadBack) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    ASSERT_EQ(c.ask(cat({{0x20}, str0("__SID")})), cat({{0}, u32(0xD0100001), {1, 2}}));
    EXPECT_EQ(c.ask(cat({{0x20}, str0("_CONTROL_TIME")})), cat({{0}, u32(0xC9100000), {1, 0x40}}));
    EXPECT_EQ(c.ask(cat({{0x20}, str0("SPD.X")})), (Bytes{1}));
    EXPECT_EQ(c.ask(cat({{0x2B}, u32(0xC9100000), u32(0), u32(0)})), (Bytes{1}));
    const std::string file = download(c);
    ASSERT_FALSE(file.empty());

    std::istringstream listing(runPython(kListItems, file));
    std::string identifier;
    std::getline(listing, identifier);
    EXPECT_EQ(identifier, "9902-4411_e 2026-04-20 07.44.46");
    std::vector<uint32_t> handles;
    std::map<uint32_t, std::string> typeOf;
    uint32_t handle;
    std::string type, access;
    int tokens = 0, writable = 0;
    while (listing >> handle >> type >> access) {
        handles.push_back(handle);
        typeOf[handle] = type;
        tokens += access == "DeviceOnlyWrite";
        writable += access == "ReadWrite";
    }
    // Every cell of the application, and the controller's clock (the lists'
    // change counters, the rest of the value table, are the lists' states).
    EXPECT_EQ(handles.size(), firstLatchStateRecord + 1);
    EXPECT_EQ(sizeofHMIValueArray, firstLatchStateRecord + 5);
    EXPECT_EQ(typeOf.size(), handles.size());
    EXPECT_EQ(tokens, 1);
    int serviceInputs = 0;
    for (uint32_t i = 0; i < num_dbug_var; ++i) serviceInputs += _dbug_var[i].access == 'S';
    EXPECT_GT(serviceInputs, 0);
    EXPECT_EQ(writable, int(num_tune_defaults) + serviceInputs);  // the tunables and the service inputs

    // Batch reads of up to 255 handles; a reply that is full ends early and
    // the rest is asked again.
    const std::map<std::string, size_t> wire = {{"Boolean", 1}, {"Float", 4}, {"Integer", 4}, {"VKTime", 8}};
    size_t next = 0, batches = 0;
    while (next < handles.size()) {
        Bytes req{0x28};
        const size_t end = std::min(handles.size(), next + 255);
        for (size_t k = next; k < end; ++k) req = cat({req, u32(handles[k])});
        Bytes reply = c.ask(req);
        ASSERT_FALSE(reply.empty());
        ASSERT_EQ(reply[0], 0);
        size_t at = 1, answered = 0;
        while (at < reply.size()) {
            const uint32_t h = handles[next + answered];
            ASSERT_EQ(reply[at], 0) << "handle " << h << " " << typeOf[h];
            ++at;
            if (typeOf[h] == "String") {
                while (at < reply.size() && reply[at] != 0) ++at;
                ++at;
            } else {
                at += wire.at(typeOf[h]);
            }
            ++answered;
        }
        ASSERT_EQ(at, reply.size());
        ASSERT_GT(answered, 0u);
        next += answered;
        ++batches;
    }
    EXPECT_GE(batches, (handles.size() + 254) / 255) << handles.size() << " handles";
}

// Lists, one line each, what the definition says of the runtime's texts,
// the latched lists and the momentary commands:
//   SYS <name>=<value>
//   LIST <name> <handle> <state handle or -> <attribute:constant:type>...
//   EV <list> <identifier>|<text>|<severity>|<category>|<source>
//   MF <name> <invoke value> <timeout> <cell> <access> <type> <handle>
//   ITEM <cell> <access> <type> <minimum> <maximum> <handle> (the serial
//        port's settings and the change token)
const char kListEvents[] = R"PY(
import gzip, sys, xml.etree.ElementTree as ET
root = ET.fromstring(gzip.open(sys.argv[1]).read().decode('utf-8-sig'))
for ns in root.findall('Namespace'):
    if ns.get('Name') == '_SYS_VARS':
        for c in ns.findall('Constant'):
            print('SYS %s=%s' % (c.get('Name'), c.get('Value')))
for ns in root.findall("Namespace[@Name='IFACE_MODE']/Namespace[@Name='TALLWIRE']"):
    for c in ns.findall('Constant'):
        print('SYS %s=%s' % (c.get('Name'), c.get('Value')))
for es in root.findall('EventStatus'):
    state = es.find('StateCommunicationProperties/Tallwire')
    attrs = ['%s:%s:%s' % (a.get('Name').replace(' ', '_'), a.get('IsConstant'), a[0].tag) for a in es.findall('Attribute')]
    print('LIST', es.get('Name'), es.find('CommunicationProperties/Tallwire').get('Handle'),
          state.get('Handle') if state is not None else '-', *attrs)
    for ev in es.findall('Event'):
        values = {c.get('Name'): c.get('Value') for c in ev.findall('Constant')}
        print('EV %s %s|%s|%s|%s|%s' % (es.get('Name'), ev.get('Identifier'), values.get('Text'),
              values.get('Severity'), values.get('Category'), values.get('TIQ source')))
print('ROOT', root.get('IdentifierAddress'), root.get('ApplicationDescription').replace(' ', '_'))
print('NV', root.find('NonVolatileProtocol').get('Type'))
print('POLICY', root.find('SettingsPolicies').get('AllowPartial'))
print('READ_LEVELS', len(root.findall(".//DataItem/Security[@Operation='Read']")))
print('ACCOUNTS', len(root.findall('SecurityProtocols/Tallwire/Accounts')), len(list(root.find('SecurityProtocols/Tallwire/Accounts'))))
for cmd in root.findall('SecurityProtocols/Tallwire/CommandSecurityLevels/Command'):
    print('CMD %s=%s' % (cmd.get('Name'), cmd.get('Level')))
for item in root.iter('DataItem'):
    limits = item.find('Minimum') is not None or item.find('Maximum') is not None or item.find('InitialValue') is not None
    if item.get('Address') is not None:
        print('ADDR', item[0].tag, item.get('Address'))
    elif limits:
        print('LIMITS_WITHOUT_ADDRESS', item.get('Name'))
def items(e, path):
    for ch in e:
        if ch.tag == 'Namespace':
            yield from items(ch, path + [ch.get('Name')])
        elif ch.tag == 'DataItem':
            yield '.'.join(path + [ch.get('Name')]), ch
for name, item in items(root, []):
    if name.startswith('CNFG_SIO.COMM1_PORT.') or item.get('Access') == 'DeviceOnlyWrite':
        limit = lambda tag: item.find(tag + '/Constant').get('Value') if item.find(tag) is not None else '-'
        print('ITEM', name, item.get('Access', '-'), item[0].tag, limit('Minimum'), limit('Maximum'),
              item.find('CommunicationProperties/Tallwire').get('Handle'))
for mf in root.findall('MomentaryFunction'):
    item = mf.find('InvokeDataItem')
    print('MF', mf.get('Name'), mf.get('InvokeValue'), mf.get('TimeoutTime'), item.get('Name'), item.get('Access'),
          item[0].tag, item.find('CommunicationProperties/Tallwire').get('Handle'))
)PY";

struct ListFacts {
    std::string name;
    uint32_t handle;
    int entries;
};
// The five lists with their handles and entry counts.
const ListFacts kLists[] = {{"SHUTDOWNS.ANY", 0xC0C08001, 30},
                            {"ALARMS.ANY", 0xC0C08002, 100},
                            {"VLTR_ALMS.SUMMARY", 0xC0C08003, 90},
                            {"VLTR_ALMS.TRIP_SUM", 0xC0C08004, 35},
                            {"CONF_LATCH.ANY", 0xC0C08005, 49}};

// The texts of the shutdown list, in record order.
const char* const kTripTexts[30] = {
    "TRIP_01 DI 03 External Trip Input 1", "TRIP_02 Front Display Trip Button", "TRIP_03 Overspeed Trip",
    "TRIP_04 All Speed Probes Failed", "TRIP_05 Trip Command from Modbus", "TRIP_06 Configuration Error or IO Lock",
    "TRIP_07 Unit in Calibration Mode", "TRIP_08 Power Up Trip", "TRIP_09 External Trip Input 2",
    "TRIP_10 External Trip Input 3", "TRIP_11 External Trip Input 4", "TRIP_12 External Trip Input 5",
    "TRIP_13 AI Chan 1 Level 2 TRIP", "TRIP_14 AI Chan 2 Level 2 TRIP", "TRIP_15 AI Chan 3 Level 2 TRIP",
    "TRIP_16 AI Chan 4 Level 2 TRIP", "TRIP_17 TRIP from Veltra Nodes", "TRIP_18 At Overspeed Test Max Setpoint",
    "TRIP_19 HP Actuator Fault", "TRIP_20 Trip Cmd from OPC Device", "TRIP_21 AI Chan 1 SigFail TRIP",
    "TRIP_22 AI Chan 2 SigFail TRIP", "TRIP_23 AI Chan 3 SigFail TRIP", "TRIP_24 AI Chan 4 SigFail TRIP",
    "TRIP_25 Normal Shutdown Complete", "TRIP_26 Underspeed Trip", "TRIP_27 Trip Cmd from Farview",
    "TRIP_28 SPARE_28", "TRIP_29 SPARE_29", "TRIP_30 Tunable TRIP (SIM Mode)"};

TEST_F(Sid, EventListsCommandsAndRuntimeTextsAsTheControllerServesThem) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const std::string file = download(c);
    ASSERT_FALSE(file.empty());
    std::istringstream listing(runPython(kListEvents, file));

    std::map<std::string, std::string> sys, events;
    std::map<std::string, std::vector<std::string>> lists;
    std::vector<std::vector<std::string>> momentary;
    std::vector<std::string> header, commands;
    std::map<std::string, std::vector<uint32_t>> addresses;
    std::map<std::string, std::vector<std::string>> items;
    for (std::string line; std::getline(listing, line);) {
        std::istringstream words(line);
        std::string kind, name;
        words >> kind;
        if (kind == "SYS") {
            const size_t eq = line.find('=');
            sys[line.substr(4, eq - 4)] = line.substr(eq + 1);
        } else if (kind == "LIST") {
            words >> name;
            for (std::string w; words >> w;) lists[name].push_back(w);
        } else if (kind == "EV") {
            std::string id;
            words >> name >> id;
            const size_t bar = line.find('|');
            events[name + " " + line.substr(line.find(' ', 3) + 1, bar - line.find(' ', 3) - 1)] = line.substr(bar + 1);
        } else if (kind == "ROOT" || kind == "NV" || kind == "POLICY" || kind == "READ_LEVELS" || kind == "ACCOUNTS" ||
                   kind == "LIMITS_WITHOUT_ADDRESS") {
            header.push_back(line);
        } else if (kind == "CMD") {
            commands.push_back(line.substr(4));
        } else if (kind == "ADDR") {
            std::string tag;
            uint32_t address = 0;
            words >> tag >> address;
            addresses[tag].push_back(address);
        } else if (kind == "ITEM") {
            words >> name;
            for (std::string w; words >> w;) items[name].push_back(w);
        } else if (kind == "MF") {
            momentary.emplace_back();
            for (std::string w; words >> w;) momentary.back().push_back(w);
        }
    }

    // The document's head: identifier address, save protocol, policies, an
    // empty account list and the command levels advertised to the tool;
    // no value asks a level to be read; limits only for the tunables, which
    // have their address.
    EXPECT_EQ(header, (std::vector<std::string>{"ROOT 974848 9902-4411_e_2026-04-20_07.44.46",
                                                "NV TallwireSaveValues", "POLICY true", "READ_LEVELS 0",
                                                "ACCOUNTS 1 0"}));
    EXPECT_EQ(commands, (std::vector<std::string>{"Browse=2", "Get Product Identifier=1", "Get System Identifier=1",
                                                  "Get Configuration Identifier=1", "Save Values=7",
                                                  "Set Configuration Identifier=7", "Set Control Identifier=11",
                                                  "Reset Control=11", "Shutdown=11"}));
    // Each kind of tunable from its base, one after the other in the
    // document's order: reals and integers 4 bytes apart, booleans 1, texts 40.
    const std::pair<const char*, std::pair<uint32_t, uint32_t>> bases[] = {
        {"Float", {950272, 4}}, {"Integer", {953968, 4}}, {"Boolean", {956344, 1}}, {"String", {957352, 40}}};
    for (const auto& [tag, base] : bases) {
        const std::vector<uint32_t>& a = addresses[tag];
        ASSERT_FALSE(a.empty()) << tag;
        for (size_t k = 0; k < a.size(); ++k) EXPECT_EQ(a[k], base.first + base.second * k) << tag << " " << k;
    }

    // The serial port's settings with the ranges the port accepts, its flush
    // request a plain boolean tunable; the one item the tool may only take
    // and give back is the change token, a writable boolean of the value
    // area, the handle the controller takes the token under.
    const std::pair<const char*, std::vector<std::string>> settings[] = {
        {"BAUD", {"1", "12"}}, {"BITS", {"1", "2"}},   {"STOP", {"1", "3"}},  {"PARITY", {"1", "3"}},
        {"MODE", {"1", "2"}},  {"FLOW", {"1", "3"}},   {"ECHO", {"1", "2"}},  {"ENDLINE", {"1", "3"}},
        {"IGNCR", {"1", "2"}}, {"DRIVER", {"1", "3"}}, {"P_FLUSH", {"-", "-"}},
    };
    for (const auto& [field, range] : settings) {
        const std::vector<std::string>& w = items[std::string("CNFG_SIO.COMM1_PORT.") + field];
        ASSERT_EQ(w.size(), 5u) << field;
        EXPECT_EQ(w[0], "ReadWrite") << field;
        EXPECT_EQ(w[1], std::string(range[0] == "-" ? "Boolean" : "Integer")) << field;
        EXPECT_EQ(w[2], range[0]) << field;
        EXPECT_EQ(w[3], range[1]) << field;
    }
    size_t tokens = 0;
    for (const auto& [name, w] : items) {
        if (w[0] != "DeviceOnlyWrite") continue;
        ++tokens;
        EXPECT_EQ(name, "IFACE_MODE.TALLWIRE.LOCK_WRITE");
        EXPECT_EQ(w[1], "Boolean");
        EXPECT_EQ(std::stoul(w[4]) >> 20, 0x81Fu) << w[4];
        EXPECT_EQ(std::stoul(w[4]), ChangeTokenHandle);
    }
    EXPECT_EQ(tokens, 1u);

    // The runtime's texts beside the product name.
    EXPECT_EQ(sys["Product Name"], "Zarn 200");
    EXPECT_EQ(sys["OsVersion"], "1.00-0");
    EXPECT_EQ(sys["OSRelease Date"], "2016/12/06");

    // Each list: its handle, its state value, the four attributes, and one
    // event per record: the entries, then reset, all cleared, acknowledge.
    ASSERT_EQ(lists.size(), 5u);
    size_t eventCount = 0;
    std::set<uint32_t> stateHandles;
    for (const ListFacts& l : kLists) {
        const std::vector<std::string>& w = lists[l.name];
        ASSERT_EQ(w.size(), 6u) << l.name;
        EXPECT_EQ(w[0], std::to_string(l.handle)) << l.name;
        EXPECT_EQ(w[2], "Time:false:VKTime");
        EXPECT_EQ(w[3], "Severity:true:Integer");
        EXPECT_EQ(w[4], "Category:true:Integer");
        EXPECT_EQ(w[5], "TIQ_source:true:String");
        // The state value, the list's change counter, under a read-only
        // integer handle of the value table, above 0 once the list has
        // changed (the power-up trip has latched in the shutdown list by
        // now); the list's own handle is no value (status 1), alone or in a
        // batch.
        const uint32_t state = uint32_t(std::stoul(w[1]));
        EXPECT_EQ(state & 0xFFF00000u, 0xC4B00000u) << l.name;
        EXPECT_LT(state & 0xFFFFFu, sizeofHMIValueArray) << l.name;
        const Bytes counter = c.read(state);
        ASSERT_EQ(counter.size(), 5u) << l.name;
        EXPECT_EQ(counter[0], 0) << l.name;
        if (l.name == "SHUTDOWNS.ANY") {
            EXPECT_GT(be32(counter, 1), 0u);
        }
        EXPECT_EQ(c.read(l.handle), (Bytes{1})) << l.name;
        const Bytes batch = c.ask(cat({{0x28}, u32(l.handle), u32(state)}));
        EXPECT_EQ(batch, cat({{0, 1, 0}, Bytes(counter.begin() + 1, counter.end())})) << l.name;
        stateHandles.insert(state);
        for (int r = 1; r <= l.entries; ++r) {
            const std::string e = events[l.name + " " + std::to_string(r)];
            const std::string tail = "|500|0|" + l.name + ".SEL_" + std::to_string(r);
            ASSERT_GE(e.size(), tail.size()) << l.name << " " << r;
            EXPECT_EQ(e.substr(e.size() - tail.size()), tail) << l.name << " " << r;
        }
        const char* kinds[3] = {"Reset command activated", "All events cleared", "Acknowledge command activated"};
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(events[l.name + " " + std::to_string(l.entries + 1 + k)],
                      std::string(kinds[k]) + "|1|" + std::to_string(k + 1) + "|" + l.name)
                << l.name;
        eventCount += size_t(l.entries) + 3;
    }
    EXPECT_EQ(events.size(), eventCount);
    EXPECT_EQ(stateHandles.size(), 5u);
    EXPECT_EQ(sys["SYSTEM_DATE"], "2016/12/06");
    // Read as an array, the shutdown list gives its own events first and then
    // its latched entries, each by record number with the time it happened
    // (the rig's open trip contacts have latched entries by now).
    const Bytes latched = c.ask(cat({{0x24}, u32(0xC0C08001), u32(0)}));
    ASSERT_FALSE(latched.empty());
    ASSERT_EQ(latched[0], 0);
    ASSERT_EQ((latched.size() - 1) % 10, 0u);
    int latchedEntries = 0;
    for (size_t at = 1; at < latched.size(); at += 10) {
        const int record = latched[at] << 8 | latched[at + 1];
        EXPECT_GE(record, 1);
        EXPECT_LE(record, 33);
        EXPECT_GT(be32(latched, at + 2), 0u) << record;
        if (record <= 30) ++latchedEntries;
        else EXPECT_EQ(latchedEntries, 0) << "list event " << record << " after an entry";
    }
    EXPECT_GT(latchedEntries, 0);
    for (int r = 1; r <= 30; ++r)
        EXPECT_EQ(events["SHUTDOWNS.ANY " + std::to_string(r)],
                  std::string(kTripTexts[r - 1]) + "|500|0|SHUTDOWNS.ANY.SEL_" + std::to_string(r));
    const std::pair<const char*, const char*> samples[] = {
        {"ALARMS.ANY 1", "ALM_001 Speed Probe #1 Failed|500|0|ALARMS.ANY.SEL_1"},
        {"ALARMS.ANY 3", "ALM_003 Turbine Tripped|500|0|ALARMS.ANY.SEL_3"},
        {"ALARMS.ANY 35", "ALM_035 Bearing Temp 2 Failed (AI)|500|0|ALARMS.ANY.SEL_35"},
        {"ALARMS.ANY 52", "ALM_052 AI Chan 4 Level 2 ALM|500|0|ALARMS.ANY.SEL_52"},
        {"VLTR_ALMS.SUMMARY 1", "Veltra Node 1 Comm Fault|500|0|VLTR_ALMS.SUMMARY.SEL_1"},
        {"VLTR_ALMS.TRIP_SUM 18", "Node 3 RTD_1 Level 2 Trip|500|0|VLTR_ALMS.TRIP_SUM.SEL_18"},
        {"CONF_LATCH.ANY 1", "Duplicate Contact Input Channel|500|0|CONF_LATCH.ANY.SEL_1"},
        {"CONF_LATCH.ANY 10", "Duplicate Analog Input Channel|500|0|CONF_LATCH.ANY.SEL_10"},
        {"CONF_LATCH.ANY 21", "Analog Output 03 Error|500|0|CONF_LATCH.ANY.SEL_21"},
        {"CONF_LATCH.ANY 23", "Cascade Configured, No AI|500|0|CONF_LATCH.ANY.SEL_23"},
    };
    for (const auto& [key, value] : samples) EXPECT_EQ(events[key], value) << key;

    // The two LED tests, invoked as a momentary "true" for 5 s through their
    // command inputs; the handle is the one the controller serves the cell by.
    ASSERT_EQ(momentary.size(), 2u);
    const char* cells[2] = {"ALARMS.LED_TEST.IN_1", "SHUTDOWNS.LED_TEST.IN_1"};
    for (int k = 0; k < 2; ++k) {
        const std::vector<std::string>& m = momentary[size_t(k)];
        ASSERT_EQ(m.size(), 7u);
        EXPECT_EQ(m[1], "true");
        EXPECT_EQ(m[2], "5");
        EXPECT_EQ(m[3], cells[k]);
        EXPECT_EQ(m[4], "DeviceOnlyWrite");
        EXPECT_EQ(m[5], "Boolean");
        EXPECT_EQ(m[6], std::to_string(handleOf(cells[k])));
        EXPECT_NE(handleOf(cells[k]), 0u);
        EXPECT_EQ(c.read(handleOf(cells[k])), (Bytes{0, 0})) << cells[k];
    }
}

}  // namespace
