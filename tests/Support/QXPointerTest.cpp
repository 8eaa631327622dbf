#include "QXPointer.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "QXLock.h"

namespace {

struct Counted {
  explicit Counted(int* deletions) : deletions(deletions) {}
  virtual ~Counted() { ++*deletions; }
  int* deletions;
  int value = 0;
};

}  // namespace

// Whether the last share is destroyed or assigned another object; assigning
// the object a pointer already holds changes nothing.
TEST(QXPointer, DeletesHeldObjectOnceWhenLastShareGoes) {
  int deletions = 0;
  auto first = std::make_unique<QXMutablePointer<Counted>>(new Counted(&deletions));
  QXPointer<Counted> second = *first;
  (*first)->value = 5;
  EXPECT_EQ(second->value, 5);
  second = *first;
  second = second;
  EXPECT_EQ(second.ReferenceCount(), 2);
  first.reset();
  EXPECT_EQ(deletions, 0);
  second = QXPointer<Counted>();
  EXPECT_EQ(deletions, 1);
}

TEST(QXPointer, CountsStayExactAcrossThreads) {
  int deletions = 0;
  QXMutablePointer<Counted> shared(new Counted(&deletions));
  auto churn = [&shared] {
    for (int i = 0; i < 2000; i++) {
      QXPointer<Counted> copy = shared;
      QXPointer<Counted> other;
      other = copy;
    }
  };
  std::thread t1(churn), t2(churn);
  t1.join();
  t2.join();
  EXPECT_EQ(shared.ReferenceCount(), 1);
  EXPECT_EQ(deletions, 0);
}

TEST(QXLocked, IncrementsFromTwoThreadsAreNotLost) {
  QXLocked<int> counter;
  counter = 0;
  auto add = [&counter] {
    for (int i = 0; i < 5000; i++) counter++;
  };
  std::thread t1(add), t2(add);
  t1.join();
  t2.join();
  EXPECT_EQ(static_cast<int>(counter), 10000);
}
