#!/usr/bin/python3
"""Reads alarm/event log files with Python's csv module and prints one line
per row: "event <epoch ms> <source>|<text>|<severity>" for an event, "lost <n>"
for the line that counts lost events. Exits 1 on a row that does not parse."""
import csv
import re
import sys
from datetime import datetime, timezone

LOST = re.compile(r'^(\d+) LATCH_AE events were not captured in "(.+)"$')

def main():
    status = 0
    for path in sys.argv[1:]:
        with open(path, newline='') as f:
            data = f.read()
        if data and not data.endswith('\n'):
            print(f"bad {path}: cut last line", file=sys.stderr)
            status = 1
        for row in csv.reader(data.splitlines()):
            line = ','.join(row)
            m = LOST.match(line)
            if m:
                print(f"lost {m.group(1)}")
                continue
            if len(row) != 5 or row[3] != '':
                print(f"bad row {row!r}", file=sys.stderr)
                status = 1
                continue
            try:
                t = datetime.strptime(row[0], '%Y-%b-%d %H:%M:%S.%f').replace(tzinfo=timezone.utc)
            except ValueError:
                print(f"bad time {row[0]!r}", file=sys.stderr)
                status = 1
                continue
            ms = int(t.timestamp()) * 1000 + t.microsecond // 1000
            print(f"event {ms} {row[1]}|{row[2]}|{row[4]}")
    return status

if __name__ == '__main__':
    sys.exit(main())
