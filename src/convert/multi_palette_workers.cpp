#include "convert/multi_palette_workers.h"

namespace ts {

WorkerPool::WorkerPool(int threads) {
    if (threads <= 0) threads = int(std::thread::hardware_concurrency());
    if (threads < 1) threads = 1;
    if (threads > 64) threads = 64;
    for (int i = 1; i < threads; ++i) workers_.emplace_back([this] { workerLoop(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (auto& t : workers_) t.join();
}

void WorkerPool::work() {
    for (int i = next_.fetch_add(1); i < total_; i = next_.fetch_add(1)) (*body_)(i);
}

void WorkerPool::workerLoop() {
    unsigned seen = 0;
    while (true) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
        }
        work();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++finished_;
        }
        done_.notify_one();
    }
}

void WorkerPool::run(int n, const std::function<void(int)>& body) {
    if (n <= 0) return;
    if (workers_.empty() || n == 1) {
        for (int i = 0; i < n; ++i) body(i);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        body_ = &body;
        total_ = n;
        next_.store(0);
        finished_ = 0;
        ++generation_;
    }
    wake_.notify_all();
    work();
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return finished_ == int(workers_.size()); });
    body_ = nullptr;
}

}  // namespace ts
