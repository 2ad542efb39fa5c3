// The service interface definition downloaded over TCP, decompressed and
// parsed by Python's gzip and XML readers, and every value it lists read
// back by handle in batches.
#include <cstdio>
#include <map>
#include <sstream>

#include "runtime/catalogue_tables.h"
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

class Sid : public ServiceApp {};

TEST_F(Sid, DownloadedParsedAndEveryValueReadBack) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    // The handle of the definition, its size, then its bytes a reply at a time.
    ASSERT_EQ(c.ask(cat({{0x20}, str0("__SID")})), cat({{0}, u32(0xD0100001), {1, 2}}));
    EXPECT_EQ(c.ask(cat({{0x20}, str0("_CONTROL_TIME")})), cat({{0}, u32(0xC9100000), {1, 0x40}}));
    EXPECT_EQ(c.ask(cat({{0x20}, str0("SPD.X")})), (Bytes{1}));
    Bytes head = c.ask(cat({{0x2B}, u32(0xD0100001), u32(0), u32(0)}));
    ASSERT_EQ(head.size(), 9u);
    ASSERT_EQ(head[0], 0);
    const uint32_t size = be32(head, 1);
    Bytes sid;
    while (sid.size() < size) {
        Bytes part = c.ask(cat({{0x2B}, u32(0xD0100001), u32(uint32_t(sid.size())), u32(1)}));
        ASSERT_GT(part.size(), 1u);
        ASSERT_EQ(part[0], 0);
        sid.insert(sid.end(), part.begin() + 1, part.end());
    }
    EXPECT_EQ(c.ask(cat({{0x2B}, u32(0xD0100001), u32(size), u32(1)})), (Bytes{2}));
    EXPECT_EQ(c.ask(cat({{0x2B}, u32(0xC9100000), u32(0), u32(0)})), (Bytes{1}));
    const std::string file = root_ + "/sid.gz";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(sid.data()), std::streamsize(sid.size()));

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
    // Every cell of the application, and the controller's clock.
    EXPECT_EQ(handles.size(), sizeofHMIValueArray + 1);
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

}  // namespace
