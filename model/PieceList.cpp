// Chunked storage of the placed pieces with copy-on-write sharing between copies.
#include "model/PieceList.h"

#include <algorithm>

namespace {

uint32_t HighestIdOf(const std::vector<PlacedPiece>& items) {
    uint32_t highest = 0;
    for (const PlacedPiece& p : items)
        if (p.id != kNoId) highest = std::max(highest, p.id);
    return highest;
}

}  // namespace

PieceList::PieceList(std::initializer_list<PlacedPiece> pieces) {
    FromVector(std::vector<PlacedPiece>(pieces));
}

PieceList::PieceList(const std::vector<PlacedPiece>& pieces) {
    FromVector(std::vector<PlacedPiece>(pieces));
}

PieceList::PieceList(std::vector<PlacedPiece>&& pieces) { FromVector(std::move(pieces)); }

PieceList::PieceList(const PieceList& other) { CopyFrom(other); }

PieceList::PieceList(PieceList&& other) noexcept
    : slots(std::move(other.slots)), starts(std::move(other.starts)), count(other.count) {
    other.slots.clear();
    other.starts.assign(1, 0);
    other.count = 0;
}

PieceList& PieceList::operator=(const PieceList& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

PieceList& PieceList::operator=(PieceList&& other) noexcept {
    if (this == &other) return *this;
    slots = std::move(other.slots);
    starts = std::move(other.starts);
    count = other.count;
    other.slots.clear();
    other.starts.assign(1, 0);
    other.count = 0;
    return *this;
}

PieceList& PieceList::operator=(std::vector<PlacedPiece>&& pieces) {
    FromVector(std::move(pieces));
    return *this;
}

PieceList& PieceList::operator=(const std::vector<PlacedPiece>& pieces) {
    FromVector(std::vector<PlacedPiece>(pieces));
    return *this;
}

PieceList& PieceList::operator=(std::initializer_list<PlacedPiece> pieces) {
    FromVector(std::vector<PlacedPiece>(pieces));
    return *this;
}

PieceList::operator std::vector<PlacedPiece>() const {
    std::vector<PlacedPiece> out;
    out.reserve(count);
    for (const Slot& s : slots) out.insert(out.end(), s.chunk->items.begin(), s.chunk->items.end());
    return out;
}

void PieceList::FromVector(std::vector<PlacedPiece>&& pieces) {
    slots.clear();
    slots.reserve((pieces.size() + kChunkPieces - 1) / kChunkPieces);
    for (size_t i = 0; i < pieces.size(); i += kChunkPieces) {
        auto chunk = std::make_shared<Chunk>();
        const size_t n = std::min(kChunkPieces, pieces.size() - i);
        chunk->items.reserve(kChunkPieces);
        chunk->items.insert(chunk->items.end(), std::make_move_iterator(pieces.begin() + i),
                            std::make_move_iterator(pieces.begin() + i + n));
        chunk->highestId = HighestIdOf(chunk->items);
        slots.push_back({std::move(chunk), false});
    }
    count = pieces.size();
    RecountStarts();
}

void PieceList::CopyFrom(const PieceList& other) {
    std::vector<Slot> copied;
    copied.reserve(other.slots.size());
    for (Slot& s : other.slots) {
        if (s.hot) {
            // References into the original may still be written: the copy takes a duplicate.
            s.chunk->highestId = HighestIdOf(s.chunk->items);
            s.hot = false;
            copied.push_back({std::make_shared<Chunk>(*s.chunk), false});
        } else {
            copied.push_back({s.chunk, false});
        }
    }
    slots = std::move(copied);
    starts = other.starts;
    count = other.count;
}

void PieceList::RecountStarts() {
    std::erase_if(slots, [](const Slot& s) { return s.chunk->items.empty(); });
    starts.resize(slots.size() + 1);
    size_t at = 0;
    for (size_t k = 0; k < slots.size(); ++k) {
        starts[k] = at;
        at += slots[k].chunk->items.size();
    }
    starts[slots.size()] = at;
    count = at;
}

size_t PieceList::SearchChunk(size_t i) const {
    // starts is ascending and no chunk is empty: the last start at or before i.
    const auto it = std::upper_bound(starts.begin(), starts.end() - 1, i);
    return static_cast<size_t>(it - starts.begin()) - 1;
}

PieceList::Chunk& PieceList::Unshare(size_t k) {
    Slot& s = slots[k];
    if (s.chunk.use_count() > 1) {
        // Room for appends, so that pieces written here keep their address while the chunk grows.
        auto own = std::make_shared<Chunk>();
        own->items.reserve(std::max(kChunkPieces, s.chunk->items.size()));
        own->items.assign(s.chunk->items.begin(), s.chunk->items.end());
        own->highestId = s.chunk->highestId;
        s.chunk = std::move(own);
    }
    return *s.chunk;
}

PieceList::Chunk& PieceList::Own(size_t k) {
    Chunk& c = Unshare(k);
    slots[k].hot = true;
    return c;
}

void PieceList::Append(PlacedPiece&& piece) {
    if (slots.empty() || slots.back().chunk->items.size() >= kChunkPieces) {
        auto chunk = std::make_shared<Chunk>();
        chunk->items.reserve(kChunkPieces);
        slots.push_back({std::move(chunk), false});
        starts.push_back(count);
    }
    Chunk& c = Unshare(slots.size() - 1);
    if (piece.id != kNoId) c.highestId = std::max(c.highestId, piece.id);
    c.items.push_back(std::move(piece));
    starts.back() = ++count;
}

void PieceList::pop_back() {
    if (count == 0) return;
    Chunk& c = Own(slots.size() - 1);
    c.items.pop_back();
    --count;
    if (c.items.empty()) {
        slots.pop_back();
        starts.pop_back();
    }
    starts.back() = count;
}

void PieceList::clear() {
    slots.clear();
    starts.assign(1, 0);
    count = 0;
}

void PieceList::resize(size_t n) {
    while (count > n) pop_back();
    while (count < n) Append(PlacedPiece{});
}

PieceList::iterator PieceList::erase(const_iterator first, const_iterator last) {
    const size_t a = first.Index(), b = std::min(last.Index(), count);
    if (a >= b) return iterator(this, a);
    for (size_t k = ChunkOf(a); k < slots.size() && starts[k] < b; ++k) {
        const size_t from = std::max(a, starts[k]) - starts[k];
        const size_t to = std::min(b, starts[k + 1]) - starts[k];
        Chunk& c = Own(k);
        c.items.erase(c.items.begin() + static_cast<std::ptrdiff_t>(from),
                      c.items.begin() + static_cast<std::ptrdiff_t>(to));
    }
    RecountStarts();
    return iterator(this, a);
}

size_t PieceList::FindIndex(uint32_t id) const {
    size_t lo = 0, hi = count;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if ((*this)[mid].id < id)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < count && (*this)[lo].id == id) return lo;
    for (size_t k = 0; k < slots.size(); ++k) {
        const std::vector<PlacedPiece>& items = slots[k].chunk->items;
        for (size_t j = 0; j < items.size(); ++j)
            if (items[j].id == id) return starts[k] + j;
    }
    return npos;
}

size_t PieceList::IndexOf(const PlacedPiece* p) const {
    for (size_t k = 0; k < slots.size(); ++k) {
        const std::vector<PlacedPiece>& items = slots[k].chunk->items;
        if (!items.empty() && p >= items.data() && p < items.data() + items.size())
            return starts[k] + static_cast<size_t>(p - items.data());
    }
    return npos;
}

uint32_t PieceList::HighestId() const {
    uint32_t highest = 0;
    for (const Slot& s : slots)
        highest = std::max(highest, s.hot ? HighestIdOf(s.chunk->items) : s.chunk->highestId);
    return highest;
}

bool PieceList::operator==(const std::vector<PlacedPiece>& other) const {
    if (count != other.size()) return false;
    size_t i = 0;
    for (const Slot& s : slots)
        for (const PlacedPiece& p : s.chunk->items)
            if (!(p == other[i++])) return false;
    return true;
}

size_t PieceList::SharedChunks() const {
    return static_cast<size_t>(std::count_if(
        slots.begin(), slots.end(), [](const Slot& s) { return s.chunk.use_count() > 1; }));
}
