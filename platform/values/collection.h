#pragma once
// The keyed collection the system passes around: 1-based, ordered by
// insertion, optional keys compared without regard to case. Adding an item
// under a key that is already there fails and leaves the collection as it was;
// the caller decides what to do about it. Keyed look-up goes through an index
// on the key folded to ASCII upper case, as the comparison folds it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/values/text.h"
#include "platform/values/variant.h"

namespace plat {

template <class T = Variant>
class Collection {
public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }

    // Appends the item; an empty key means "no key". False when the key is taken.
    [[nodiscard]] bool Add(T item, std::string_view key = {}) {
        if (!key.empty() && !index_.try_emplace(ToUpper(key), items_.size()).second) return false;
        items_.push_back(Entry{std::move(item), std::string(key)});
        return true;
    }

    // Inserts before the 1-based position `before` (Count()+1 appends).
    [[nodiscard]] bool Insert(int32_t before, T item, std::string_view key = {}) {
        if (before < 1 || before > Count() + 1) throw std::out_of_range("Collection: position out of range");
        if (!key.empty() && IndexOf(key) != 0) return false;
        items_.insert(items_.begin() + (before - 1), Entry{std::move(item), std::string(key)});
        Reindex(static_cast<size_t>(before - 1));
        return true;
    }

    // Item by 1-based position or by key; std::out_of_range when absent.
    T& Item(int32_t index) { return items_.at(CheckIndex(index) - 1).item; }
    const T& Item(int32_t index) const { return items_.at(CheckIndex(index) - 1).item; }
    T& Item(std::string_view key) { return items_[CheckKey(key) - 1].item; }
    const T& Item(std::string_view key) const { return items_[CheckKey(key) - 1].item; }

    bool Exists(std::string_view key) const { return IndexOf(key) != 0; }
    // 1-based position of the key, 0 when absent.
    int32_t IndexOf(std::string_view key) const {
        if (key.empty()) return 0;
        auto found = index_.find(ToUpper(key));
        return found == index_.end() ? 0 : static_cast<int32_t>(found->second + 1);
    }
    // The key of an item ("" when it has none).
    const std::string& KeyAt(int32_t index) const { return items_.at(CheckIndex(index) - 1).key; }

    void Remove(int32_t index) { Erase(static_cast<size_t>(CheckIndex(index) - 1)); }
    void Remove(std::string_view key) { Erase(static_cast<size_t>(CheckKey(key) - 1)); }
    void Clear() {
        items_.clear();
        index_.clear();
    }

    // Iteration over the items in order.
    struct Entry {
        T item;
        std::string key;
    };
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = T*;
        using reference = T&;
        iterator() = default;
        using Base = typename std::vector<Entry>::iterator;
        explicit iterator(Base b) : b_(b) {}
        T& operator*() const { return b_->item; }
        T* operator->() const { return &b_->item; }
        iterator& operator++() { ++b_; return *this; }
        iterator operator++(int) { iterator t = *this; ++b_; return t; }
        bool operator!=(const iterator& o) const { return b_ != o.b_; }
        bool operator==(const iterator& o) const { return b_ == o.b_; }
    private:
        Base b_;
    };
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;
        const_iterator() = default;
        using Base = typename std::vector<Entry>::const_iterator;
        explicit const_iterator(Base b) : b_(b) {}
        const T& operator*() const { return b_->item; }
        const T* operator->() const { return &b_->item; }
        const_iterator& operator++() { ++b_; return *this; }
        const_iterator operator++(int) { const_iterator t = *this; ++b_; return t; }
        bool operator!=(const const_iterator& o) const { return b_ != o.b_; }
        bool operator==(const const_iterator& o) const { return b_ == o.b_; }
    private:
        Base b_;
    };
    iterator begin() { return iterator(items_.begin()); }
    iterator end() { return iterator(items_.end()); }
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    int32_t CheckIndex(int32_t index) const {
        if (index < 1 || index > Count()) throw std::out_of_range("Collection: index " + std::to_string(index) + " out of range");
        return index;
    }
    int32_t CheckKey(std::string_view key) const {
        int32_t i = IndexOf(key);
        if (i == 0) throw std::out_of_range("Collection: no item with key \"" + std::string(key) + "\"");
        return i;
    }
    void Erase(size_t at) {
        if (!items_[at].key.empty()) index_.erase(ToUpper(items_[at].key));
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
        Reindex(at);
    }
    // Positions from `from` on have moved.
    void Reindex(size_t from) {
        for (size_t i = from; i < items_.size(); ++i)
            if (!items_[i].key.empty()) index_[ToUpper(items_[i].key)] = i;
    }

    std::vector<Entry> items_;
    std::unordered_map<std::string, size_t> index_;  // folded key -> 0-based position
};

}  // namespace plat
