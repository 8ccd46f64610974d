// Fuzzes the unpacking of LZ77 and run-length streams (whatever their header promises, nothing is
// read past the input) and the packers' round trip on the same bytes taken as data.
#include <cstdint>
#include <vector>

#include "formats/compression.h"
#include "formats/compression_lz77.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> out;
    uint8_t method = 0;
    size_t promised = 0;
    if (ts::readPackedHeader(bytes, size, method, promised) && promised <= (size_t(1) << 20)) {
        // The copy is exactly as long as the input, so a read past it is seen by the sanitizer.
        std::vector<uint8_t> stream(bytes, bytes + size);
        if (ts::unpackData(stream.data(), stream.size(), promised, out) == ts::UnpackStatus::Ok &&
            out.size() != promised)
            __builtin_trap();
    }
    const std::vector<uint8_t> data(bytes, bytes + size);
    for (ts::Packing packing : {ts::Packing::Lz77, ts::Packing::Rle}) {
        std::vector<uint8_t> packed = ts::packData(packing, data.data(), data.size());
        if (ts::unpackData(packed.data(), packed.size(), data.size(), out) != ts::UnpackStatus::Ok || out != data)
            __builtin_trap();
    }
    std::vector<uint8_t> greedy = ts::packLz77Greedy(data.data(), data.size());
    if (ts::unpackData(greedy.data(), greedy.size(), data.size(), out) != ts::UnpackStatus::Ok || out != data)
        __builtin_trap();
    return 0;
}
