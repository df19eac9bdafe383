#!/usr/bin/env python3
"""A SWORD module repository over HTTP on 127.0.0.1 for the tests: serves FOLDER on a free port
and writes the port to PORT_FILE once it listens. With --break-after N, every file longer than N
bytes is sent only up to N bytes and the connection is then closed, as when a server goes away
in the middle of a download. While a file ".slow" lies in FOLDER, every module file is sent a
second late, as over a slow line.

  repository_server.py FOLDER PORT_FILE [--break-after N]
"""
import functools
import http.server
import os
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    break_after = None

    def log_message(self, *args):
        pass

    def copyfile(self, source, outputfile):
        if "/modules/" in self.path and os.path.exists(os.path.join(self.directory, ".slow")):
            time.sleep(1)
        if self.break_after is None:
            return super().copyfile(source, outputfile)
        data = source.read()
        outputfile.write(data[: self.break_after])
        outputfile.flush()
        self.close_connection = True
        self.connection.shutdown(2)


def main():
    folder, port_file = sys.argv[1], sys.argv[2]
    if "--break-after" in sys.argv:
        Handler.break_after = int(sys.argv[sys.argv.index("--break-after") + 1])
    handler = functools.partial(Handler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    with open(port_file + ".new", "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(port_file + ".new", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
