// Buffers for the baselines that copy from one block to another, placed as
// the surfaces place theirs: never at the same offset within a 4 KB page.
// The C library hands out every block this big at the same offset in its
// page, and a copy between two such blocks has each load wait on the store
// just made to the same page offset. On some CPUs that makes the copy ten
// times slower, and a baseline that slow flatters whatever is measured
// against it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <new>
#include <vector>

class ApartBuffers final {
  public:
    // How much further into its page each block starts than the one before:
    // the surfaces' gap (platform/ddraw/surface.cpp), a multiple of 64 so
    // every block stays aligned for vector code.
    static constexpr size_t kGap = 1088;
    static constexpr size_t kPage = 4096;

    // One zeroed block per size, block i starting i * kGap bytes into a page.
    explicit ApartBuffers(std::initializer_list<size_t> sizes) {
        size_t total = 0;
        for (size_t size : sizes) {
            size_t start = (total + kPage - 1) / kPage * kPage + offsets_.size() * kGap % kPage;
            offsets_.push_back(start);
            total = start + size;
        }
        memory_ = static_cast<std::byte*>(::operator new(total, std::align_val_t{kPage}));
        for (size_t i = 0; i < total; i++)
            memory_[i] = std::byte{0};
    }
    ~ApartBuffers() { ::operator delete(memory_, std::align_val_t{kPage}); }
    ApartBuffers(const ApartBuffers&) = delete;
    ApartBuffers& operator=(const ApartBuffers&) = delete;

    // Block i as an array of T (a type of at most 64-byte alignment).
    template <class T> T* At(size_t i) const { return reinterpret_cast<T*>(memory_ + offsets_[i]); }

  private:
    std::vector<size_t> offsets_;
    std::byte* memory_ = nullptr;
};
