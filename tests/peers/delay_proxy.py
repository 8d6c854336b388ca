#!/usr/bin/python3
"""A TCP proxy that makes a loopback server look as far away as an internet one.

Every byte is held back for a fixed time in each direction, and a new connection waits
one round trip before the server side is reached (the TCP handshake a distant server
costs), so a client pays for every exchange it starts as it would over a real link.

It counts, over all connections, the connections and the client->server bursts (data
the client sends after it has received something, or first on a connection): each
burst is one round trip the client waited for. The counts are written as one line of
JSON to --stats after every change; tests read them before and after an action.

    delay_proxy.py --target-port 3306 --delay-ms 15 --stats /tmp/s.json

prints "PORT <n>" on stdout once it listens. It ends by itself after --lifetime seconds
or when the process that started it is gone; with --while-exists PATH, when PATH is gone
instead (started for a test that is not its parent), and then it removes its stats file:
once that is gone it writes no more, and the test can remove the folder.
"""

import argparse
import asyncio
import json
import os
import sys
import time


class Stats:
    def __init__(self, path):
        self.path = path
        self.connections = 0
        self.bursts = 0
        self.client_bytes = 0
        self.server_bytes = 0
        self.ended = False

    def write(self):
        if not self.path or self.ended:
            return
        tmp = self.path + ".tmp"
        with open(tmp, "w") as f:
            json.dump({"connections": self.connections, "bursts": self.bursts,
                       "client_bytes": self.client_bytes, "server_bytes": self.server_bytes}, f)
        os.replace(tmp, self.path)


class Link:
    """One proxied connection: two delayed pipes and the burst counter."""

    def __init__(self, args, stats):
        self.args = args
        self.stats = stats
        self.delay = args.delay_ms / 1000.0
        self.last_from_client = False  # direction of the last data seen
        self.saw_data = False

    async def pipe(self, reader, writer, from_client, ready=None):
        loop = asyncio.get_running_loop()
        queue = asyncio.Queue()

        async def sender():
            if ready is not None:
                await ready.wait()
            while True:
                due, data = await queue.get()
                wait = due - loop.time()
                if wait > 0:
                    await asyncio.sleep(wait)
                if data is None:
                    break
                writer.write(data)
                await writer.drain()
            try:
                writer.close()
            except Exception:
                pass

        task = asyncio.create_task(sender())
        try:
            while True:
                data = await reader.read(65536)
                if not data:
                    break
                if from_client:
                    self.stats.client_bytes += len(data)
                    if not self.saw_data or not self.last_from_client:
                        self.stats.bursts += 1
                else:
                    self.stats.server_bytes += len(data)
                self.saw_data = True
                self.last_from_client = from_client
                self.stats.write()
                queue.put_nowait((loop.time() + self.delay, data))
        except (ConnectionError, OSError):
            pass
        queue.put_nowait((loop.time() + self.delay, None))
        try:
            await task
        except (ConnectionError, OSError):
            pass

    async def run(self, client_reader, client_writer):
        self.stats.connections += 1
        self.stats.write()
        # The handshake's round trip, then the client's ACK reaching the server.
        await asyncio.sleep(3 * self.delay)
        try:
            server_reader, server_writer = await asyncio.open_connection(
                self.args.target_host, self.args.target_port)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(self.pipe(client_reader, server_writer, True),
                             self.pipe(server_reader, client_writer, False))


async def main(args):
    stats = Stats(args.stats)
    stats.write()
    server = await asyncio.start_server(lambda r, w: Link(args, stats).run(r, w),
                                        args.listen_host, args.listen_port)
    port = server.sockets[0].getsockname()[1]
    print("PORT %d" % port, flush=True)
    parent = os.getppid()
    end = time.monotonic() + args.lifetime

    def wanted():
        if args.while_exists:
            return os.path.exists(args.while_exists)
        return os.getppid() == parent

    while time.monotonic() < end and wanted():
        await asyncio.sleep(0.1)
    server.close()
    if args.while_exists:
        stats.ended = True
        try:
            os.remove(args.stats)
        except OSError:
            pass


if __name__ == "__main__":
    p = argparse.ArgumentParser()
    p.add_argument("--target-host", default="127.0.0.1")
    p.add_argument("--target-port", type=int, required=True)
    p.add_argument("--listen-host", default="127.0.0.1")
    p.add_argument("--listen-port", type=int, default=0)
    p.add_argument("--delay-ms", type=float, default=15.0, help="delay in each direction")
    p.add_argument("--stats", default="", help="file the counts are written to")
    p.add_argument("--lifetime", type=float, default=600.0, help="seconds before it ends by itself")
    p.add_argument("--while-exists", default="", help="end when this path is gone, not with the parent")
    try:
        asyncio.run(main(p.parse_args()))
    except KeyboardInterrupt:
        sys.exit(0)
