// What an index over a list needs to stay right when elements handed out by reference are
// edited in place: the key each element had when it was indexed, and which elements were
// handed out since, the only ones whose key can have changed. A check then looks at those
// alone instead of the whole list.
#pragma once
#include <cstddef>
#include <utility>
#include <vector>

template <class Key> class IndexedKeys {
public:
    // The whole index must be built again (elements moved, or it was never built).
    void markStale()
    {
        stale_ = true;
        handedOut_.clear();
    }
    // The element at index was handed out, in a list of `elements`.
    void handOut(int index, std::size_t elements)
    {
        if (handedOut_.size() > elements)
            markStale();  // as cheap to rebuild as to check them all
        if (!stale_ && (handedOut_.empty() || handedOut_.back() != index))
            handedOut_.push_back(index);
    }
    // True when the index must be rebuilt: marked stale, or an element handed out has another
    // key now (keyOf(i) gives element i's key today).
    template <class KeyOf> bool needsRebuild(int elements, KeyOf keyOf)
    {
        for (const int index : handedOut_) {
            if (index < elements && keyOf(index) != keys_[static_cast<std::size_t>(index)])
                stale_ = true;
        }
        handedOut_.clear();
        return stale_;
    }
    // Starts a rebuild; then add() every element's key in order.
    void restart(std::size_t elements)
    {
        keys_.clear();
        keys_.reserve(elements);
        handedOut_.clear();
        stale_ = false;
    }
    void add(Key key) { keys_.push_back(std::move(key)); }
    // The last element left the list; the index is up to date (needsRebuild was false).
    void dropLast() { keys_.pop_back(); }

private:
    std::vector<Key> keys_;
    std::vector<int> handedOut_;
    bool stale_ = false;
};
