#!/usr/bin/python3
"""Another workstation's hand on a dBASE table, for the browser's tests.

  record_peer.py lock TABLE.dbf RECNO
      takes the record lock of RECNO (the byte-range lock at 1,000,000,000 + RECNO),
      prints "locked" and holds it until its standard input closes.
  record_peer.py put TABLE.dbf RECNO FIELD VALUE
      writes VALUE (Windows-1252, blank-padded) into FIELD of record RECNO in place,
      under that record's lock.
"""
import fcntl
import os
import struct
import sys

LOCK_BASE = 1000000000


def layout(fd):
    header = os.pread(fd, 32, 0)
    header_length, record_length = struct.unpack('<HH', header[8:12])
    fields, offset, at = {}, 1, 32
    while True:
        descriptor = os.pread(fd, 32, at)
        if not descriptor or descriptor[0] == 0x0D:
            break
        name = descriptor[:11].split(b'\0')[0].decode('ascii')
        width = descriptor[16]
        fields[name] = (offset, width)
        offset += width
        at += 32
    return header_length, record_length, fields


def main():
    command, path, recno = sys.argv[1], sys.argv[2], int(sys.argv[3])
    fd = os.open(path, os.O_RDWR)
    fcntl.lockf(fd, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, LOCK_BASE + recno, os.SEEK_SET)
    if command == 'lock':
        print('locked', flush=True)
        sys.stdin.read()
    elif command == 'put':
        header_length, record_length, fields = layout(fd)
        offset, width = fields[sys.argv[4].upper()]
        value = sys.argv[5].encode('cp1252').ljust(width)[:width]
        os.pwrite(fd, value, header_length + (recno - 1) * record_length + offset)
        os.fsync(fd)
    fcntl.lockf(fd, fcntl.LOCK_UN, 1, LOCK_BASE + recno, os.SEEK_SET)
    os.close(fd)


main()
