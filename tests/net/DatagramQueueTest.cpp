// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <deque>

#include "net/DatagramQueue.h"

namespace tb {
namespace {

TQueuedDatagram Of(std::size_t size, int port = 0) {
  return TQueuedDatagram{std::vector<char>(size, 'x'), 0, port, nullptr};
}

// The bound counts every datagram's bookkeeping, so empty ones fill it too;
// a wake-up is asked for only when the taker had found the queue empty.
TEST(DatagramQueueTest, BoundDropCountAndWakeUps) {
  using P = TDatagramQueue::Pushed;
  constexpr std::size_t Charge = TDatagramQueue::ChargePerDatagram;
  TDatagramQueue queue(3 * Charge + 100);
  EXPECT_EQ(queue.Push(Of(100, 1)), P::QueuedWake);
  EXPECT_EQ(queue.Push(Of(0, 2)), P::Queued);
  EXPECT_EQ(queue.Push(Of(1, 3)), P::Dropped) << "one byte over the bound";
  EXPECT_EQ(queue.Push(Of(0, 4)), P::Queued);
  EXPECT_EQ(queue.Push(Of(0, 5)), P::Dropped);
  EXPECT_EQ(queue.Dropped(), 2U);
  EXPECT_EQ(queue.Charged(), queue.Limit());

  std::deque<TQueuedDatagram> batch;
  ASSERT_TRUE(queue.Take(batch, 2, 0));
  ASSERT_EQ(batch.size(), 2U);
  EXPECT_EQ(batch[0].sourcePort, 1);
  EXPECT_EQ(batch[1].sourcePort, 2);
  EXPECT_EQ(queue.Push(Of(0, 6)), P::Dropped) << "taken but not handled still counts";
  ASSERT_TRUE(queue.Take(batch, 2, 100 + 2 * Charge));
  EXPECT_EQ(batch.at(0).sourcePort, 4);
  EXPECT_EQ(queue.Push(Of(0, 7)), P::Queued) << "the taker is still at work";
  ASSERT_TRUE(queue.Take(batch, 2, Charge));
  EXPECT_FALSE(queue.Take(batch, 2, Charge));
  EXPECT_EQ(queue.Charged(), 0U);
  EXPECT_EQ(queue.Push(Of(0, 8)), P::QueuedWake) << "the taker gave up: wake it";

  queue.Close();
  EXPECT_FALSE(queue.Take(batch, 2, 0)) << "nothing is taken once closed";
  EXPECT_EQ(queue.Push(Of(0, 9)), P::Closed);
  EXPECT_EQ(queue.Dropped(), 3U);
}

}  // namespace
}  // namespace tb
