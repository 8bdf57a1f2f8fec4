#!/usr/bin/python3
"""Prints a table as python3-dbfread reads it, as JSON: the live records and the
deleted ones, each a list of values (dates as YYYY-MM-DD).
Usage: dbfread_dump.py TABLE.dbf"""
import json
import sys

from dbfread import DBF

table = DBF(sys.argv[1], encoding='cp1252', char_decode_errors='strict', load=True)


def values(record):
    return [value.isoformat() if hasattr(value, 'isoformat') else value for value in record.values()]


print(json.dumps({'fields': table.field_names,
                  'records': [values(r) for r in table.records],
                  'deleted': [values(r) for r in table.deleted]}))
