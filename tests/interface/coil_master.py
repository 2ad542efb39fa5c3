#!/usr/bin/python3
"""A Modbus TCP master (pymodbus) that keeps one connection to the
controller and takes its requests one line at a time from stdin:
  "w N V"  write coil N (reference number, from 1) to V (0 or 1)
  "r N C"  read C coils from coil N
  "q"      close and end
Answers one line per request on stdout: "ok", the coils read as 0/1 words,
or "err" with what went wrong."""
import sys

from pymodbus.client import ModbusTcpClient


def main():
    port, unit = int(sys.argv[1]), int(sys.argv[2])
    client = ModbusTcpClient("127.0.0.1", port=port, timeout=60, retries=0)
    if not client.connect():
        print("err no connection", flush=True)
        return 1
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        if words[0] == "q":
            break
        try:
            if words[0] == "w":
                r = client.write_coil(int(words[1]) - 1, int(words[2]) != 0, slave=unit)
                print("ok" if r is not None and not r.isError() else "err %s" % r, flush=True)
            elif words[0] == "r":
                count = int(words[2])
                r = client.read_coils(int(words[1]) - 1, count, slave=unit)
                if r is None or r.isError():
                    print("err", r, flush=True)
                else:
                    print(" ".join(str(int(b)) for b in r.bits[:count]), flush=True)
            else:
                print("err unknown request", flush=True)
        except Exception as e:  # a lost connection ends the master
            print("err", e, flush=True)
            return 1
    client.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
