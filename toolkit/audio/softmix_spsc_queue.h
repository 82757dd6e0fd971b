// A fixed-capacity queue with one writer thread and one reader thread and no
// lock. The mixer passes voices through two of these: new voices from the
// main thread to the output thread, finished ones back for reuse.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace kestrel::softmix {

template <class T>
class SpscQueue {
public:
    explicit SpscQueue(std::size_t capacity)
        : capacity_(capacity), items_(std::make_unique<T[]>(capacity)) {}

    SpscQueue(const SpscQueue&) = delete;
    SpscQueue& operator=(const SpscQueue&) = delete;

    // Writer side. Returns false when the queue is full.
    bool Push(T value) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == capacity_) return false;
        items_[tail % capacity_] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Reader side. Returns false when the queue is empty.
    bool Pop(T& value) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        value = items_[head % capacity_];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    std::size_t Capacity() const { return capacity_; }

private:
    const std::size_t capacity_;
    std::unique_ptr<T[]> items_;
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace kestrel::softmix
