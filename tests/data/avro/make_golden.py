#!/usr/bin/python3
"""Writes golden.json: Avro binary values encoded by Apache Avro's Python library, each with its
schema and the exact JSON text the decoder must produce. Run with Debian's python3-avro:

    /usr/bin/python3 tests/data/avro/make_golden.py > tests/data/avro/golden.json

The expected text is rendered here independently of the decoder: sorted members, unions without a
wrapper, bytes as UTF-8 text or "0x" hexadecimal, logical types as text."""

import datetime
import decimal
import io
import json
import math
import struct
import sys

import avro.io
import avro.schema

# The library's writer goes through decimal.Decimal, whose default context keeps 28 digits.
decimal.getcontext().prec = 200

UTC = datetime.timezone.utc
EPOCH = datetime.datetime(1970, 1, 1, tzinfo=UTC)


# ---- expected JSON text -------------------------------------------------------------------------

def quote(text):
    out = ['"']
    for ch in text:
        code = ord(ch)
        if ch == '"':
            out.append('\\"')
        elif ch == '\\':
            out.append('\\\\')
        elif ch == '/':
            out.append('\\/')
        elif ch in '\b\f\n\r\t':
            out.append({'\b': '\\b', '\f': '\\f', '\n': '\\n', '\r': '\\r', '\t': '\\t'}[ch])
        elif code < 0x20:
            out.append('\\u%04x' % code)
        else:
            out.append(ch)
    out.append('"')
    return ''.join(out)


def shortest(value, single):
    """Shortest text that reads back as the same number, written as C++'s std::to_chars does."""
    if math.isnan(value):
        return '"NaN"'
    if math.isinf(value):
        return '"Infinity"' if value > 0 else '"-Infinity"'
    for digits in range(1, 18):
        text = '%.*g' % (digits, value)
        back = float(text)
        if (struct.pack('<f', back) == struct.pack('<f', value)) if single else back == value:
            break
    mantissa, _, exponent = text.partition('e')
    if exponent:
        fixed = format(decimal.Decimal(text), 'f')
        sci = mantissa + 'e' + exponent
        return fixed if len(fixed) <= len(sci) else sci
    return text


def bytes_text(data):
    try:
        text = data.decode('utf-8')
        if '\0' not in text:
            return text
    except UnicodeDecodeError:
        pass
    rendered = '0x' + data[:16].hex()
    if len(data) > 16:
        rendered += '\u2026 (%d bytes)' % len(data)
    return rendered


def decimal_text(unscaled, scale):
    digits = str(abs(unscaled))
    if scale > 0:
        digits = digits.rjust(scale + 1, '0')
        digits = digits[:-scale] + '.' + digits[-scale:]
    return ('-' if unscaled < 0 else '') + digits


def time_text(millis):
    h, m, s, f = millis // 3600000, (millis // 60000) % 60, (millis // 1000) % 60, millis % 1000
    return '%02d:%02d:%02d.%03d' % (h, m, s, f) if f else '%02d:%02d:%02d' % (h, m, s)


def timestamp_text(millis):
    moment = EPOCH + datetime.timedelta(milliseconds=millis)
    return moment.strftime('%Y-%m-%dT%H:%M:%S') + '.%03dZ' % (moment.microsecond // 1000)


def resolve(schema, names):
    if isinstance(schema, str) and schema in names:
        return names[schema]
    return schema


def expected(schema, raw, names):
    """The JSON text of `raw` (the plain value before any logical conversion) under `schema`."""
    schema = resolve(schema, names)
    if isinstance(schema, list):
        index, value = raw
        return expected(schema[index], value, names)
    if isinstance(schema, str):
        schema = {'type': schema}
    kind = schema['type']
    logical = schema.get('logicalType')
    if logical == 'decimal':
        return quote(decimal_text(raw, schema.get('scale', 0)))
    if logical == 'date':
        return quote((datetime.date(1970, 1, 1) + datetime.timedelta(days=raw)).isoformat())
    if logical == 'time-millis':
        return quote(time_text(raw))
    if logical == 'time-micros':
        return quote(time_text(int(raw / 1000)))
    if logical in ('timestamp-millis', 'local-timestamp-millis'):
        return quote(timestamp_text(raw))
    if logical in ('timestamp-micros', 'local-timestamp-micros'):
        return quote(timestamp_text(raw // 1000))
    if kind == 'null':
        return 'null'
    if kind == 'boolean':
        return 'true' if raw else 'false'
    if kind in ('int', 'long'):
        return str(raw)
    if kind in ('float', 'double'):
        return shortest(raw, kind == 'float')
    if kind == 'string':
        return quote(raw)
    if kind in ('bytes', 'fixed'):
        return quote(bytes_text(raw))
    if kind == 'enum':
        return quote(raw)
    if kind == 'array':
        return '[' + ','.join(expected(schema['items'], item, names) for item in raw) + ']'
    if kind == 'map':
        return '{' + ','.join(quote(k) + ':' + expected(schema['values'], raw[k], names) for k in sorted(raw)) + '}'
    if kind in ('record', 'error'):
        members = {}
        for field in schema['fields']:
            members[field['name']] = expected(field['type'], raw[field['name']], names)
        return '{' + ','.join(quote(k) + ':' + members[k] for k in sorted(members)) + '}'
    if isinstance(kind, (dict, list)) or kind in names:
        return expected(kind, raw, names)
    raise ValueError(kind)


# ---- values for the library's writer ------------------------------------------------------------

def datum(schema, raw, names):
    """`raw` turned into what the library's writer expects (dates, times, decimals)."""
    schema = resolve(schema, names)
    if isinstance(schema, list):
        index, value = raw
        return datum(schema[index], value, names)
    if isinstance(schema, str):
        return raw
    kind = schema['type']
    logical = schema.get('logicalType')
    if logical == 'decimal':
        return decimal.Decimal(raw).scaleb(-schema.get('scale', 0))
    if logical == 'date':
        return datetime.date(1970, 1, 1) + datetime.timedelta(days=raw)
    if logical in ('time-millis', 'time-micros'):
        micros = raw * 1000 if logical == 'time-millis' else raw
        return (datetime.datetime(2000, 1, 1) + datetime.timedelta(microseconds=micros)).time()
    if logical == 'timestamp-millis':
        return EPOCH + datetime.timedelta(milliseconds=raw)
    if logical == 'timestamp-micros':
        return EPOCH + datetime.timedelta(microseconds=raw)
    if kind == 'array':
        return [datum(schema['items'], item, names) for item in raw]
    if kind == 'map':
        return {k: datum(schema['values'], v, names) for k, v in raw.items()}
    if kind in ('record', 'error'):
        return {f['name']: datum(f['type'], raw[f['name']], names) for f in schema['fields']}
    if isinstance(kind, (dict, list)) or kind in names:
        return datum(kind, raw, names)
    return raw


def collect_names(schema, space, names):
    """Full names of the named types a schema defines, as the decoder's names table holds them."""
    if isinstance(schema, list):
        for branch in schema:
            collect_names(branch, space, names)
    elif isinstance(schema, dict):
        kind = schema['type']
        if kind in ('record', 'error', 'enum', 'fixed'):
            name = schema['name']
            space = schema.get('namespace', space)
            full = name if '.' in name or not space else space + '.' + name
            names[full] = schema
            if '.' in full:
                names.setdefault(full.rsplit('.', 1)[1], schema)  # short references in the same space
            for field in schema.get('fields', []):
                collect_names(field['type'], schema.get('namespace', space) or full.rpartition('.')[0], names)
        elif isinstance(kind, (dict, list)):
            collect_names(kind, space, names)
        elif kind == 'array':
            collect_names(schema['items'], space, names)
        elif kind == 'map':
            collect_names(schema['values'], space, names)


def encode(schema, value):
    parsed = avro.schema.parse(json.dumps(schema))
    buffer = io.BytesIO()
    avro.io.DatumWriter(parsed).write(value, avro.io.BinaryEncoder(buffer))
    return buffer.getvalue()


def check_reads(schema, data, names):
    parsed = avro.schema.parse(json.dumps(schema))
    return avro.io.DatumReader(parsed).read(avro.io.BinaryDecoder(io.BytesIO(data)))


# ---- hand-made encodings ------------------------------------------------------------------------

def zigzag(n):
    n = (n << 1) ^ (n >> 63)
    out = bytearray()
    while True:
        byte = n & 0x7F
        n >>= 7
        if n:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return bytes(out)


def long_bytes(items):
    return b''.join(zigzag(i) for i in items)


def text_bytes(text):
    data = text.encode('utf-8')
    return zigzag(len(data)) + data


# ---- the vectors ---------------------------------------------------------------------------------

PRIMITIVES = {
    'type': 'record', 'name': 'Primitives', 'namespace': 'golden', 'fields': [
        {'name': 'zNull', 'type': 'null'},
        {'name': 'yes', 'type': 'boolean'},
        {'name': 'no', 'type': 'boolean'},
        {'name': 'i', 'type': 'int'},
        {'name': 'iMin', 'type': 'int'},
        {'name': 'l', 'type': 'long'},
        {'name': 'lMin', 'type': 'long'},
        {'name': 'f', 'type': 'float'},
        {'name': 'fTenth', 'type': 'float'},
        {'name': 'd', 'type': 'double'},
        {'name': 'dTenth', 'type': 'double'},
        {'name': 'dBig', 'type': 'double'},
        {'name': 'dTiny', 'type': 'double'},
        {'name': 'dNaN', 'type': 'double'},
        {'name': 'dInf', 'type': 'double'},
        {'name': 'fNegInf', 'type': 'float'},
        {'name': 'bText', 'type': 'bytes'},
        {'name': 'bNul', 'type': 'bytes'},
        {'name': 'bLong', 'type': 'bytes'},
        {'name': 'bEmpty', 'type': 'bytes'},
        {'name': 's', 'type': 'string'},
        {'name': 'sEscapes', 'type': 'string'},
        {'name': 'sNul', 'type': 'string'},
        {'name': 'Upper', 'type': 'int'},
    ]}

PRIMITIVE_VALUES = {
    'zNull': None, 'yes': True, 'no': False, 'i': -123456, 'iMin': -2147483648,
    'l': 9223372036854775807, 'lMin': -9223372036854775808,
    'f': 1.5, 'fTenth': struct.unpack('<f', struct.pack('<f', 0.1))[0],
    'd': -2.25, 'dTenth': 0.1, 'dBig': 1e300, 'dTiny': 5e-324,
    'dNaN': float('nan'), 'dInf': float('inf'), 'fNegInf': float('-inf'),
    'bText': 'caf\u00e9'.encode(), 'bNul': b'\x00', 'bLong': bytes(range(20)), 'bEmpty': b'',
    's': 'Ol\u00e1 \u4e16\u754c \U0001F600', 'sEscapes': 'quote" back\\ slash/ nl\n tab\t bell\x07 del\x7f \u2028',
    'sNul': 'a\x00b', 'Upper': 7,
}

ORDER = {
    'type': 'record', 'name': 'Order', 'namespace': 'shop', 'fields': [
        {'name': 'id', 'type': {'type': 'string', 'logicalType': 'uuid'}},
        {'name': 'status', 'type': {'type': 'enum', 'name': 'Status', 'symbols': ['NEW', 'PAID', 'SHIPPED']}},
        {'name': 'previous', 'type': ['null', 'Status']},
        {'name': 'customer', 'type': {'type': 'record', 'name': 'Customer', 'namespace': 'crm', 'fields': [
            {'name': 'name', 'type': 'string'},
            {'name': 'email', 'type': ['null', 'string']},
        ]}},
        {'name': 'billing', 'type': 'crm.Customer'},
        {'name': 'lines', 'type': {'type': 'array', 'items': {'type': 'record', 'name': 'Line', 'fields': [
            {'name': 'sku', 'type': {'type': 'fixed', 'name': 'Sku', 'size': 4}},
            {'name': 'qty', 'type': 'int'},
            {'name': 'price', 'type': {'type': 'bytes', 'logicalType': 'decimal', 'precision': 9, 'scale': 2}},
        ]}}},
        {'name': 'tags', 'type': {'type': 'map', 'values': 'long'}},
        {'name': 'gift', 'type': ['null', 'shop.Line']},
        {'name': 'code', 'type': 'Sku'},
    ]}

ORDER_VALUE = {
    'id': '0b6f8d2e-4a0c-4f4e-9d55-7d3f2c1b0a99', 'status': 'PAID', 'previous': (1, 'NEW'),
    'customer': {'name': 'Ana', 'email': (1, 'ana@example.org')},
    'billing': {'name': 'Bo', 'email': (0, None)},
    'lines': [{'sku': b'AB12', 'qty': 2, 'price': 1234}, {'sku': b'\x00\x01\x02\xff', 'qty': -1, 'price': -1234}],
    'tags': {'b': 2, 'a': -1, '\u00e9t\u00e9': 3},
    'gift': (1, {'sku': b'GIFT', 'qty': 1, 'price': 0}),
    'code': b'ZZ99',
}

LOGICAL = {
    'type': 'record', 'name': 'Moments', 'fields': [
        {'name': 'day', 'type': {'type': 'int', 'logicalType': 'date'}},
        {'name': 'before', 'type': {'type': 'int', 'logicalType': 'date'}},
        {'name': 'tMillis', 'type': {'type': 'int', 'logicalType': 'time-millis'}},
        {'name': 'tWhole', 'type': {'type': 'int', 'logicalType': 'time-millis'}},
        {'name': 'tMicros', 'type': {'type': 'long', 'logicalType': 'time-micros'}},
        {'name': 'tsMillis', 'type': {'type': 'long', 'logicalType': 'timestamp-millis'}},
        {'name': 'tsMicros', 'type': {'type': 'long', 'logicalType': 'timestamp-micros'}},
        {'name': 'tsEarly', 'type': {'type': 'long', 'logicalType': 'timestamp-millis'}},
        {'name': 'localMillis', 'type': {'type': 'long', 'logicalType': 'local-timestamp-millis'}},
        {'name': 'localMicros', 'type': {'type': 'long', 'logicalType': 'local-timestamp-micros'}},
        {'name': 'price', 'type': {'type': 'bytes', 'logicalType': 'decimal', 'precision': 10, 'scale': 2}},
        {'name': 'tiny', 'type': {'type': 'bytes', 'logicalType': 'decimal', 'precision': 3, 'scale': 3}},
        {'name': 'whole', 'type': {'type': 'bytes', 'logicalType': 'decimal', 'precision': 40}},
        {'name': 'huge', 'type': {'type': 'bytes', 'logicalType': 'decimal', 'precision': 60, 'scale': 10}},
        {'name': 'money', 'type': {'type': 'fixed', 'name': 'Money', 'size': 8, 'logicalType': 'decimal',
                                   'precision': 18, 'scale': 4}},
        {'name': 'debt', 'type': 'Money'},
        {'name': 'token', 'type': {'type': 'string', 'logicalType': 'uuid'}},
    ]}

LOGICAL_VALUE = {
    'day': 19675, 'before': -1, 'tMillis': 45296789, 'tWhole': 45296000, 'tMicros': 45296789123,
    'tsMillis': 1700000000123, 'tsMicros': 1700000000123456, 'tsEarly': -1,
    'localMillis': 1700000000123, 'localMicros': 1700000000999999,
    'price': 1234, 'tiny': 5, 'whole': -12345678901234567890123456789012345678,
    'huge': 10 ** 55 + 1, 'money': -99999, 'debt': 123456789, 'token': '9b2f0c8e-58d1-4c2f-a3b5-0e6a1f3c7d42',
}

LINKED = {'type': 'record', 'name': 'Node', 'namespace': 'list', 'fields': [
    {'name': 'value', 'type': 'int'}, {'name': 'next', 'type': ['null', 'Node']}]}

LINKED_VALUE = {'value': 1, 'next': (1, {'value': 2, 'next': (1, {'value': 3, 'next': (0, None)})})}

VECTORS = [
    ('primitives', PRIMITIVES, PRIMITIVE_VALUES),
    ('order with namespaces and references', ORDER, ORDER_VALUE),
    ('logical types', LOGICAL, LOGICAL_VALUE),
    ('linked list', LINKED, LINKED_VALUE),
    ('bare int', 'int', -1),
    ('bare long', 'long', 1234567890123),
    ('bare string', 'string', 'hello'),
    ('bare null', 'null', None),
    ('bare boolean', 'boolean', True),
    ('bare float', 'float', -0.5),
    ('bare double', 'double', 3.141592653589793),
    ('bare bytes', 'bytes', b'\xde\xad\xbe\xef'),
    ('bare enum', {'type': 'enum', 'name': 'Suit', 'symbols': ['HEARTS', 'SPADES']}, 'SPADES'),
    ('bare fixed', {'type': 'fixed', 'name': 'Hash', 'size': 20}, bytes(range(100, 120))),
    ('union of null and string', ['null', 'string'], (1, 'x')),
    ('union null branch', ['null', 'string'], (0, None)),
    ('array of arrays', {'type': 'array', 'items': {'type': 'array', 'items': 'int'}}, [[1, 2], [], [3]]),
    ('empty array', {'type': 'array', 'items': 'string'}, []),
    ('map of records', {'type': 'map', 'values': {'type': 'record', 'name': 'P', 'fields': [
        {'name': 'y', 'type': 'double'}, {'name': 'x', 'type': 'double'}]}},
     {'origin': {'y': 0.0, 'x': 0.0}, 'a/b': {'y': -1.0, 'x': 2.5}}),
    ('empty record', {'type': 'record', 'name': 'Nothing', 'fields': []}, {}),
]


def hand_made():
    """Encodings the library never writes: negative block counts (with a byte size), several blocks,
    repeated map keys. Each is checked against the library's reader before it is kept."""
    vectors = []
    schema = {'type': 'array', 'items': 'long'}
    data = long_bytes([-2, 2]) + long_bytes([1, 2]) + long_bytes([1, 3, 0])
    vectors.append(('array with a negative block count', schema, data, [1, 2, 3]))
    schema = {'type': 'map', 'values': 'string'}
    data = (zigzag(-2) + zigzag(12) + text_bytes('k') + text_bytes('v1') + text_bytes('a') + text_bytes('z')
            + zigzag(1) + text_bytes('k') + text_bytes('v2') + zigzag(0))
    vectors.append(('map with a negative block count and a repeated key', schema, data, {'k': 'v2', 'a': 'z'}))
    vectors.append(('trailing bytes are ignored', 'int', zigzag(21) + b'\xff\xff', 21))
    return vectors


def main():
    out = []
    for name, schema, raw in VECTORS:
        names = {}
        collect_names(schema, None, names)
        data = encode(schema, datum(schema, raw, names))
        out.append({'name': name, 'schema': json.dumps(schema), 'hex': data.hex(),
                    'json': expected(schema, raw, names)})
    for name, schema, data, raw in hand_made():
        if check_reads(schema, data, {}) != raw:
            raise SystemExit('library reads %s differently' % name)
        out.append({'name': name, 'schema': json.dumps(schema), 'hex': data.hex(),
                    'json': expected(schema, raw, {})})
    json.dump(out, sys.stdout, indent=1, ensure_ascii=False)
    sys.stdout.write('\n')


if __name__ == '__main__':
    main()
