#!/usr/bin/env node
'use strict';
// Simulated remote I/O nodes on the controller's virtual CAN bus, built on the
// `canopen` package: each node is a CANopen device with the objects the
// controller's configuration sequence reads and writes, an NMT slave that
// sends its boot-up after a reset, and settable misbehaviour.
//
//   node sim_nodes.js <bus port> <node>...
//
// A node is KIND:ID[:OPTION]... with KIND one of aio, rtd, bi, bo and options
//   never            ignores reset-node (never boots)
//   twice            sends two boot-ups per reset
//   late=MS[@I.S]    answers SDO requests MS ms late (only object I sub S,
//                    and then also the segments of its upload)
//   abort=I.S        answers object I (hex) sub S with an SDO abort
//   code=X           reports module code X (object 0x2000)
//   pdo              sends its transmit PDOs on each SYNC while operational
//   timer            sends transmit PDO n (1..4, COB-id 0x80 + n * 0x100 + id)
//                    every T ms while operational, T being the event time in
//                    object 0x1800+n-1 sub 5 as the controller wrote it (0: none)
// A transmit PDO carries the node's own data length: 8 bytes for four
// channels, 4 for the analog node's two output readbacks, 3 for the 16
// discrete inputs (and a status byte), 2 for the 16 relay readbacks.
// Two nodes with the same id share it. The script prints "ready" once it is
// on the bus; on SIGTERM (or when stdin closes) it prints one JSON line per
// node with its NMT state, resets and the downloads it took, and exits.

const net = require('net');
const { Device, DataType, ObjectType, AccessType } = require('canopen');

const KINDS = {
    aio: { code: 0x6001, name: 'VL-AIO-10C', channels: 10, tpdo: [0x280, 0x380, 0x480], len: { 0x280: 8, 0x380: 8, 0x480: 4 } },
    rtd: { code: 0x1001, name: 'VL-RTD-8C', channels: 8, tpdo: [0x280, 0x380], len: { 0x280: 8, 0x380: 8 } },
    bi: { code: 0x5001, name: 'VL-BI-16C', channels: 16, tpdo: [0x180], len: { 0x180: 3 } },
    bo: { code: 0x4001, name: 'VL-BO-16C', channels: 16, tpdo: [0x180], len: { 0x180: 2 } },
};

function parseLine(line) {
    const m = /^([0-9A-Fa-f]{1,3})#((?:[0-9A-Fa-f]{2}){0,8})$/.exec(line.trim());
    if (!m) return null;
    const data = Buffer.from(m[2], 'hex');
    return { id: parseInt(m[1], 16), data, len: data.length };
}

function formatFrame(id, data) {
    return id.toString(16).toUpperCase().padStart(3, '0') + '#' + Buffer.from(data).toString('hex').toUpperCase();
}

function parseObject(text) {
    const [i, s = '0'] = text.split('.');
    return { index: parseInt(i, 16), sub: parseInt(s, 10) };
}

function parseNode(spec) {
    const [kind, idText, ...opts] = spec.split(':');
    if (!KINDS[kind]) throw new Error(`unknown node kind ${kind}`);
    const node = { kind, id: Number(idText), never: false, twice: false, lateMs: 0, lateObject: null,
        aborts: [], code: KINDS[kind].code, pdo: false, timer: false };
    for (const o of opts) {
        const [k, v] = o.split('=');
        if (k === 'never') node.never = true;
        else if (k === 'twice') node.twice = true;
        else if (k === 'pdo') node.pdo = true;
        else if (k === 'timer') node.timer = true;
        else if (k === 'late') {
            const [ms, obj] = v.split('@');
            node.lateMs = Number(ms);
            node.lateObject = obj ? parseObject(obj) : null;
        } else if (k === 'abort') node.aborts.push(parseObject(v));
        else if (k === 'code') node.code = Number(v);
        else throw new Error(`unknown option ${o}`);
    }
    return node;
}

function addVar(eds, index, name, dataType, value, access = AccessType.READ_WRITE) {
    if (eds.getEntry(index)) eds.removeEntry(index);
    eds.addEntry(index, { parameterName: name, objectType: ObjectType.VAR, dataType, accessType: access,
        defaultValue: value });
}

function addRecord(eds, index, name, subs) {
    if (eds.getEntry(index)) eds.removeEntry(index);
    eds.addEntry(index, { parameterName: name, objectType: ObjectType.RECORD, subNumber: 0 });
    for (const [sub, dataType, value, access] of subs) {
        eds.addSubEntry(index, sub, { parameterName: `${name} ${sub}`, dataType,
            accessType: access || AccessType.READ_WRITE, defaultValue: value });
    }
}

function buildDevice(node, send) {
    const k = KINDS[node.kind];
    const device = new Device({ id: node.id });
    const eds = device.eds;
    eds.addSdoServerParameter(0, 0x580 + node.id, 0x600 + node.id, { saveDefault: true });
    addVar(eds, 0x1000, 'Device type', DataType.UNSIGNED32, 0x191, AccessType.READ_ONLY);
    addVar(eds, 0x1001, 'Error register', DataType.UNSIGNED8, 0, AccessType.READ_ONLY);
    addVar(eds, 0x1006, 'Communication cycle period', DataType.UNSIGNED32, 0);
    addVar(eds, 0x1008, 'Manufacturer device name', DataType.VISIBLE_STRING, k.name, AccessType.CONSTANT);
    addVar(eds, 0x100A, 'Manufacturer software version', DataType.VISIBLE_STRING, 'rev A 2.14', AccessType.CONSTANT);
    addRecord(eds, 0x1010, 'Store parameters', [[1, DataType.UNSIGNED32, 0]]);
    addVar(eds, 0x1017, 'Producer heartbeat time', DataType.UNSIGNED16, 0);
    addRecord(eds, 0x1018, 'Identity', [
        [1, DataType.UNSIGNED32, 0x1F0, AccessType.READ_ONLY],
        [2, DataType.UNSIGNED32, 0x00100000 + Object.keys(KINDS).indexOf(node.kind), AccessType.READ_ONLY],
        [3, DataType.UNSIGNED32, 0x00010002, AccessType.READ_ONLY],
        [4, DataType.UNSIGNED32, 41000 + node.id, AccessType.READ_ONLY]]);
    // PDO parameters that the package's own PDO service leaves alone (COB-id
    // not valid, nothing mapped): the script sends the PDOs itself.
    for (let n = 0; n < 4; ++n) {
        addRecord(eds, 0x1400 + n, `RPDO ${n + 1} parameters`,
            [[1, DataType.UNSIGNED32, 0x80000000], [5, DataType.UNSIGNED16, 0]]);
        addRecord(eds, 0x1800 + n, `TPDO ${n + 1} parameters`,
            [[1, DataType.UNSIGNED32, 0x80000000], [5, DataType.UNSIGNED16, 0]]);
        addRecord(eds, 0x1600 + n, `RPDO ${n + 1} mapping`, []);
        addRecord(eds, 0x1A00 + n, `TPDO ${n + 1} mapping`, []);
    }
    addVar(eds, 0x2000, 'Module code', DataType.UNSIGNED32, node.code, AccessType.READ_ONLY);
    addVar(eds, 0x2212, 'Module temperature', DataType.UNSIGNED8, 45, AccessType.READ_ONLY);
    addRecord(eds, 0x2264, 'Port', [[1, DataType.UNSIGNED8, 1], [2, DataType.UNSIGNED8, 1, AccessType.READ_ONLY]]);
    const chans = [];
    for (let c = 1; c <= k.channels; ++c) chans.push([c, DataType.UNSIGNED16, c]);
    addRecord(eds, 0x2268, 'Channel value', chans);
    if (node.kind === 'rtd') {
        addRecord(eds, 0x2269, 'Sensor type', chans.map(([c]) => [c, DataType.UNSIGNED8, 0]));
        addRecord(eds, 0x6430, 'Units', chans.map(([c]) => [c, DataType.UNSIGNED32, 0]));
    }
    device.on('message', (m) => send(m.id, m.data.subarray(0, m.len !== undefined ? m.len : m.data.length)));
    return device;
}

function main() {
    const [portArg, ...specs] = process.argv.slice(2);
    const nodes = specs.map(parseNode);
    const socket = net.connect(Number(portArg), '127.0.0.1');
    socket.setNoDelay(true);
    const write = (id, data) => socket.write(formatFrame(id, data) + '\n');

    for (const node of nodes) {
        node.writes = [];
        node.resets = 0;
        node.lastSent = [];
        node.device = buildDevice(node, (id, data) => {
            const sdo = id === 0x580 + node.id;
            const segment = (data[0] & 0xE0) === 0x00;
            const late = sdo && node.lateMs > 0 && (!node.lateObject ||
                (data.readUInt16LE(1) === node.lateObject.index && data[3] === node.lateObject.sub) ||
                (segment && node.lateUpload));
            if (late) setTimeout(() => write(id, data), node.lateMs);
            else write(id, data);
        });
    }

    const bootUp = (node) => {
        const n = node.twice ? 2 : 1;
        for (let i = 0; i < n; ++i) write(0x700 + node.id, [0]);
    };

    const onFrame = (f) => {
        for (const node of nodes) {
            if (f.id === 0 && f.len === 2 && (f.data[1] === 0 || f.data[1] === node.id)) {
                const cs = f.data[0];
                if (cs === 0x81 || cs === 0x82) {
                    if (node.never) continue;
                    node.resets += 1;
                    node.device.receive(f);
                    setImmediate(() => bootUp(node));
                    continue;
                }
                node.device.receive(f);
                continue;
            }
            if (f.id === 0x600 + node.id && f.len === 8) {
                const index = f.data.readUInt16LE(1);
                const sub = f.data[3];
                const cmd = f.data[0];
                // An upload of the late object: its segments are late too.
                if ((cmd & 0xE0) === 0x40 || (cmd & 0xE0) === 0x20) {
                    node.lateUpload = node.lateObject !== null && index === node.lateObject.index &&
                        sub === node.lateObject.sub;
                }
                if ((cmd & 0xE0) === 0x40 || (cmd & 0xE0) === 0x20) {
                    if (node.aborts.some((a) => a.index === index && a.sub === sub)) {
                        const a = Buffer.alloc(8);
                        a[0] = 0x80;
                        a.writeUInt16LE(index, 1);
                        a[3] = sub;
                        a.writeUInt32LE(0x06010002, 4);
                        write(0x580 + node.id, a);
                        continue;
                    }
                }
                if ((cmd & 0xE0) === 0x20) node.writes.push([index, sub, f.data.readUInt32LE(4)]);
            }
            if (f.id === 0x80 && node.pdo && node.device.nmt.state === 5) {
                for (const cob of KINDS[node.kind].tpdo) write(cob + node.id, Buffer.alloc(KINDS[node.kind].len[cob]));
            }
            node.device.receive(f);
        }
    };

    // Event-timed transmit PDOs: a 5 ms tick sends each one that is due.
    const timed = nodes.filter((n) => n.timer);
    if (timed.length > 0) {
        setInterval(() => {
            const now = Date.now();
            for (const node of timed) {
                if (node.device.nmt.state !== 5) {
                    node.lastSent = [];
                    continue;
                }
                for (let n = 0; n < 4; ++n) {
                    const ms = Number(node.device.getValueArray(0x1800 + n, 5));
                    if (ms <= 0) continue;
                    // Due on a fixed cadence, so that the 5 ms tick adds no drift;
                    // after a stall of the process the cadence starts afresh.
                    const due = node.lastSent[n];
                    if (due !== undefined && now - due < ms) continue;
                    node.lastSent[n] = due !== undefined && now - due < 2 * ms ? due + ms : now;
                    const cob = 0x180 + 0x100 * n;
                    write(cob + node.id, Buffer.alloc(KINDS[node.kind].len[cob] || 8));
                }
            }
        }, 5);
    }

    let pending = '';
    socket.on('data', (chunk) => {
        pending += chunk.toString('latin1');
        let nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const f = parseLine(pending.slice(0, nl));
            pending = pending.slice(nl + 1);
            if (f) onFrame(f);
        }
    });

    let done = false;
    const finish = () => {
        if (done) return;
        done = true;
        const out = nodes.map((n) => JSON.stringify({ kind: n.kind, id: n.id, state: n.device.nmt.state,
            resets: n.resets, writes: n.writes })).join('\n');
        socket.end();
        process.stdout.write(out + '\n', () => process.exit(0));
    };
    socket.on('error', (e) => {
        process.stderr.write(String(e) + '\n');
        process.exit(2);
    });
    socket.on('close', finish);
    socket.on('connect', () => {
        for (const node of nodes) node.device.start();
        process.stdout.write('ready\n');
    });
    process.on('SIGTERM', finish);
    process.stdin.on('end', finish);
    process.stdin.resume();
}

main();
