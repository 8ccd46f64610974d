#include "formats/compression_rle.h"

#include <algorithm>
#include <deque>

#include "formats/compression.h"

namespace ts {

std::vector<uint8_t> packRle(const uint8_t* data, size_t size) {
    // best[i]: bytes needed for data[i..size). A literal block of k bytes costs 1 + k, a run 2.
    // With g[j] = best[j] + j, the best literal block at i costs 1 - i + min g[i+1..i+128], a
    // sliding minimum kept in a deque of candidate ends.
    std::vector<uint32_t> best(size + 1, 0);
    std::vector<uint8_t> length(size, 0);
    std::vector<uint8_t> isRun(size, 0);
    std::deque<size_t> window;  // ends j, increasing g from the front
    size_t runEnd = size;       // end of the run of equal bytes that contains i
    for (size_t i = size; i-- > 0;) {
        // Block ends j = i + 1 .. i + 128.
        const size_t newEnd = i + 1;
        const uint64_t g = uint64_t(best[newEnd]) + newEnd;
        while (!window.empty() && uint64_t(best[window.back()]) + window.back() >= g) window.pop_back();
        window.push_back(newEnd);
        while (window.front() > i + kRleMaxLiterals) window.pop_front();
        const size_t j = window.front();
        uint32_t cost = uint32_t(1 + (j - i) + best[j]);
        uint8_t n = uint8_t(j - i);
        bool run = false;

        if (i + 1 < size && data[i + 1] != data[i]) runEnd = i + 1;
        if (i + 1 == size) runEnd = size;
        const size_t runLength = std::min<size_t>(runEnd - i, kRleMaxRun);
        for (size_t k = kRleMinRun; k <= runLength; ++k) {
            const uint32_t c = 2 + best[i + k];
            if (c < cost || (c == cost && run)) {
                cost = c;
                n = uint8_t(k);
                run = true;
            }
        }
        best[i] = cost;
        length[i] = n;
        isRun[i] = run;
    }

    std::vector<uint8_t> out;
    out.reserve(best[0] + 4);
    out.push_back(kRleHeader);
    out.push_back(uint8_t(size));
    out.push_back(uint8_t(size >> 8));
    out.push_back(uint8_t(size >> 16));
    for (size_t i = 0; i < size;) {
        const size_t n = length[i];
        if (isRun[i]) {
            out.push_back(uint8_t(0x80 | (n - kRleMinRun)));
            out.push_back(data[i]);
        } else {
            out.push_back(uint8_t(n - 1));
            out.insert(out.end(), data + i, data + i + n);
        }
        i += n;
    }
    return out;
}

}  // namespace ts
