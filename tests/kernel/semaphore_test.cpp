// Semaphores: binary, not re-entrant, released by any thread; a release of a
// free semaphore is refused; the allocation failure of the record.
#include "pixbase/semaphore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "raise_recorder.h"
#include "services/test_hooks.h"

namespace {

class SemaphoreTest : public lumaview::testing::RaiseRecorderTest {};

TEST_F(SemaphoreTest, NewSemaphoreIsFreeAndComplete) {
  SemaphoreRecord* semaphore = NewSemaphore();
  ASSERT_NE(semaphore, nullptr);
  EXPECT_NE(semaphore->handle, nullptr);
  EXPECT_EQ(semaphore->signature, 0xCAFEu);
  EXPECT_EQ(LockSemaphore(semaphore), 1);
  EXPECT_EQ(UnlockSemaphore(semaphore), 1);
  DeleteSemaphore(semaphore);
}

TEST_F(SemaphoreTest, UnlockOfAFreeSemaphoreIsRefusedAndTheCountStaysOne) {
  SemaphoreRecord* semaphore = NewSemaphore();
  ASSERT_NE(semaphore, nullptr);
  EXPECT_EQ(UnlockSemaphore(semaphore), 0);
  EXPECT_EQ(UnlockSemaphore(semaphore), 0);
  // Still exactly one taker: the second one has to wait.
  EXPECT_EQ(LockSemaphore(semaphore), 1);
  std::atomic<bool> second_taken{false};
  std::thread second([&] {
    EXPECT_EQ(LockSemaphore(semaphore), 1);
    second_taken = true;
    EXPECT_EQ(UnlockSemaphore(semaphore), 1);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(second_taken);
  EXPECT_EQ(UnlockSemaphore(semaphore), 1);
  second.join();
  EXPECT_TRUE(second_taken);
  DeleteSemaphore(semaphore);
}

TEST_F(SemaphoreTest, AnotherThreadMayRelease) {
  SemaphoreRecord* semaphore = NewSemaphore();
  ASSERT_NE(semaphore, nullptr);
  EXPECT_EQ(LockSemaphore(semaphore), 1);
  int released = -1;
  std::thread other([&] { released = UnlockSemaphore(semaphore); });
  other.join();
  EXPECT_EQ(released, 1);
  EXPECT_EQ(LockSemaphore(semaphore), 1);
  EXPECT_EQ(UnlockSemaphore(semaphore), 1);
  DeleteSemaphore(semaphore);
}

TEST_F(SemaphoreTest, ExcludesConcurrentWork) {
  SemaphoreRecord* semaphore = NewSemaphore();
  ASSERT_NE(semaphore, nullptr);
  int shared = 0;  // unguarded but for the semaphore: a race would be lost increments
  auto work = [&] {
    for (int i = 0; i < 2000; ++i) {
      LockSemaphore(semaphore);
      int seen = shared;
      std::this_thread::yield();
      shared = seen + 1;
      UnlockSemaphore(semaphore);
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(shared, 4000);
  DeleteSemaphore(semaphore);
}

TEST_F(SemaphoreTest, NullRecordsAreNoLocks) {
  DeleteSemaphore(nullptr);
  EXPECT_EQ(LockSemaphore(nullptr), 0);
  EXPECT_EQ(UnlockSemaphore(nullptr), 0);
  EXPECT_TRUE(raised().empty());
}

TEST_F(SemaphoreTest, RaisesWhenTheRecordCannotBeAllocated) {
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(NewSemaphore(), nullptr);
  EXPECT_TRUE(RaisedOutOfMemory("Unable to allocate semaphore_info info"));
}

}  // namespace
