#include "common/reserved_array.h"

#include <sys/mman.h>

#include <cstdint>

namespace vantora {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

}  // namespace

ReservedRegion::ReservedRegion(std::size_t bytes) : size_(RoundUp(bytes, kHugePage)) {
  if (size_ == 0) return;
  // Map one huge page more than needed so the data can start on a 2 MiB boundary.
  mappingSize_ = size_ + kHugePage;
  mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE,
                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapping_ == MAP_FAILED) {
    mapping_ = nullptr;
    throw std::bad_alloc();
  }
  const auto start = reinterpret_cast<std::uintptr_t>(mapping_);
  data_ = reinterpret_cast<void*>(RoundUp(start, kHugePage));
  madvise(data_, size_, MADV_HUGEPAGE);
}

ReservedRegion::~ReservedRegion() {
  if (mapping_ != nullptr) munmap(mapping_, mappingSize_);
}

}  // namespace vantora
