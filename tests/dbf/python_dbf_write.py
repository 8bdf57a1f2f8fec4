#!/usr/bin/python3
"""Writes the peer table of the interop test with python3-dbf: C N D L M fields,
Windows-1252 umlauts, an empty date, an unset logical and a deleted record.
Usage: python_dbf_write.py TABLE.dbf"""
import datetime
import sys

import dbf

table = dbf.Table(sys.argv[1], 'NAME C(12); BETRAG N(8,2); TAG D; OK L; NOTIZ M',
                  dbf_type='db3', codepage='cp1252')
table.open(dbf.READ_WRITE)
table.append(('Müller', -3.5, datetime.date(2024, 7, 15), True, 'Email: k@f\r\nZweite Zeile äöü'))
table.append(('Weiß', 12345.67, None, False, ''))
table.append(('gelöscht', 1, datetime.date(1999, 12, 31), None, 'weg'))
dbf.delete(table[2])
table.close()
