#!/usr/bin/env python3
"""Reads a binary data-log file and prints it as lines of text.

The file is big-endian, fields one after another without padding:
a 40-byte banner, the f32 format version, the header length, the block
name, the log time (seconds, microseconds), the number of variables, the
length of the system-information text and the text; then per variable its
header (length, name, description, type text, three u32 words) and its
samples: S u32 words for "A4"/"I4", ceil(S / 32) packed u32 words for "b",
first sample in the most significant bit.
"""
import struct
import sys


def cstr(data, at):
    end = data.index(b"\0", at)
    return data[at:end].decode("latin-1"), end + 1


def read(path):
    data = open(path, "rb").read()
    banner = data[:40]
    version, header_len = struct.unpack(">fI", data[40:48])
    block, at = cstr(data, 48)
    sec, usec, count, info_len = struct.unpack(">IIII", data[at:at + 16])
    at += 16
    info = data[at:at + info_len]
    at += info_len
    out = {
        "banner": banner.rstrip(b"\0").decode("latin-1"),
        "banner_nul": banner[39] == 0,
        "version": round(version, 6),
        "header_len": header_len,
        "block": block,
        "log_time": [sec, usec],
        "count": count,
        "info": info.decode("latin-1"),
        "info_len": info_len,
        "vars": [],
    }
    while at < len(data):
        length, = struct.unpack(">I", data[at:at + 4])
        start = at + 4
        name, p = cstr(data, start)
        desc, p = cstr(data, p)
        typ, p = cstr(data, p)
        w1, w2, w3 = struct.unpack(">III", data[p:p + 12])
        p += 12
        if p - start != length:
            raise SystemExit("header length %d, fields take %d" % (length, p - start))
        if typ == "b":
            words = (w2 + 31) // 32
            packed = struct.unpack(">%dI" % words, data[p:p + 4 * words])
            samples = [(packed[i // 32] >> (31 - i % 32)) & 1 for i in range(w2)]
            pad = [(packed[i // 32] >> (31 - i % 32)) & 1 for i in range(w2, 32 * words)]
            if any(pad):
                raise SystemExit("padding bits set in %s" % name)
            p += 4 * words
        else:
            fmt = ">%d%s" % (w2, "f" if typ == "A4" else "i")
            samples = list(struct.unpack(fmt, data[p:p + 4 * w2]))
            p += 4 * w2
        out["vars"].append({"name": name, "path": desc, "type": typ, "spacing": w1,
                            "samples": samples, "dynamic": w3})
        at = p
    if len(out["vars"]) != count:
        raise SystemExit("%d variables, header says %d" % (len(out["vars"]), count))
    return out


def main():
    log = read(sys.argv[1])
    print("banner", log["banner"], int(log["banner_nul"]))
    print("version", log["version"])
    print("block", log["block"])
    print("time", *log["log_time"])
    print("lengths", log["header_len"], log["info_len"], len(log["info"]))
    print("info", log["info"].replace("\r", "|").replace("\0", ""))
    print("count", log["count"])
    for v in log["vars"]:
        vals = " ".join(repr(x) for x in v["samples"])
        print("var\t%s\t%s\t%s\t%d\t%d\t%d\t%s" % (v["type"], v["path"], v["name"], v["spacing"],
                                                  v["dynamic"], len(v["samples"]), vals))


if __name__ == "__main__":
    main()
