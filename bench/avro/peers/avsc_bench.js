// Decodes each record's body with avsc and writes it with JSON.stringify, as many times as fit in
// about two seconds of process CPU time (as the C++ benchmark counts), five times over; prints the
// median records per second.
'use strict';
const fs = require('fs');
const path = require('path');
const avro = require('avsc');

const dir = process.argv[2];
for (const name of ['simple', 'rich']) {
  const schema = JSON.parse(fs.readFileSync(path.join(dir, name + '.avsc'), 'utf8'));
  const type = avro.Type.forSchema(schema, {logicalTypes: {}});
  const body = fs.readFileSync(path.join(dir, name + '.bin'));
  const rates = [];
  let bytes = 0;
  for (let repetition = 0; repetition < 5; ++repetition) {
    let count = 0;
    const cpu = () => {
      const usage = process.cpuUsage();
      return (usage.user + usage.system) / 1e6;
    };
    const start = cpu();
    let elapsed = 0;
    while (elapsed < 2) {
      for (let i = 0; i < 1000; ++i) {
        const json = JSON.stringify(type.fromBuffer(body));
        bytes = json.length;
      }
      count += 1000;
      elapsed = cpu() - start;
    }
    rates.push(count / elapsed);
  }
  rates.sort((a, b) => a - b);
  console.log(`avsc ${require('avsc/package.json').version}\t${name}\t${Math.round(rates[2])}\trecords/s\t${bytes} bytes of JSON`);
}
