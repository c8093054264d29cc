#include "server/socket/WorkerPool.h"

#include "GatewaySupport.h"

#include <set>
#include <thread>

TEST(WorkerPool, NeverRunsMoreThreadsThanItsBoundReusesThemAndRunsWhatIsQueuedBeforeItEnds) {
    Gate gate;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::atomic<int> finished = 0;
    {
        Net::WorkerPool pool(3);
        for (int i = 0; i < 7; ++i)
            ASSERT_TRUE(pool.run([&] {
                {
                    std::lock_guard lock(mutex);
                    threads.insert(std::this_thread::get_id());
                }
                gate.Pass();
                ++finished;
            }));
        // Three are held at the gate; the other four wait for one of them.
        ASSERT_TRUE(gate.WaitForArrivals(3));
        EXPECT_EQ(pool.threadCount(), 3u);
        EXPECT_EQ(finished, 0);
        gate.Open();
    }
    EXPECT_EQ(finished, 7);
    EXPECT_EQ(threads.size(), 3u);
}
