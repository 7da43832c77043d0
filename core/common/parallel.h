#pragma once

#include <algorithm>
#include <thread>
#include <vector>

namespace vantora {

// How many threads a loop over `items` should use: one per core (at most `limit`), but
// never so many that a thread gets fewer than `minimumPerThread` items, since starting
// a thread costs more than a small share of the work.
inline int ThreadCount(long items, long minimumPerThread, int limit) {
  const long cores = std::max(1u, std::thread::hardware_concurrency());
  return int(std::clamp(items / std::max(1L, minimumPerThread), 1L, std::min<long>(cores, limit)));
}

// Runs body(part, begin, end) on `parts` consecutive slices of [0, count): the first on
// the calling thread, the others on threads of their own, and returns when all are
// done. Slices must not write what another slice reads or writes.
template <typename Body>
void ForEachSlice(long count, int parts, const Body& body) {
  auto begin = [&](int p) { return count * p / parts; };
  std::vector<std::thread> threads;
  threads.reserve(std::size_t(parts - 1));
  for (int p = 1; p < parts; ++p) {
    threads.emplace_back([&body, &begin, p] { body(p, begin(p), begin(p + 1)); });
  }
  body(0, begin(0), begin(1));
  for (std::thread& t : threads) t.join();
}

}  // namespace vantora
