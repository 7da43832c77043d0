#include "core/common/reserved_array.h"

#include <sys/mman.h>

#include <cstdint>

namespace vantora {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kPage = 4096;

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

}  // namespace

ReservedRegion::ReservedRegion(std::size_t bytes) {
  if (bytes == 0) return;
  // A large region gets one huge page more than needed so that the data can start on a
  // 2 MiB boundary; a small one is not worth huge pages.
  const bool huge = bytes >= kHugePage;
  size_ = RoundUp(bytes, huge ? kHugePage : kPage);
  mappingSize_ = huge ? size_ + kHugePage : size_;
  mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE,
                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapping_ == MAP_FAILED) {
    mapping_ = nullptr;
    throw std::bad_alloc();
  }
  data_ = mapping_;
  if (huge) {
    data_ = reinterpret_cast<void*>(RoundUp(reinterpret_cast<std::uintptr_t>(mapping_), kHugePage));
    madvise(data_, size_, MADV_HUGEPAGE);
  }
}

ReservedRegion::~ReservedRegion() {
  if (mapping_ != nullptr) munmap(mapping_, mappingSize_);
}

}  // namespace vantora
