#pragma once
// Reads a fuzzer's input as a stream of numbers and short texts; past the end everything reads 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint32_t word() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | (at < size ? data[at++] : 0);
        return v;
    }
    int small(int n) { return n > 0 ? int(word() % uint32_t(n)) : 0; }
    int signedSmall(int n) { return small(2 * n + 1) - n; }
    std::string text(size_t max) {
        const size_t wanted = size_t(small(int(max) + 1));  // reads a word first, so measure what is left after
        const size_t n = std::min<size_t>(wanted, size - std::min(at, size));
        std::string s(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return s;
    }
};

}  // namespace fuzz
