#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

namespace vantora {

// Reserves address space for `capacity` elements without committing memory: pages
// become resident only when first written, so memory follows the data while earlier
// elements never move. The region asks for transparent huge pages, which makes the
// first touch of a large table several times cheaper.
class ReservedRegion {
 public:
  explicit ReservedRegion(std::size_t bytes);
  ReservedRegion(const ReservedRegion&) = delete;
  ReservedRegion& operator=(const ReservedRegion&) = delete;
  ~ReservedRegion();

  void* data() const { return data_; }

 private:
  void* mapping_ = nullptr;
  std::size_t mappingSize_ = 0;
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

template <typename T>
class ReservedArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "elements live in raw zero-filled pages");

 public:
  explicit ReservedArray(std::size_t capacity)
      : region_(capacity * sizeof(T)), capacity_(capacity) {}

  std::size_t capacity() const { return capacity_; }
  T* data() { return static_cast<T*>(region_.data()); }
  const T* data() const { return static_cast<const T*>(region_.data()); }
  T& operator[](std::size_t i) { return data()[i]; }
  const T& operator[](std::size_t i) const { return data()[i]; }

 private:
  ReservedRegion region_;
  std::size_t capacity_;
};

}  // namespace vantora
