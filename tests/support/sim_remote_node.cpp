#include "tests/support/sim_remote_node.h"

#include <algorithm>
#include <cstring>

#include "host/hostkernel.h"

namespace {

uint32_t le32(const uint8_t* d) {
    return static_cast<uint32_t>(d[0]) | static_cast<uint32_t>(d[1]) << 8 | static_cast<uint32_t>(d[2]) << 16 |
           static_cast<uint32_t>(d[3]) << 24;
}

// Bytes an object's value takes on the bus.
int sizeOf(uint16_t index, uint8_t sub) {
    switch (index) {
        case 0x1001:
        case 0x2212:
        case 0x2264:
        case 0x2269: return 1;
        case 0x1017:
        case 0x2268: return 2;
        default: break;
    }
    if ((index >= 0x1400 && index <= 0x1403) || (index >= 0x1800 && index <= 0x1803)) return sub == 5 ? 2 : 4;
    return 4;
}

bool readOnly(uint16_t index, uint8_t sub) {
    return index == 0x1018 || index == 0x2000 || index == 0x1001 || index == 0x2212 || (index == 0x2264 && sub == 2);
}

const char* deviceName(SimRemoteNode::Kind k) {
    switch (k) {
        case SimRemoteNode::Kind::AnalogIO: return "VL-AIO-10C";
        case SimRemoteNode::Kind::Rtd: return "VL-RTD-8C";
        case SimRemoteNode::Kind::DiscreteIn: return "VL-BI-16C";
        case SimRemoteNode::Kind::RelayOut: return "VL-BO-16C";
    }
    return "";
}

hostcan::Frame answer(uint8_t id, uint8_t cmd, uint16_t index, uint8_t sub, uint32_t value) {
    hostcan::Frame r;
    r.id = 0x580u + id;
    r.len = 8;
    r.data[0] = cmd;
    r.data[1] = static_cast<uint8_t>(index);
    r.data[2] = static_cast<uint8_t>(index >> 8);
    r.data[3] = sub;
    for (int i = 0; i < 4; ++i) r.data[4 + i] = static_cast<uint8_t>(value >> (8 * i));
    return r;
}

}  // namespace

uint32_t SimRemoteNode::moduleCode(Kind kind) {
    switch (kind) {
        case Kind::AnalogIO: return 0x6001;
        case Kind::Rtd: return 0x1001;
        case Kind::DiscreteIn: return 0x5001;
        case Kind::RelayOut: return 0x4001;
    }
    return 0;
}

SimRemoteNode::SimRemoteNode(Kind kind, uint8_t id) : kind_(kind), id_(id) {
    values[key(0x1001, 0)] = 0;
    values[key(0x1006, 0)] = 0;
    values[key(0x1010, 1)] = 0;
    values[key(0x1017, 0)] = 1000;
    values[key(0x1018, 1)] = 0x000001F0;
    values[key(0x1018, 2)] = 0x00100000u + static_cast<uint32_t>(kind);
    values[key(0x1018, 3)] = 0x00010002;
    values[key(0x1018, 4)] = 41000u + id;
    values[key(0x2000, 0)] = moduleCode(kind);
    values[key(0x2212, 0)] = 45;
    values[key(0x2264, 1)] = 1;
    values[key(0x2264, 2)] = 1;
    for (int k = 0; k < 4; ++k) {
        values[key(static_cast<uint16_t>(0x1400 + k), 5)] = 0;
        values[key(static_cast<uint16_t>(0x1800 + k), 5)] = 0;
    }
    const int channels = kind == Kind::AnalogIO ? 10 : kind == Kind::Rtd ? 8 : 16;
    for (int c = 1; c <= channels; ++c) values[key(0x2268, static_cast<uint8_t>(c))] = static_cast<uint32_t>(c);
    if (kind == Kind::Rtd) {
        for (int c = 1; c <= 8; ++c) {
            values[key(0x2269, static_cast<uint8_t>(c))] = 0;
            values[key(0x6430, static_cast<uint8_t>(c))] = 0;
        }
    }
    texts[key(0x1008, 0)] = deviceName(kind);
    texts[key(0x100A, 0)] = "rev A 2.14";
    participant_ = hostcan::attach("sim-node-" + std::to_string(id), [this](const hostcan::Frame& f) { receive(f); });
    hook_ = hk::addTickHook([this] { tick(); });
}

SimRemoteNode::~SimRemoteNode() {
    hk::removeTickHook(hook_);
    hostcan::detach(participant_);
}

uint8_t SimRemoteNode::nmtState() const {
    std::lock_guard<std::mutex> lk(mu_);
    return nmt_;
}

int SimRemoteNode::resets() const {
    std::lock_guard<std::mutex> lk(mu_);
    return resets_;
}

std::vector<SimRemoteNode::Write> SimRemoteNode::writes() const {
    std::lock_guard<std::mutex> lk(mu_);
    return writes_;
}

void SimRemoteNode::reply(const hostcan::Frame& f) {
    {
        std::lock_guard<std::mutex> lk(mu_);
        if (lateMs > 0) {
            held_.emplace_back(f, lateMs);
            return;
        }
    }
    hostcan::send(participant_, f);
}

void SimRemoteNode::tick() {
    std::vector<hostcan::Frame> due;
    {
        std::lock_guard<std::mutex> lk(mu_);
        for (auto& h : held_) h.second -= 5;
        for (auto& h : held_)
            if (h.second <= 0) due.push_back(h.first);
        held_.erase(std::remove_if(held_.begin(), held_.end(), [](const auto& h) { return h.second <= 0; }),
                    held_.end());
    }
    for (const auto& f : due) hostcan::send(participant_, f);
}

void SimRemoteNode::receive(const hostcan::Frame& f) {
    if (f.id == 0 && f.len == 2 && (f.data[1] == 0 || f.data[1] == id_)) {
        const uint8_t cs = f.data[0];
        int boots = 0;
        {
            std::lock_guard<std::mutex> lk(mu_);
            if (cs == 0x01) nmt_ = 5;
            if (cs == 0x02) nmt_ = 4;
            if (cs == 0x80) nmt_ = 127;
            if ((cs == 0x81 || cs == 0x82) && !neverBoots) {
                ++resets_;
                nmt_ = 127;
                segText_.clear();
                boots = bootUps;
            }
        }
        for (int i = 0; i < boots; ++i) hostcan::send(participant_, hostcan::makeFrame(0x700u + id_, {0x00}));
        return;
    }
    if (f.id == 0x600u + id_ && f.len == 8) onSdo(f);
}

void SimRemoteNode::onSdo(const hostcan::Frame& f) {
    const uint8_t cmd = f.data[0];
    const uint16_t index = static_cast<uint16_t>(f.data[1] | f.data[2] << 8);
    const uint8_t sub = f.data[3];
    const uint32_t k = key(index, sub);
    hostcan::Frame out;
    {
        std::lock_guard<std::mutex> lk(mu_);
        if (cmd == 0x80) {  // the client aborts
            segText_.clear();
            return;
        }
        if ((cmd & 0xE0) == 0x60) {  // segment request
            if (segText_.empty() && segPos_ == 0) {
                out = answer(id_, 0x80, 0, 0, 0x05040001);
            } else {
                const uint8_t t = badToggle ? 0 : (cmd & 0x10);
                const size_t n = std::min<size_t>(7, segText_.size() - segPos_);
                const bool last = segPos_ + n >= segText_.size();
                out.id = 0x580u + id_;
                out.len = 8;
                out.data[0] = static_cast<uint8_t>(t | (7 - n) << 1 | (last ? 1 : 0));
                std::memcpy(out.data + 1, segText_.data() + segPos_, n);
                segPos_ += n;
                if (last) {
                    segText_.clear();
                    segPos_ = 0;
                }
            }
        } else {
            if (silent.count(k) != 0) return;
            const auto ab = aborts.find(k);
            const auto val = values.find(k);
            const auto txt = texts.find(k);
            if (ab != aborts.end()) {
                out = answer(id_, 0x80, index, sub, ab->second);
            } else if (cmd == 0x40 && txt != texts.end()) {
                segText_ = txt->second;
                segPos_ = 0;
                out = answer(id_, 0x41, index, sub, static_cast<uint32_t>(segText_.size()));
                if (segText_.empty()) segPos_ = 1;
            } else if (cmd == 0x40 && val != values.end()) {
                const int n = sizeOf(index, sub);
                out = answer(id_, static_cast<uint8_t>(0x43 + 4 * (4 - n)), index, sub, val->second);
            } else if ((cmd & 0xE0) == 0x20 && val != values.end()) {
                if (readOnly(index, sub)) {
                    out = answer(id_, 0x80, index, sub, 0x06010002);
                } else {
                    const int n = (cmd & 0x02) != 0 && (cmd & 0x01) != 0 ? 4 - ((cmd >> 2) & 3) : 4;
                    uint32_t v = le32(f.data + 4);
                    if (n < 4) v &= (1u << (8 * n)) - 1u;
                    val->second = v;
                    writes_.push_back({index, sub, v});
                    out = answer(id_, 0x60, index, sub, 0);
                }
            } else {
                out = answer(id_, 0x80, index, sub, 0x06020000);
            }
        }
    }
    reply(out);
}
