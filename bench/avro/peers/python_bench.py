"""Decodes each record's body with Debian's python3-avro and writes it with json.dumps (sorted
keys, like the project's text), as many times as fit in about two seconds of process CPU time (as
the C++ benchmark counts), five times over; prints the median records per second."""
import io
import json
import os
import sys
import time

import avro.io
import avro.schema

directory = sys.argv[1]
for name in ("simple", "rich"):
    with open(os.path.join(directory, name + ".avsc")) as f:
        schema = avro.schema.parse(f.read())
    with open(os.path.join(directory, name + ".bin"), "rb") as f:
        body = f.read()
    reader = avro.io.DatumReader(schema)
    rates = []
    size = 0
    for _ in range(5):
        count = 0
        start = time.process_time()
        while time.process_time() - start < 2.0:
            for _ in range(100):
                value = reader.read(avro.io.BinaryDecoder(io.BytesIO(body)))
                size = len(json.dumps(value, sort_keys=True, separators=(",", ":"), default=str))
            count += 100
        rates.append(count / (time.process_time() - start))
    rates.sort()
    print(f"python3-avro {avro.__version__}\t{name}\t{round(rates[2])}\trecords/s\t{size} bytes of JSON")
