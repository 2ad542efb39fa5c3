#!/usr/bin/env node
'use strict';
// Independent CANopen peer on the controller's virtual CAN bus. It connects to
// the bus port (one frame per line in candump's compact form), hands every
// frame to a CANopen device of the `canopen` package, counts the SYNC frames
// it consumes and reads the controller's identity object (0x1018) over SDO.
// It prints one JSON line with what it saw and exits.
//
//   node canopen_peer.js <bus port> [server node id] [own node id] [SYNCs to see]

const net = require('net');
const { Device, DataType } = require('canopen');

const [portArg, serverArg = '10', ownArg = '125', syncArg = '5'] = process.argv.slice(2);
const serverId = Number(serverArg);
const syncsWanted = Number(syncArg);

function parseLine(line) {
    const m = /^([0-9A-Fa-f]{1,3})#((?:[0-9A-Fa-f]{2}){0,8})$/.exec(line.trim());
    if (!m) return null;
    const data = Buffer.from(m[2], 'hex');
    return { id: parseInt(m[1], 16), data, len: data.length };
}

function formatFrame(message) {
    const len = message.len !== undefined ? message.len : message.data.length;
    return message.id.toString(16).toUpperCase().padStart(3, '0') + '#' +
        Buffer.from(message.data).subarray(0, len).toString('hex').toUpperCase();
}

function finish(result, code) {
    process.stdout.write(JSON.stringify(result) + '\n', () => process.exit(code));
}

const device = new Device({ id: Number(ownArg) });
device.eds.addSdoClientParameter(serverId, 0x600 + serverId, 0x580 + serverId);
device.eds.setSyncCobId(0x80);

const socket = net.connect(Number(portArg), '127.0.0.1');
socket.setNoDelay(true);
device.on('message', (m) => socket.write(formatFrame(m) + '\n'));

let pending = '';
socket.on('data', (chunk) => {
    pending += chunk.toString('latin1');
    let nl;
    while ((nl = pending.indexOf('\n')) >= 0) {
        const frame = parseLine(pending.slice(0, nl));
        pending = pending.slice(nl + 1);
        if (frame) device.receive(frame);
    }
});
socket.on('error', (e) => finish({ ok: false, error: String(e) }, 2));

const timer = setTimeout(() => finish({ ok: false, error: 'timed out' }, 3), 20000);

socket.on('connect', async () => {
    try {
        let syncs = 0;
        const sawSyncs = new Promise((resolve) => {
            device.sync.on('sync', () => {
                if (++syncs === syncsWanted) resolve();
            });
        });
        device.start();

        const identity = [];
        identity.push(await device.sdo.upload({
            serverId, index: 0x1018, subIndex: 0, dataType: DataType.UNSIGNED8, timeout: 2000,
        }));
        for (let sub = 1; sub <= identity[0]; ++sub) {
            identity.push(await device.sdo.upload({
                serverId, index: 0x1018, subIndex: sub, dataType: DataType.UNSIGNED32, timeout: 2000,
            }));
        }
        const syncCobId = await device.sdo.upload({
            serverId, index: 0x1005, subIndex: 0, dataType: DataType.UNSIGNED32, timeout: 2000,
        });
        await sawSyncs;
        clearTimeout(timer);
        device.stop();
        socket.end();
        finish({ ok: true, syncs: Math.min(syncs, syncsWanted), syncCobId, identity }, 0);
    } catch (e) {
        finish({ ok: false, error: String(e) }, 4);
    }
});
