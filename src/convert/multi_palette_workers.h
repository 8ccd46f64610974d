#pragma once
// A small pool of worker threads for loops whose iterations are independent. Each iteration
// writes only its own results, so what a loop computes never depends on the number of threads.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ts {

class WorkerPool {
public:
    // threads <= 0: one per processor. The calling thread takes part, so threads - 1 are started.
    explicit WorkerPool(int threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int threadCount() const { return int(workers_.size()) + 1; }
    // Runs body(i) for i in 0..n-1 and returns when all have run.
    void run(int n, const std::function<void(int)>& body);

private:
    void workerLoop();
    void work();

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(int)>* body_ = nullptr;
    int total_ = 0;
    std::atomic<int> next_{0};
    int finished_ = 0;   // workers done with the current generation
    unsigned generation_ = 0;
    bool stop_ = false;
};

}  // namespace ts
