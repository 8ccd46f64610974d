#include "formats/compression_lz77.h"

#include <algorithm>
#include <bit>
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

// Bytes equal at a and b, at most `limit` (both ranges hold `limit` bytes); 8 at a time.
inline int matchLength(const uint8_t* a, const uint8_t* b, int limit) {
    int n = 0;
    while (std::endian::native == std::endian::little && n + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (const uint64_t diff = x ^ y) return n + (__builtin_ctzll(diff) >> 3);
        n += 8;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

// A back-reference in 16 bits, as the stream holds it: (length - 3) << 12 | (distance - 1). Zero
// stands for none (length 3 at distance 1 is never taken).
inline uint16_t referenceCode(int length, int distance) {
    return uint16_t((length - kLz77MinLength) << 12 | (distance - 1));
}
inline int codeLength(uint16_t code) { return (code >> 12) + kLz77MinLength; }
inline int codeDistance(uint16_t code) { return (code & 0x0FFF) + 1; }

// The longest back-reference at every position (0 where there is none of at least 3 bytes).
std::vector<uint16_t> findMatches(const uint8_t* data, size_t size) {
    std::vector<uint16_t> m(size, 0);
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
            m[i] = referenceCode(best, bestDistance);
            previousDistance = bestDistance;
        } else {
            previousDistance = 0;
        }
    }
    return m;
}

// Writes the header and the items of a stream, a flag byte before every eight.
class StreamWriter {
public:
    explicit StreamWriter(size_t size) {
        out_.reserve(size + size / 8 + 8);  // the longest a stream can be
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

// The stream of a parse: at each position the reference to take (its code), or 0 for a literal.
std::vector<uint8_t> writeParse(const uint8_t* data, size_t size, const std::vector<uint16_t>& parse) {
    StreamWriter w(size);
    for (size_t i = 0; i < size;) {
        if (const uint16_t code = parse[i]) {
            w.reference(codeLength(code), codeDistance(code));
            i += size_t(codeLength(code));
        } else {
            w.literal(data[i]);
            ++i;
        }
    }
    return w.take();
}

}  // namespace

std::vector<uint8_t> packLz77(const uint8_t* data, size_t size) {
    std::vector<uint16_t> m = findMatches(data, size);
    // cost(i): bits needed for data[i..size), one flag bit per item, 8 per literal, 16 per
    // back-reference. The stream's length is the total rounded up to whole bytes, so the fewest
    // bits give the shortest stream. Only cost(i + 1 .. i + 18) is needed at i: a ring of 32.
    // The choice at each position replaces its longest match (0: a literal).
    uint32_t cost[32] = {};
    for (size_t i = size; i-- > 0;) {
        uint32_t best = cost[(i + 1) & 31] + 9;
        uint16_t choice = 0;
        if (const uint16_t longest = m[i]) {
            const int distance = codeDistance(longest);
            for (int n = kLz77MinLength, top = codeLength(longest); n <= top; ++n) {
                const uint32_t c = cost[(i + size_t(n)) & 31] + 17;
                if (c <= best) {
                    best = c;
                    choice = referenceCode(n, distance);
                }
            }
        }
        cost[i & 31] = best;
        m[i] = choice;
    }
    return writeParse(data, size, m);
}

std::vector<uint8_t> packLz77Greedy(const uint8_t* data, size_t size) {
    return writeParse(data, size, findMatches(data, size));
}

}  // namespace ts
