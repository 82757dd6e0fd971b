// TList: a doubly linked list of shared object references.
//
// Iteration fetches the next link before the loop body runs, so the body may
// remove the current element. A removed link is marked and skipped, so the
// body may remove any other element as well without derailing the walk.
#pragma once

#include <cstddef>
#include <memory>

#include "toolkit/core/error.h"

namespace kestrel {

// A list of shared references to T, in order; the list holds a reference to
// each element until it is removed.
template <class T>
class TList {
    struct Link {
        std::shared_ptr<T> value;
        std::shared_ptr<Link> succ;
        Link* pred = nullptr;
        bool removed = false;
    };

public:
    using value_type = std::shared_ptr<T>;  // the element type, a shared reference

    // A forward iterator (range-for); it skips links removed during the walk.
    class iterator {
    public:
        iterator() = default;
        // An iterator at link (or the first live link after it).
        explicit iterator(std::shared_ptr<Link> link) : cur_(Live(std::move(link))) {
            if (cur_) next_ = cur_->succ;
        }
        // The current element.
        const std::shared_ptr<T>& operator*() const { return cur_->value; }
        // Moves to the next live element.
        iterator& operator++() {
            cur_ = Live(std::move(next_));
            next_ = cur_ ? cur_->succ : nullptr;
            return *this;
        }
        // Same position.
        bool operator==(const iterator& o) const { return cur_ == o.cur_; }
        // Different positions.
        bool operator!=(const iterator& o) const { return cur_ != o.cur_; }

    private:
        static std::shared_ptr<Link> Live(std::shared_ptr<Link> link) {
            while (link && link->removed) link = link->succ;
            return link;
        }
        std::shared_ptr<Link> cur_;
        std::shared_ptr<Link> next_;
    };

    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() { Clear(); }

    // Appends value (null is allowed and counted).
    void AddLast(std::shared_ptr<T> value) {
        auto link = std::make_shared<Link>();
        link->value = std::move(value);
        link->pred = tail_;
        if (tail_) tail_->succ = link;
        else head_ = link;
        tail_ = link.get();
        ++count_;
    }

    // Puts value in front.
    void AddFirst(std::shared_ptr<T> value) {
        auto link = std::make_shared<Link>();
        link->value = std::move(value);
        link->succ = head_;
        if (head_) head_->pred = link.get();
        else tail_ = link.get();
        head_ = std::move(link);
        ++count_;
    }

    // Removes the first link holding value; returns whether one was found.
    bool Remove(const std::shared_ptr<T>& value) {
        for (Link* l = head_.get(); l; l = l->succ.get()) {
            if (l->value == value) {
                Unlink(l);
                return true;
            }
        }
        return false;
    }

    // Whether a link holds value (the same object).
    bool Contains(const std::shared_ptr<T>& value) const {
        for (Link* l = head_.get(); l; l = l->succ.get())
            if (l->value == value) return true;
        return false;
    }

    // Removes every element.
    void Clear() {
        while (head_) Unlink(head_.get());
    }

    std::size_t Count() const { return count_; }  // the number of elements
    bool IsEmpty() const { return count_ == 0; }  // no elements
    std::shared_ptr<T> First() const { return head_ ? head_->value : nullptr; }  // the first element; null when empty
    std::shared_ptr<T> Last() const { return tail_ ? tail_->value : nullptr; }   // the last element; null when empty

    iterator begin() const { return iterator(head_); }  // the first element
    iterator end() const { return iterator(); }         // past the last element

private:
    void Unlink(Link* l) {
        // Keep the link alive until it is fully detached; an iterator may
        // still hold it and will follow its succ to the rest of the list.
        std::shared_ptr<Link> self = l->pred ? l->pred->succ : head_;
        l->removed = true;
        l->value.reset();
        if (l->succ) l->succ->pred = l->pred;
        else tail_ = l->pred;
        if (l->pred) l->pred->succ = l->succ;
        else head_ = l->succ;
        l->pred = nullptr;
        --count_;
    }

    std::shared_ptr<Link> head_;
    Link* tail_ = nullptr;
    std::size_t count_ = 0;
};

// A shared list; null is none.
template <class T>
using TListPtr = std::shared_ptr<TList<T>>;

// The module functions of the list. A null list raises TNullObjectException.
template <class T>
TListPtr<T> CreateList() {
    return std::make_shared<TList<T>>();
}

// Appends value to list.
template <class T, class V>
void ListAddLast(const TListPtr<T>& list, V&& value) {
    NonNull(list)->AddLast(std::forward<V>(value));
}

// Puts value in front of list.
template <class T, class V>
void ListAddFirst(const TListPtr<T>& list, V&& value) {
    NonNull(list)->AddFirst(std::forward<V>(value));
}

// Removes the first link of list holding value; whether one was found.
template <class T>
bool ListRemove(const TListPtr<T>& list, const std::shared_ptr<T>& value) {
    return NonNull(list)->Remove(value);
}

}  // namespace kestrel
