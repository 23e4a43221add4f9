#pragma once
// Memory for the arrays of long point series: small blocks come from the heap, large ones
// are mappings of their own, which grow without copying.

#include <cstddef>

// The capacity to grow to for at least `wanted` elements of `elementSize` bytes: large
// blocks take whole huge pages.
size_t BlockCapacity(size_t wanted, size_t elementSize);
// Makes `block` (`oldBytes` large, its first `usedBytes` in use) `newBytes` large; the
// used bytes move along. Throws std::bad_alloc when there is no memory.
void* GrowBlock(void* block, size_t oldBytes, size_t newBytes, size_t usedBytes);
void FreeBlock(void* block, size_t bytes);

// One array of a series: its elements and how many fit.
template <typename T> class TPointBlock {
public:
    TPointBlock() = default;
    ~TPointBlock() { Release(); }
    TPointBlock(const TPointBlock&) = delete;
    TPointBlock& operator=(const TPointBlock&) = delete;

    T& operator[](int i) { return data[i]; }
    const T& operator[](int i) const { return data[i]; }
    T* Data() { return data; }
    int Capacity() const { return capacity; }

    // Room for `wanted` elements, the first `used` kept; unchanged when that fails.
    void Grow(int wanted, int used)
    {
        if (wanted <= capacity)
            return;
        data = static_cast<T*>(GrowBlock(data, Bytes(capacity), Bytes(wanted), Bytes(used)));
        capacity = wanted;
    }
    void Release()
    {
        FreeBlock(data, Bytes(capacity));
        data = nullptr;
        capacity = 0;
    }

private:
    static size_t Bytes(int elements) { return static_cast<size_t>(elements) * sizeof(T); }

    T* data = nullptr;
    int capacity = 0;
};
