#!/usr/bin/python3
"""A Modbus peer for the equipment tests and for trying the program: a pymodbus server (RTU on
a serial line or TCP on 127.0.0.1) whose holding registers and coils cover 0x0000-0x0FFF.

  modbus_peer.py (--rtu [PATH] | --tcp PORT) [--slave N] [--log FILE] [--set ADDR=VALUE ...]
                 [--refuse ADDR ...] [--follow FROM:TO ...] [--until-input-ends]

--rtu without a path opens a linked pair of pseudo-terminals of its own, serves on one end and,
once it serves, prints the path of the other end (the port the program opens) instead of
"ready", e.g.
  tests/equipment/modbus_peer.py --rtu --slave 17 > /tmp/supply.port &

Every write is appended to the log file as a line "hr ADDR VALUE ..." or "co ADDR VALUE ...".
Reads of a refused address answer with the exception "illegal data address".
A write to holding register FROM of a --follow pair also sets holding register TO (a chamber
whose temperature reaches each set point at once).
Prints "ready" once it serves.
With --until-input-ends it ends as soon as its standard input closes: a test program that
starts it keeps the input open, so the peer never outlives the program, however that ends.
"""
import argparse
import asyncio
import os
import sys
import tty

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartAsyncSerialServer, StartAsyncTcpServer
from pymodbus.transaction import ModbusRtuFramer, ModbusSocketFramer


class Block(ModbusSequentialDataBlock):
    def __init__(self, kind, log, refused, follow=None):
        super().__init__(0, [0] * 0x1000)
        self.kind, self.log, self.refused = kind, log, refused
        self.follow = follow or {}

    def validate(self, address, count=1):
        if any(a in self.refused for a in range(address, address + count)):
            return False
        return super().validate(address, count)

    def setValues(self, address, values):
        if not isinstance(values, list):
            values = [values]
        super().setValues(address, values)
        if address in self.follow:
            super().setValues(self.follow[address], values[:1])
        if self.log:
            with open(self.log, "a") as f:
                f.write("%s %d %s\n" % (self.kind, address, " ".join(str(int(v)) for v in values)))


def linked_ptys():
    """Two pseudo-terminals whose master sides are joined: bytes written to one slave are read
    from the other. Returns (our slave path, their slave path). Both slaves stay open here too,
    so a side that the program closes and opens again never hangs the other up."""
    ends = []
    for _ in range(2):
        master, slave = os.openpty()
        tty.setraw(slave)
        os.set_blocking(master, False)
        ends.append((master, slave))
    loop = asyncio.get_running_loop()

    def relay(src, dst):
        try:
            data = os.read(src, 4096)
        except (BlockingIOError, OSError):
            return
        while data:
            try:
                data = data[os.write(dst, data):]
            except BlockingIOError:
                pass

    (ma, sa), (mb, sb) = ends
    loop.add_reader(ma, relay, ma, mb)
    loop.add_reader(mb, relay, mb, ma)
    return os.ttyname(sa), os.ttyname(sb)


def end_with_input():
    """Ends the process once its standard input reaches its end (the program that started the
    peer ended: its side of the pipe closed)."""
    def readable():
        try:
            data = os.read(0, 4096)
        except BlockingIOError:
            return
        except OSError:
            data = b""
        if not data:
            os._exit(0)

    asyncio.get_running_loop().add_reader(0, readable)


async def main():
    p = argparse.ArgumentParser()
    p.add_argument("--rtu", nargs="?", const="")
    p.add_argument("--tcp", type=int)
    p.add_argument("--slave", type=int, default=1)
    p.add_argument("--log")
    p.add_argument("--set", action="append", default=[])
    p.add_argument("--refuse", action="append", default=[])
    p.add_argument("--follow", action="append", default=[])
    p.add_argument("--until-input-ends", action="store_true")
    a = p.parse_args()
    if a.until_input_ends:
        end_with_input()
    refused = {int(x, 0) for x in a.refuse}
    follow = {int(f, 0): int(t, 0) for f, t in (x.split(":") for x in a.follow)}
    hr = Block("hr", a.log, refused, follow)
    co = Block("co", a.log, refused)
    for item in a.set:
        addr, value = item.split("=")
        ModbusSequentialDataBlock.setValues(hr, int(addr, 0), [int(value, 0) & 0xFFFF])
    slave = ModbusSlaveContext(hr=hr, co=co, zero_mode=True)
    context = ModbusServerContext(slaves={a.slave: slave}, single=False)
    if a.rtu is not None:
        port, shown = (a.rtu, "ready") if a.rtu else linked_ptys()
        server = await StartAsyncSerialServer(context=context, framer=ModbusRtuFramer, port=port,
                                              baudrate=9600, defer_start=True)
        await server.start()
        print(shown, flush=True)
        await asyncio.Event().wait()
    else:
        server = await StartAsyncTcpServer(context=context, framer=ModbusSocketFramer,
                                           address=("127.0.0.1", a.tcp), defer_start=True)
        task = asyncio.ensure_future(server.serve_forever())
        await server.serving
        print("ready", flush=True)
        await task


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(0)
