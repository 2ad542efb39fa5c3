#!/usr/bin/python3
"""A Modbus master run by the slave tests: pymodbus over ASCII on a serial
line or RTU framing in UDP datagrams. Prints one line per step; exits 1 when
a step fails to get an answer."""
import sys

from pymodbus.bit_write_message import WriteSingleCoilRequest
from pymodbus.client import ModbusSerialClient, ModbusUdpClient
from pymodbus.framer.ascii_framer import ModbusAsciiFramer
from pymodbus.framer.rtu_framer import ModbusRtuFramer
from pymodbus.pdu import ModbusResponse
from pymodbus.register_write_message import WriteSingleRegisterRequest


class Echo(ModbusResponse):
    """The answer to a single write, kept whole."""

    def decode(self, data):
        self.data = data

    @classmethod
    def calculateRtuFrameSize(cls, buffer):
        return len(buffer)  # one datagram, one frame


def long_write(request_class, *args):
    """A single write with two bytes it does not need; its answer is as long."""
    request = request_class(*args)
    encode = request.encode
    request.encode = lambda: encode() + b"\xaa\xbb"
    request.get_response_pdu_size = lambda: 7
    return request


def main():
    kind, where, unit = sys.argv[1], sys.argv[2], int(sys.argv[3])
    if kind == "ascii":
        client = ModbusSerialClient(port=where, framer=ModbusAsciiFramer, baudrate=9600,
                                    bytesize=7, parity="N", stopbits=1, timeout=2, retries=1)
        limit = 59
    else:
        client = ModbusUdpClient("127.0.0.1", port=int(where), framer=ModbusRtuFramer,
                                 timeout=2, retries=1)
        limit = 118
    if not client.connect():
        print("no connection")
        return 1
    ok = True

    def step(name, result, show):
        nonlocal ok
        if result is None or (result.isError() and not hasattr(result, "exception_code")):
            print(name, "failed", result)
            ok = False
            return
        print(name, show(result))

    step("hr", client.read_holding_registers(0, 5, slave=unit), lambda r: " ".join(map(str, r.registers)))
    step("wr", client.write_register(1, 4321, slave=unit), lambda r: r.value)
    step("wc", client.write_coils(0, [True, False, True, True], slave=unit), lambda r: r.count)
    step("co", client.read_coils(0, 4, slave=unit), lambda r: " ".join(str(int(b)) for b in r.bits[:4]))
    step("ir", client.read_input_registers(0, limit, slave=unit), lambda r: len(r.registers))
    step("ex", client.read_input_registers(0, limit + 1, slave=unit),
         lambda r: r.exception_code if r.isError() else "none")
    step("ea", client.read_holding_registers(5, 1, slave=unit),
         lambda r: r.exception_code if r.isError() else "none")
    # Single writes with two bytes too many: the answer is the whole request.
    for code, request_class, value in ((6, WriteSingleRegisterRequest, 0x1234), (5, WriteSingleCoilRequest, True)):
        client.register(type("Echo", (Echo,), {"function_code": code}))
        step("le", client.execute(long_write(request_class, 2, value, unit)),
             lambda r: f"{r.function_code} {r.data.hex()}")
    client.close()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
