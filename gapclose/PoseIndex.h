// The hash grids of the gap search: an open-addressing index from 64-bit keys to pose numbers,
// and the keys of poses on a grid (packed) and of poses rounded very finely (mixed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Bits of a grid key: heading units, then the two cell numbers offset to be positive.
inline constexpr int kCellBits = 24;
inline constexpr int64_t kCellOffset = int64_t{1} << (kCellBits - 1);

// A hash index from 64-bit keys to pose numbers, open addressing with linear probing: the grids
// hold millions of poses, where a node-based map spends most of its time allocating.
class FlatIndex {
public:
    static constexpr uint64_t kEmpty = ~uint64_t{0};

    void Reset(size_t expected) {
        size_t cap = 1024;
        while (cap < expected * 2) cap <<= 1;
        keys.assign(cap, kEmpty);
        values.assign(cap, -1);
        count = 0;
    }
    // The value stored under `key`; a new key starts at -1.
    int32_t& Slot(uint64_t key) {
        if ((count + 1) * 2 > keys.size()) Grow();
        size_t i = Hash(key) & (keys.size() - 1);
        while (keys[i] != kEmpty && keys[i] != key) i = (i + 1) & (keys.size() - 1);
        if (keys[i] == kEmpty) {
            keys[i] = key;
            values[i] = -1;
            ++count;
        }
        return values[i];
    }
    int32_t Find(uint64_t key) const {
        if (keys.empty()) return -1;
        size_t i = Hash(key) & (keys.size() - 1);
        while (keys[i] != kEmpty) {
            if (keys[i] == key) return values[i];
            i = (i + 1) & (keys.size() - 1);
        }
        return -1;
    }

private:
    static uint64_t Hash(uint64_t x) {
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdULL;
        x ^= x >> 33;
        x *= 0xc4ceb9fe1a85ec53ULL;
        return x ^ (x >> 33);
    }
    void Grow() {
        std::vector<uint64_t> oldKeys = std::move(keys);
        std::vector<int32_t> oldValues = std::move(values);
        keys.assign(oldKeys.size() * 2, kEmpty);
        values.assign(oldKeys.size() * 2, -1);
        count = 0;
        for (size_t i = 0; i < oldKeys.size(); ++i)
            if (oldKeys[i] != kEmpty) Slot(oldKeys[i]) = oldValues[i];
    }

    std::vector<uint64_t> keys;
    std::vector<int32_t> values;
    size_t count = 0;
};

// Packs a heading in units and two cell numbers; false when a cell lies beyond the key's range.
inline bool PackKey(int k, int64_t ix, int64_t iy, uint64_t& key) {
    if (ix <= -kCellOffset || ix >= kCellOffset || iy <= -kCellOffset || iy >= kCellOffset)
        return false;
    key = (static_cast<uint64_t>(k) << (2 * kCellBits)) |
          (static_cast<uint64_t>(ix + kCellOffset) << kCellBits) |
          static_cast<uint64_t>(iy + kCellOffset);
    return true;
}

// A key for a pose rounded to a fine cell: the cell numbers are too wide to pack, so they are
// mixed; two different poses sharing a key (odds about one in 2^40 for a large search) would
// only drop one of them.
inline uint64_t PoseKey(int k, int64_t ix, int64_t iy) {
    uint64_t h = static_cast<uint64_t>(k) * 0x9E3779B97F4A7C15ULL;
    h ^= static_cast<uint64_t>(ix) + 0x632BE59BD9B4E019ULL + (h << 6) + (h >> 2);
    h *= 0xff51afd7ed558ccdULL;
    h ^= static_cast<uint64_t>(iy) + 0x85EBCA77C2B2AE63ULL + (h << 6) + (h >> 2);
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 29;
    return h == FlatIndex::kEmpty ? 0 : h;
}

