#!/usr/bin/python3
"""The far end of the simulator link for the controller tests: a pymodbus
master in RTU framing over UDP that, for the given seconds, writes the two
coils and the holding register and reads the discrete inputs and input
registers, every 0.1 s. Prints the last reads; exits 1 when a request gets
no answer."""
import sys
import time

from pymodbus.client import ModbusUdpClient
from pymodbus.framer.rtu_framer import ModbusRtuFramer


def main():
    port, unit, seconds = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
    coils = [sys.argv[4][0] == "1", sys.argv[4][1] == "1"]
    register = int(sys.argv[5]) & 0xFFFF
    client = ModbusUdpClient("127.0.0.1", port=port, framer=ModbusRtuFramer, timeout=1, retries=2)
    if not client.connect():
        print("no connection")
        return 1
    end = time.monotonic() + seconds
    di = ir = None
    while time.monotonic() < end:
        for r in (client.write_coils(0, coils, slave=unit), client.write_register(0, register, slave=unit)):
            if r is None or r.isError():
                print("write failed", r)
                return 1
        di = client.read_discrete_inputs(0, 5, slave=unit)
        ir = client.read_input_registers(0, 30, slave=unit)
        if di is None or di.isError() or ir is None or ir.isError():
            print("read failed", di, ir)
            return 1
        time.sleep(0.1)
    print("di", " ".join(str(int(b)) for b in di.bits[:5]))
    print("ir", " ".join(str(v - 65536 if v > 32767 else v) for v in ir.registers))
    client.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
