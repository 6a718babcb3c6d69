// Decode-and-render speed of the Avro decoder: one message body to its JSON text per iteration.
#include "TessaronCore/avro/AvroDecoder.h"

#include "bench/avro/AvroBenchRecords.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

using namespace tessaron;
using namespace tessaron::avrobench;

namespace {

void run(benchmark::State& state, const char* schemaText, const QByteArray& body)
{
    AvroSchema::Parsed schema = AvroSchema::parse(schemaText);
    size_t bytes = 0;
    for (auto _ : state) {
        QByteArray json = AvroDecoder::decode(body, schema);
        bytes += size_t(json.size());
        benchmark::DoNotOptimize(json.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["json_bytes"] = double(bytes) / double(state.iterations());
}

void BM_DecodeSimpleRecord(benchmark::State& state) { run(state, kSimpleSchema, simpleBody()); }
void BM_DecodeRichRecord(benchmark::State& state) { run(state, kRichSchema, richBody()); }

} // namespace

BENCHMARK(BM_DecodeSimpleRecord);
BENCHMARK(BM_DecodeRichRecord);

// `--write-records DIR` writes each record's schema, body and JSON text for the peer comparison
// (bench/avro/peers), so that every decoder reads the same bytes.
int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-records") == 0) {
        const QDir dir(QString::fromLocal8Bit(argv[2]));
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const std::pair<const char*, std::pair<const char*, QByteArray>> records[] = {
            {"simple", {kSimpleSchema, simpleBody()}}, {"rich", {kRichSchema, richBody()}}};
        for (const auto& [name, record] : records) {
            const QString base = QString::fromLatin1(name);
            const QByteArray json = AvroDecoder::decode(record.second, AvroSchema::parse(record.first));
            if (!write(base + QStringLiteral(".avsc"), record.first)
                || !write(base + QStringLiteral(".bin"), record.second)
                || !write(base + QStringLiteral(".json"), json)) {
                std::fprintf(stderr, "cannot write into %s\n", argv[2]);
                return 1;
            }
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
