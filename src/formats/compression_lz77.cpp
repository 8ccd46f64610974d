#include "formats/compression_lz77.h"

#include <algorithm>
#include <cstring>

#include "formats/compression.h"

namespace ts {

namespace {

constexpr int kHashBits = 16;
constexpr uint32_t kHashSize = 1u << kHashBits;
constexpr uint32_t kChainSize = 8192;  // power of two above the window
// Candidates looked at per position at most; runs of one 3-byte prefix longer than this inside
// the window are rare outside of data a back-reference of 18 covers at the first candidate.
constexpr int kChainLimit = 512;

inline uint32_t hash3(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
}

inline int matchLength(const uint8_t* a, const uint8_t* b, int limit) {
    int n = 0;
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

// The longest back-reference at every position (0 where there is none of at least 3 bytes),
// with its distance.
struct Matches {
    std::vector<uint8_t> length;
    std::vector<uint16_t> distance;
};

Matches findMatches(const uint8_t* data, size_t size) {
    Matches m;
    m.length.assign(size, 0);
    m.distance.assign(size, 0);
    if (size < size_t(kLz77MinLength)) return m;
    std::vector<int32_t> head(kHashSize, -1);
    std::vector<int32_t> prev(kChainSize, -1);
    const size_t last = size - kLz77MinLength;  // last position with three bytes left
    int previousDistance = 0;
    for (size_t i = 0; i <= last; ++i) {
        const int limit = int(std::min<size_t>(kLz77MaxLength, size - i));
        const uint8_t* here = data + i;
        int best = 0, bestDistance = 0;
        // The reference that served the position before usually serves this one too.
        if (previousDistance >= kLz77MinDistance && size_t(previousDistance) <= i) {
            best = matchLength(here - previousDistance, here, limit);
            bestDistance = previousDistance;
            if (best < kLz77MinLength) best = 0;
        }
        const uint32_t h = hash3(here);
        if (best < limit) {
            int depth = 0;
            for (int32_t c = head[h]; c >= 0 && depth < kChainLimit; c = prev[uint32_t(c) & (kChainSize - 1)], ++depth) {
                const int distance = int(i - size_t(c));
                if (distance > kLz77MaxDistance) break;
                if (distance < kLz77MinDistance || distance == bestDistance) continue;
                const uint8_t* there = data + c;
                if (there[best] != here[best]) continue;  // cannot beat the best so far
                const int n = matchLength(there, here, limit);
                if (n > best) {
                    best = n;
                    bestDistance = distance;
                    if (n == limit) break;
                }
            }
        }
        prev[i & (kChainSize - 1)] = head[h];
        head[h] = int32_t(i);
        if (best >= kLz77MinLength) {
            m.length[i] = uint8_t(best);
            m.distance[i] = uint16_t(bestDistance);
            previousDistance = bestDistance;
        } else {
            previousDistance = 0;
        }
    }
    return m;
}

// Writes the items of a parse: `lengths[i]` is 0 for a literal at i, else the length of the
// back-reference taken at i (its distance in `distances[i]`).
class StreamWriter {
public:
    explicit StreamWriter(size_t size) {
        out_.reserve(size / 2 + 16);
        out_.push_back(kLz77Header);
        out_.push_back(uint8_t(size));
        out_.push_back(uint8_t(size >> 8));
        out_.push_back(uint8_t(size >> 16));
    }
    void literal(uint8_t byte) {
        startItem(false);
        out_.push_back(byte);
    }
    void reference(int length, int distance) {
        startItem(true);
        const int d = distance - 1;
        out_.push_back(uint8_t((length - kLz77MinLength) << 4 | d >> 8));
        out_.push_back(uint8_t(d & 0xFF));
    }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    void startItem(bool isReference) {
        if (bit_ == 0) {
            flagAt_ = out_.size();
            out_.push_back(0);
            bit_ = 8;
        }
        --bit_;
        if (isReference) out_[flagAt_] |= uint8_t(1u << bit_);
    }
    std::vector<uint8_t> out_;
    size_t flagAt_ = 0;
    int bit_ = 0;
};

}  // namespace

std::vector<uint8_t> packLz77(const uint8_t* data, size_t size) {
    const Matches m = findMatches(data, size);
    // cost[i]: bits needed for data[i..size), one flag bit per item, 8 per literal, 16 per
    // back-reference. The stream's length is the total rounded up to whole bytes, so the fewest
    // bits give the shortest stream.
    std::vector<uint32_t> cost(size + 1, 0);
    std::vector<uint8_t> take(size, 0);
    for (size_t i = size; i-- > 0;) {
        uint32_t best = cost[i + 1] + 9;
        uint8_t choice = 0;
        const int longest = m.length[i];
        for (int n = kLz77MinLength; n <= longest; ++n) {
            const uint32_t c = cost[i + size_t(n)] + 17;
            if (c <= best) {
                best = c;
                choice = uint8_t(n);
            }
        }
        cost[i] = best;
        take[i] = choice;
    }
    StreamWriter w(size);
    for (size_t i = 0; i < size;) {
        if (take[i]) {
            w.reference(take[i], m.distance[i]);
            i += take[i];
        } else {
            w.literal(data[i]);
            ++i;
        }
    }
    return w.take();
}

std::vector<uint8_t> packLz77Greedy(const uint8_t* data, size_t size) {
    const Matches m = findMatches(data, size);
    StreamWriter w(size);
    for (size_t i = 0; i < size;) {
        if (m.length[i]) {
            w.reference(m.length[i], m.distance[i]);
            i += m.length[i];
        } else {
            w.literal(data[i]);
            ++i;
        }
    }
    return w.take();
}

}  // namespace ts
