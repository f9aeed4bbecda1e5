#pragma once
// A growable array of plain values for the point store. Small arrays grow with realloc; where
// the system offers growable blocks (platform/GrowableMemory.h: Linux) a large array lives in
// one, which grows without copying its bytes and uses huge pages. A million points are thus
// added without copying the arrays over and over and without faulting them in page by page
// twice.

#include "platform/GrowableMemory.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

namespace velkor::chart {

template <class T> class GrowBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GrowBuffer() = default;
    explicit GrowBuffer(std::size_t n) { resize(n); }
    ~GrowBuffer() { Release(); }
    GrowBuffer(const GrowBuffer&) = delete;
    GrowBuffer& operator=(const GrowBuffer&) = delete;
    GrowBuffer(GrowBuffer&& o) noexcept { swap(o); }
    GrowBuffer& operator=(GrowBuffer&& o) noexcept {
        GrowBuffer(std::move(o)).swap(*this);
        return *this;
    }
    void swap(GrowBuffer& o) noexcept {
        std::swap(data_, o.data_);
        std::swap(size_, o.size_);
        std::swap(capacity_, o.capacity_);
        std::swap(mapped_, o.mapped_);
    }

    void push_back(T v) {
        if (size_ == capacity_)
            Reserve(capacity_ ? capacity_ * 2 : 64);
        data_[size_++] = v;
    }
    void resize(std::size_t n) {
        if (n > capacity_)
            Reserve(n);
        size_ = n;
    }
    void assign(std::size_t n, T v) {
        resize(n);
        for (std::size_t i = 0; i < n; ++i)
            data_[i] = v;
    }

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    const T& back() const { return data_[size_ - 1]; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }
    std::span<const T> span() const { return {data_, size_}; }

private:
    static constexpr std::size_t Huge = std::size_t(2) << 20;

    void Reserve(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (mapped_ || (bytes >= 2 * Huge && GrowableBlocksAvailable())) {
            void* p = mapped_ ? ResizeGrowableBlock(data_, capacity_ * sizeof(T), bytes)
                              : AllocateGrowableBlock(bytes);
            if (!mapped_) {
                if (size_)
                    std::memcpy(p, data_, size_ * sizeof(T));
                std::free(data_);
            }
            data_ = static_cast<T*>(p);
            mapped_ = true;
            capacity_ = n;
            return;
        }
        void* p = std::realloc(static_cast<void*>(data_), bytes);
        if (!p)
            throw std::bad_alloc();
        data_ = static_cast<T*>(p);
        capacity_ = n;
    }

    void Release() {
        if (mapped_)
            FreeGrowableBlock(data_, capacity_ * sizeof(T));
        else
            std::free(data_);
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool mapped_ = false;
};

} // namespace velkor::chart
