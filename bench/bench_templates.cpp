// Writing and reading elements through the built-in map section's number format: 2,000,000
// values (about 16 MB of text) written, and read back as two 8 MB halves, as loaders do.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/format_commands.h"
#include "formats/format_table.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "formats/template_writer.h"
#include "host/host_services.h"
#include "app/app_state.h"

namespace {

constexpr int kElements = 2000000;
constexpr int kRow = 256;  // cells per map row

struct Fixture {
    ts::RecordingHost host;
    ts::App app{host};
    Fixture() { ts::initFormats(app); }
    const ts::FormatSection& map() { return ts::currentSection(app, ts::kSectionMap); }
};

// Rows of 256 cells: every_x each 8 cells, `line` after each row, as the map saver writes.
void writeElements(Fixture& f, ts::TemplateOutput& out, int count) {
    const ts::FormatSection& map = f.map();
    const ts::NumberFormat field(map.element);
    for (int i = 0; i < count; ++i) {
        int column = i % kRow;
        if (column >= 1 && column % map.nEvery == 0) ts::writeTemplate(f.app, out, map.everyX);
        field.write(f.app, out, uint32_t(i * 2654435761u) & 0xFFFF);
        if (column == kRow - 1) ts::writeTemplate(f.app, out, map.line);
    }
    ts::writeTemplate(f.app, out, map.end);
}

// Reads cells as the map loader does; returns the count read.
int readElements(Fixture& f, const std::string& data, int count) {
    const ts::FormatSection& map = f.map();
    size_t p = 0;
    int read = 0;
    uint64_t sum = 0;
    for (int i = 0; i < count && p < data.size(); ++i) {
        int column = i % kRow;
        if (column >= 1 && column % map.nEvery == 0) p = ts::matchTemplate(f.app, data.data(), data.size(), p, map.everyX);
        uint32_t value = 0;
        p = ts::readElement(f.app, data.data(), data.size(), p, map.element, value);
        if (p > data.size()) break;
        sum += value;
        ++read;
        if (column == kRow - 1) p = ts::matchTemplate(f.app, data.data(), data.size(), p, map.line);
    }
    benchmark::DoNotOptimize(sum);
    return read;
}

void BM_WriteTwoMillionElements(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        ts::TemplateOutput out;
        out.bytes.reserve(17 << 20);
        writeElements(f, out, kElements);
        benchmark::DoNotOptimize(out.bytes.data());
        state.counters["MB"] = double(out.bytes.size()) / (1 << 20);
    }
}
BENCHMARK(BM_WriteTwoMillionElements)->Unit(benchmark::kMillisecond);

void BM_ReadEightMegabyteHalf(benchmark::State& state) {
    Fixture f;
    ts::TemplateOutput out;
    writeElements(f, out, kElements);
    // One half of the file, as one 8 MB read buffer holds it.
    std::string half = out.bytes.substr(0, out.bytes.size() / 2);
    int expected = kElements / 2 - 1;
    for (auto _ : state) {
        int read = readElements(f, half, kElements);
        if (read < expected) state.SkipWithError("elements lost");
        state.counters["elements"] = read;
    }
    state.counters["MB"] = double(half.size()) / (1 << 20);
}
BENCHMARK(BM_ReadEightMegabyteHalf)->Unit(benchmark::kMillisecond);

}  // namespace
