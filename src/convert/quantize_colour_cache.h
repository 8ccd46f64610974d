#pragma once
// Open-addressing map from a 32-bit colour to a small record, for the per-distinct-colour caches
// of the quantizers (images hold far fewer distinct colours than pixels).
#include <cstdint>
#include <vector>

namespace ts {

template <typename Value>
class ColourCache {
public:
    explicit ColourCache(size_t expected = 4096) {
        size_t capacity = 16;
        while (capacity < expected * 2) capacity <<= 1;
        keys_.assign(capacity, 0);
        values_.resize(capacity);
    }
    // The record of a colour; `inserted` tells whether it was just created (value-initialised).
    Value& find(uint32_t colour, bool& inserted) {
        if ((size_ + 1) * 2 > keys_.size()) grow();
        const uint64_t key = uint64_t(colour) + 1;
        size_t i = hash(colour) & (keys_.size() - 1);
        while (keys_[i] != 0) {
            if (keys_[i] == key) {
                inserted = false;
                return values_[i];
            }
            i = (i + 1) & (keys_.size() - 1);
        }
        keys_[i] = key;
        values_[i] = Value{};
        ++size_;
        inserted = true;
        return values_[i];
    }

private:
    static size_t hash(uint32_t c) { return size_t((uint64_t(c) * 0x9E3779B97F4A7C15ull) >> 32); }
    void grow() {
        std::vector<uint64_t> oldKeys(keys_.size() * 2, 0);
        std::vector<Value> oldValues(keys_.size() * 2);
        oldKeys.swap(keys_);
        oldValues.swap(values_);
        for (size_t j = 0; j < oldKeys.size(); ++j) {
            if (!oldKeys[j]) continue;
            size_t i = hash(uint32_t(oldKeys[j] - 1)) & (keys_.size() - 1);
            while (keys_[i] != 0) i = (i + 1) & (keys_.size() - 1);
            keys_[i] = oldKeys[j];
            values_[i] = oldValues[j];
        }
    }
    std::vector<uint64_t> keys_;
    std::vector<Value> values_;
    size_t size_ = 0;
};

}  // namespace ts
