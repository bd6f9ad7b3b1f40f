// Runs in a process of its own so that the pictures are first drawn here, by
// several threads at once.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "art/art.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"

namespace {

const art::Image* Resolve(const art::CatalogEntry& entry) {
  return entry.size == 0 ? art::Find(entry.kind, entry.id) : art::FindIcon(entry.id, entry.size);
}

TEST(PictureThreads, FirstUseFromManyThreadsGivesOnePictureEach) {
  constexpr int kThreads = 8;
  const std::vector<art::CatalogEntry>& entries = art::Catalog();
  std::vector<std::vector<const art::Image*>> seen(kThreads, std::vector<const art::Image*>(entries.size()));
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      // Each thread walks the list from a different place so that different
      // pictures are first asked for at the same moment.
      for (size_t i = 0; i < entries.size(); ++i) {
        size_t index = (i + size_t(t) * 3) % entries.size();
        seen[size_t(t)][index] = Resolve(entries[index]);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (size_t i = 0; i < entries.size(); ++i) {
    const art::Image* image = Resolve(entries[i]);
    ASSERT_NE(image, nullptr) << entries[i].name;
    EXPECT_GT(image->width, 0);
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(seen[size_t(t)][i], image) << entries[i].name;
  }
}

}  // namespace
