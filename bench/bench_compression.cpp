// LZ77 and run-length packing of console data: the 8192-tile tileset and the 1024 x 1024 Text map
// of the load and save benchmarks, unpacking them, and the sizes reached on the conversion
// pictures (tileset and map of each, raw, greedy LZ77, optimal LZ77 and run-length), reported as
// counters.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_convert_pictures.h"
#include "convert/tile_stage.h"
#include "formats/compression.h"
#include "formats/compression_lz77.h"
#include "formats/compression_rle.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The 8192 tiles at 8 bits of bench_load_save.
const Bytes& benchmarkTileset() {
    static const Bytes bytes = [] {
        Bytes b(size_t(8192) * 64);
        for (size_t i = 0; i < b.size(); ++i) b[i] = uint8_t((uint32_t(i) * 2654435761u >> 24) & 0xFF);
        return b;
    }();
    return bytes;
}

// The 1024 x 1024 Text map of bench_load_save, 16 bits per entry.
const Bytes& benchmarkMap() {
    static const Bytes bytes = [] {
        Bytes b(size_t(1024) * 1024 * 2);
        for (size_t i = 0; i < b.size() / 2; ++i) {
            uint32_t v = uint32_t(i * 40503u) & 0xFFFF;
            b[2 * i] = uint8_t(v);
            b[2 * i + 1] = uint8_t(v >> 8);
        }
        return b;
    }();
    return bytes;
}

void packBench(benchmark::State& state, const Bytes& data, bool greedy) {
    size_t packed = 0;
    for (auto _ : state) {
        Bytes out = greedy ? ts::packLz77Greedy(data.data(), data.size()) : ts::packLz77(data.data(), data.size());
        packed = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["raw"] = double(data.size());
    state.counters["packed"] = double(packed);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}

void unpackBench(benchmark::State& state, const Bytes& data, ts::Packing packing) {
    const Bytes stream = ts::packData(packing, data.data(), data.size());
    Bytes out;
    for (auto _ : state) {
        if (ts::unpackData(stream.data(), stream.size(), data.size(), out) != ts::UnpackStatus::Ok)
            state.SkipWithError("unpack failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}

void BM_Lz77Tileset8192(benchmark::State& s) { packBench(s, benchmarkTileset(), false); }
void BM_Lz77Map1024(benchmark::State& s) { packBench(s, benchmarkMap(), false); }
void BM_Lz77GreedyTileset8192(benchmark::State& s) { packBench(s, benchmarkTileset(), true); }
void BM_Lz77GreedyMap1024(benchmark::State& s) { packBench(s, benchmarkMap(), true); }
void BM_UnpackLz77Tileset8192(benchmark::State& s) { unpackBench(s, benchmarkTileset(), ts::Packing::Lz77); }
void BM_UnpackLz77Map1024(benchmark::State& s) { unpackBench(s, benchmarkMap(), ts::Packing::Lz77); }
void BM_UnpackRleMap1024(benchmark::State& s) { unpackBench(s, benchmarkMap(), ts::Packing::Rle); }
BENCHMARK(BM_Lz77Tileset8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lz77Map1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lz77GreedyTileset8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lz77GreedyMap1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackLz77Tileset8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackLz77Map1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackRleMap1024)->Unit(benchmark::kMillisecond);

// A conversion picture cut into tiles as the conversion does it: the 8-bit tileset (one byte per
// pixel, colour indices in order of first use) and the Text map (two bytes per entry).
struct PictureData {
    Bytes tileset, map;
};

PictureData pictureData(const std::vector<uint32_t>& picture, int width, int height) {
    ts::TileStore store;
    std::vector<uint32_t> map;
    ts::TilingOptions options;
    ts::cutIntoTiles(picture.data(), width, height, options, store, map);
    PictureData d;
    std::vector<uint32_t> colours;
    for (uint32_t v : store.values) {
        size_t k = 0;
        while (k < colours.size() && colours[k] != v) ++k;
        if (k == colours.size() && colours.size() < 256) colours.push_back(v);
        d.tileset.push_back(uint8_t(k < 256 ? k : 0));
    }
    for (uint32_t v : map) {
        d.map.push_back(uint8_t(v));
        d.map.push_back(uint8_t(v >> 8));
    }
    return d;
}

void sizes(benchmark::State& state, const Bytes& data) {
    size_t optimal = 0, greedy = 0, rle = 0;
    for (auto _ : state) {
        optimal = ts::packLz77(data.data(), data.size()).size();
        greedy = ts::packLz77Greedy(data.data(), data.size()).size();
        rle = ts::packRle(data.data(), data.size()).size();
    }
    state.counters["raw"] = double(data.size());
    state.counters["lz77"] = double(optimal);
    state.counters["greedy"] = double(greedy);
    state.counters["rle"] = double(rle);
    state.counters["ratio"] = data.empty() ? 0.0 : double(optimal) / double(data.size());
}

const PictureData& picture(int which) {
    static const PictureData p512 = pictureData(ts::bench::placedPicture(512, 512, 1), 512, 512);
    static const PictureData p1024 = pictureData(ts::bench::placedPicture(1024, 1024, 2), 1024, 1024);
    static const PictureData d1024 = pictureData(ts::bench::distinctPicture(1024, 512, 3), 1024, 512);
    return which == 0 ? p512 : which == 1 ? p1024 : d1024;
}

void BM_SizesP512Tileset(benchmark::State& s) { sizes(s, picture(0).tileset); }
void BM_SizesP512Map(benchmark::State& s) { sizes(s, picture(0).map); }
void BM_SizesP1024Tileset(benchmark::State& s) { sizes(s, picture(1).tileset); }
void BM_SizesP1024Map(benchmark::State& s) { sizes(s, picture(1).map); }
void BM_SizesDistinct1024x512Tileset(benchmark::State& s) { sizes(s, picture(2).tileset); }
void BM_SizesDistinct1024x512Map(benchmark::State& s) { sizes(s, picture(2).map); }
BENCHMARK(BM_SizesP512Tileset)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SizesP512Map)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SizesP1024Tileset)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SizesP1024Map)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SizesDistinct1024x512Tileset)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SizesDistinct1024x512Map)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
