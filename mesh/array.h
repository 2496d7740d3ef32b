#pragma once
// A growable array of trivially copyable records that grows in place: its storage is
// an anonymous mapping enlarged with mremap, so growth never holds two copies at once.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

// The size of the pages the arrays are mapped in.
inline std::size_t memoryPageBytes() {
  static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

template <typename T>
class GrowableArray {
  static_assert(std::is_trivially_copyable_v<T>, "records are moved as bytes");

 public:
  GrowableArray() = default;
  GrowableArray(const GrowableArray& other) { *this = other; }
  GrowableArray(GrowableArray&& other) noexcept { swap(other); }
  ~GrowableArray() { release(); }

  GrowableArray& operator=(const GrowableArray& other) {
    if (this == &other) return *this;
    GrowableArray copy;
    copy.reserve(other.size_);
    if (other.size_ > 0) std::memcpy(copy.items_, other.items_, other.size_ * sizeof(T));
    copy.size_ = other.size_;
    swap(copy);
    return *this;
  }
  GrowableArray& operator=(GrowableArray&& other) noexcept {
    GrowableArray taken(std::move(other));
    swap(taken);
    return *this;
  }

  void swap(GrowableArray& other) noexcept {
    std::swap(items_, other.items_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    std::swap(mappedBytes_, other.mappedBytes_);
  }

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }

  // A negative index converts to a huge unsigned one, so -1 is out of range too.
  T& at(std::size_t index) {
    if (index >= size_) throw std::out_of_range("GrowableArray::at");
    return items_[index];
  }
  const T& at(std::size_t index) const {
    if (index >= size_) throw std::out_of_range("GrowableArray::at");
    return items_[index];
  }
  T& operator[](std::size_t index) { return at(index); }
  const T& operator[](std::size_t index) const { return at(index); }
  T& back() { return at(size_ - 1); }
  const T& back() const { return at(size_ - 1); }

  // A hint to the cache that `index` is wanted soon; an index outside the array is ignored.
  void prefetch(std::size_t index) const {
    if (index < size_) __builtin_prefetch(items_ + index);
  }

  T* data() { return items_; }
  const T* data() const { return items_; }
  T* begin() { return items_; }
  T* end() { return items_ + size_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + size_; }

  // Throws std::bad_alloc and leaves the array as it was when the space is not there.
  void reserve(std::size_t count) {
    if (count <= capacity_) return;
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T) - memoryPageBytes()) {
      throw std::bad_alloc();
    }
    const std::size_t bytes = roundToPages(count * sizeof(T));
    void* mapped = items_ == nullptr ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                     : mremap(items_, mappedBytes_, bytes, MREMAP_MAYMOVE);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    items_ = static_cast<T*>(mapped);
    mappedBytes_ = bytes;
    capacity_ = bytes / sizeof(T);
  }

  // reserve, and the pages for records [size, count) made resident now, in one call a
  // chunk rather than a page fault each, for room that is about to be filled anyway. False
  // when the kernel could not find the memory for them; where it does not know the
  // request (before Linux 5.14), the pages fault in as they are written. A gigabyte takes
  // about a second, so `afterChunk(bytes)` is called after each chunk made resident.
  template <typename AfterChunk>
  bool reserveResident(std::size_t count, AfterChunk afterChunk) {
    reserve(count);
    if (count <= size_) return true;
    const std::size_t page = memoryPageBytes();
    auto first = reinterpret_cast<std::uintptr_t>(items_ + size_) / page * page;
    const auto last = reinterpret_cast<std::uintptr_t>(items_ + count);
    while (first < last) {
      const std::size_t bytes = std::min<std::uintptr_t>(last - first, residentChunkBytes);
      if (madvise(reinterpret_cast<void*>(first), bytes, MADV_POPULATE_WRITE) != 0) {
        return errno != ENOMEM && errno != EFAULT;
      }
      afterChunk(bytes);
      first += bytes;
    }
    return true;
  }
  bool reserveResident(std::size_t count) {
    return reserveResident(count, [](std::size_t) {});
  }

  // A whole number of pages of any size the kernel uses.
  static constexpr std::size_t residentChunkBytes = std::size_t{32} << 20;

  void push_back(const T& item) {
    const T copy = item;  // `item` may live in the storage that is about to move
    if (size_ == capacity_) reserve(capacity_ < 64 ? 64 : capacity_ * 2);
    items_[size_++] = copy;
  }

  void clear() { size_ = 0; }

  // An empty array gives its mapping back; otherwise the tail pages are returned.
  void shrink_to_fit() {
    if (size_ == 0) {
      release();
      return;
    }
    const std::size_t bytes = roundToPages(size_ * sizeof(T));
    if (bytes == mappedBytes_) return;
    void* mapped = mremap(items_, mappedBytes_, bytes, 0);
    if (mapped == MAP_FAILED) return;
    mappedBytes_ = bytes;
    capacity_ = bytes / sizeof(T);
  }

 private:
  static std::size_t roundToPages(std::size_t bytes) {
    const std::size_t page = memoryPageBytes();
    return (bytes + page - 1) / page * page;
  }
  void release() {
    if (items_ != nullptr) munmap(items_, mappedBytes_);
    items_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    mappedBytes_ = 0;
  }

  T* items_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t mappedBytes_ = 0;
};
