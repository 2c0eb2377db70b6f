// The document's placed pieces: a sequence used like a vector, stored in chunks that copies share,
// so that an undo snapshot of a large layout costs what the last edit touched, not the layout.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "model/PlacedPiece.h"

// Copying a list shares its chunks; the first write to a shared chunk copies that chunk alone.
//
// Writes reach a chunk through references the list hands out (operator[], iterators, front,
// back), and a reference taken before a copy may be written after it ("check, snapshot, change"
// is how every edit is written). So a chunk that handed out a writable reference is "hot": the
// next copy gives its own duplicate of a hot chunk and leaves the original, with the references
// into it, to this list alone. A writable reference therefore stays safe through one copy of the
// list; code that keeps one across two snapshots must take it again.
class PieceList {
public:
    // Pieces per chunk: small enough that copying one on a write is cheap, large enough that a
    // snapshot of 100,000 pieces shares under a thousand chunk pointers.
    static constexpr size_t kChunkPieces = 128;
    static constexpr size_t npos = static_cast<size_t>(-1);

    using value_type = PlacedPiece;
    using size_type = size_t;
    using difference_type = std::ptrdiff_t;
    using reference = PlacedPiece&;
    using const_reference = const PlacedPiece&;

    template <bool IsConst>
    class Iter;
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    PieceList() = default;
    PieceList(std::initializer_list<PlacedPiece> pieces);
    PieceList(const std::vector<PlacedPiece>& pieces);
    PieceList(std::vector<PlacedPiece>&& pieces);
    PieceList(const PieceList& other);
    PieceList(PieceList&& other) noexcept;
    PieceList& operator=(const PieceList& other);
    PieceList& operator=(PieceList&& other) noexcept;
    PieceList& operator=(std::vector<PlacedPiece>&& pieces);
    PieceList& operator=(const std::vector<PlacedPiece>& pieces);
    PieceList& operator=(std::initializer_list<PlacedPiece> pieces);
    ~PieceList() = default;

    // A plain copy of the pieces, in order.
    operator std::vector<PlacedPiece>() const;

    size_t size() const { return count; }
    bool empty() const { return count == 0; }

    const PlacedPiece& operator[](size_t i) const {
        const size_t k = ChunkOf(i);
        return slots[k].chunk->items[i - starts[k]];
    }
    PlacedPiece& operator[](size_t i) {
        const size_t k = ChunkOf(i);
        return Own(k).items[i - starts[k]];
    }
    const PlacedPiece& at(size_t i) const { return (*this)[i]; }
    PlacedPiece& at(size_t i) { return (*this)[i]; }
    const PlacedPiece& front() const { return (*this)[0]; }
    PlacedPiece& front() { return (*this)[0]; }
    const PlacedPiece& back() const { return slots.back().chunk->items.back(); }
    PlacedPiece& back() { return Own(slots.size() - 1).items.back(); }

    iterator begin();
    iterator end();
    const_iterator begin() const;
    const_iterator end() const;
    const_iterator cbegin() const;
    const_iterator cend() const;

    void push_back(const PlacedPiece& piece) { Append(PlacedPiece(piece)); }
    void push_back(PlacedPiece&& piece) { Append(std::move(piece)); }
    template <class... Args>
    PlacedPiece& emplace_back(Args&&... args) {
        Append(PlacedPiece{std::forward<Args>(args)...});
        return back();
    }
    void pop_back();
    void clear();
    void reserve(size_t) {}  // chunks grow on their own; nothing is moved on growth
    void resize(size_t n);
    iterator erase(const_iterator pos);
    iterator erase(const_iterator first, const_iterator last);

    // Removes the pieces pred holds for, keeping the order of the rest; returns how many went.
    // Only chunks that lose a piece are written (and so copied when shared).
    template <class Pred>
    size_t EraseIf(Pred pred);

    // Calls fn with write access to each piece pred holds for; pred sees every piece read-only,
    // so only the chunks of the pieces fn gets are written. fn must not add or remove pieces.
    template <class Pred, class Fn>
    void ForEachWhere(Pred pred, Fn fn);

    // The position of the piece with this id, or npos. Pieces are kept in rising id order by
    // everything that adds them, so a binary search finds them; a list out of order falls back
    // to a scan.
    size_t FindIndex(uint32_t id) const;
    // The position of a piece this list handed out, or npos when p is not one of its pieces.
    size_t IndexOf(const PlacedPiece* p) const;
    // The highest id in the list, 0 when empty; remembered per chunk between writes.
    uint32_t HighestId() const;

    // Element-wise comparison with eq, which sees only pairs at the same position; chunks both
    // lists share are equal without a look at their pieces.
    template <class Eq>
    bool Equal(const PieceList& other, Eq eq) const;
    bool operator==(const PieceList& other) const {
        return Equal(other, [](const PlacedPiece& a, const PlacedPiece& b) { return a == b; });
    }
    bool operator==(const std::vector<PlacedPiece>& other) const;

    // Chunks this list shares with another list (a snapshot): what a copy costs no memory for.
    size_t SharedChunks() const;
    size_t ChunkCount() const { return slots.size(); }

private:
    struct Chunk {
        std::vector<PlacedPiece> items;
        uint32_t highestId = 0;  // exact while the chunk is cold
    };
    struct Slot {
        std::shared_ptr<Chunk> chunk;
        bool hot = false;  // handed out a writable reference since the last copy
    };

    size_t ChunkOf(size_t i) const {
        const size_t k = i / kChunkPieces;
        if (k < slots.size() && starts[k] <= i && i < starts[k + 1]) return k;
        return SearchChunk(i);
    }
    size_t SearchChunk(size_t i) const;
    // The chunk for writing: its own copy when shared, marked hot.
    Chunk& Own(size_t k);
    // The chunk for writing without handing out a reference: copied when shared, not marked.
    Chunk& Unshare(size_t k);
    void Append(PlacedPiece&& piece);
    void FromVector(std::vector<PlacedPiece>&& pieces);
    // Gives hot chunks their exact highest id and clears the marks; the copy takes duplicates.
    void CopyFrom(const PieceList& other);
    void RecountStarts();

    // Mutable: a copy, which reads the source, settles the source's hot chunks.
    mutable std::vector<Slot> slots;
    std::vector<size_t> starts{0};  // first position of each chunk, then the size
    size_t count = 0;
};

template <bool IsConst>
class PieceList::Iter {
public:
    using iterator_category = std::random_access_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = PlacedPiece;
    using difference_type = std::ptrdiff_t;
    using pointer = std::conditional_t<IsConst, const PlacedPiece*, PlacedPiece*>;
    using reference = std::conditional_t<IsConst, const PlacedPiece&, PlacedPiece&>;
    using List = std::conditional_t<IsConst, const PieceList, PieceList>;

    Iter() = default;
    Iter(List* list, size_t index) : list_(list), index_(index) {}
    // A writable iterator reads as a read-only one.
    operator Iter<true>() const { return Iter<true>(list_, index_); }

    reference operator*() const {
        // The chunk's storage is looked up (and, for writing, made this list's own) once per
        // chunk a walk enters, not once per piece.
        if (index_ < lo_ || index_ >= hi_) Enter();
        return base_[index_ - lo_];
    }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }

    Iter& operator++() {
        ++index_;
        return *this;
    }
    Iter operator++(int) {
        Iter old = *this;
        ++index_;
        return old;
    }
    Iter& operator--() {
        --index_;
        return *this;
    }
    Iter operator--(int) {
        Iter old = *this;
        --index_;
        return old;
    }
    Iter& operator+=(difference_type n) {
        index_ = static_cast<size_t>(static_cast<difference_type>(index_) + n);
        return *this;
    }
    Iter& operator-=(difference_type n) { return *this += -n; }
    friend Iter operator+(Iter it, difference_type n) { return it += n; }
    friend Iter operator+(difference_type n, Iter it) { return it += n; }
    friend Iter operator-(Iter it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Iter& a, const Iter& b) {
        return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const Iter& a, const Iter& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Iter& a, const Iter& b) { return a.index_ <=> b.index_; }

    size_t Index() const { return index_; }

private:
    void Enter() const {
        const size_t k = list_->ChunkOf(index_);
        lo_ = list_->starts[k];
        hi_ = list_->starts[k + 1];
        if constexpr (IsConst)
            base_ = list_->slots[k].chunk->items.data();
        else
            base_ = list_->Own(k).items.data();
    }

    List* list_ = nullptr;
    size_t index_ = 0;
    mutable size_t lo_ = 1;  // the chunk entered last: positions [lo_, hi_) at base_
    mutable size_t hi_ = 0;
    mutable pointer base_ = nullptr;
};

inline PieceList::iterator PieceList::begin() { return iterator(this, 0); }
inline PieceList::iterator PieceList::end() { return iterator(this, count); }
inline PieceList::const_iterator PieceList::begin() const { return const_iterator(this, 0); }
inline PieceList::const_iterator PieceList::end() const { return const_iterator(this, count); }
inline PieceList::const_iterator PieceList::cbegin() const { return begin(); }
inline PieceList::const_iterator PieceList::cend() const { return end(); }
inline PieceList::iterator PieceList::erase(const_iterator pos) { return erase(pos, pos + 1); }

template <class Pred>
size_t PieceList::EraseIf(Pred pred) {
    size_t erased = 0;
    for (size_t k = 0; k < slots.size(); ++k) {
        const std::vector<PlacedPiece>& items = slots[k].chunk->items;
        bool any = false;
        for (const PlacedPiece& p : items)
            if (pred(static_cast<const PlacedPiece&>(p))) {
                any = true;
                break;
            }
        if (!any) continue;
        Chunk& c = Unshare(k);
        erased += std::erase_if(c.items, [&](const PlacedPiece& p) { return pred(p); });
        slots[k].hot = true;  // its highest id is no longer known
    }
    if (erased) RecountStarts();
    return erased;
}

template <class Pred, class Fn>
void PieceList::ForEachWhere(Pred pred, Fn fn) {
    for (size_t k = 0; k < slots.size(); ++k) {
        for (size_t j = 0; j < slots[k].chunk->items.size(); ++j) {
            // Re-read through the slot: a write may have given this list its own copy.
            const PlacedPiece& piece = slots[k].chunk->items[j];
            if (pred(piece)) fn(Own(k).items[j]);
        }
    }
}

template <class Eq>
bool PieceList::Equal(const PieceList& other, Eq eq) const {
    if (count != other.count) return false;
    size_t ka = 0, kb = 0, ia = 0, ib = 0;
    while (ka < slots.size() && kb < other.slots.size()) {
        const Chunk& a = *slots[ka].chunk;
        const Chunk& b = *other.slots[kb].chunk;
        if (ia == 0 && ib == 0 && &a == &b) {
            ++ka;
            ++kb;
            continue;
        }
        const size_t n = std::min(a.items.size() - ia, b.items.size() - ib);
        for (size_t j = 0; j < n; ++j)
            if (!eq(a.items[ia + j], b.items[ib + j])) return false;
        ia += n;
        ib += n;
        if (ia == a.items.size()) ++ka, ia = 0;
        if (ib == b.items.size()) ++kb, ib = 0;
    }
    return true;
}
