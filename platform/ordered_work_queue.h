#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

// The number of worker threads that help on this machine: one a core, at most four.
inline int DefaultWorkerCount()
{
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

// Runs tasks on worker threads while the thread that hands them over goes on with its own work,
// and gives the results back to that thread in the order the tasks were handed over. At most
// `capacity` tasks are out at once (waiting, running, or done and not yet taken back), so the
// memory they hold stays bounded. Each worker has a workspace of its own, made by
// makeWorkspace on the worker's thread, which its tasks may use as they like.
//
// One thread hands tasks over and takes results back. Tasks must not throw.
template <typename Result, typename Workspace> class OrderedWorkQueue
{
public:
    using Task = std::function<Result(Workspace&)>;

    OrderedWorkQueue(int workers, std::size_t capacity, std::function<Workspace()> makeWorkspace)
        : m_capacity(std::max<std::size_t>(capacity, 1)), m_makeWorkspace(std::move(makeWorkspace))
    {
        for (int i = 0; i < std::max(workers, 1); ++i)
            m_workers.emplace_back([this] { work(); });
    }

    // Tasks not yet started are dropped, and those running are waited for; results not taken
    // back are destroyed.
    ~OrderedWorkQueue()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_waiting.clear();
        }
        m_taskWaiting.notify_all();
        for (std::thread& worker : m_workers)
            worker.join();
    }

    OrderedWorkQueue(const OrderedWorkQueue&) = delete;
    OrderedWorkQueue& operator=(const OrderedWorkQueue&) = delete;

    bool hasRoom() const
    {
        std::lock_guard lock(m_mutex);
        return m_nextIndex - m_nextToTake < m_capacity;
    }

    // Hands a task over; there must be room.
    void push(Task task)
    {
        {
            std::lock_guard lock(m_mutex);
            m_waiting.emplace_back(m_nextIndex++, std::move(task));
        }
        m_taskWaiting.notify_one();
    }

    // The result of the oldest task not taken back yet, once that task is done.
    std::optional<Result> takeNext()
    {
        std::lock_guard lock(m_mutex);
        const auto done = m_done.find(m_nextToTake);
        if (done == m_done.end())
            return std::nullopt;
        std::optional<Result> result(std::move(done->second));
        m_done.erase(done);
        ++m_nextToTake;
        return result;
    }

    // Whether every task handed over has been taken back.
    bool isEmpty() const
    {
        std::lock_guard lock(m_mutex);
        return m_nextToTake == m_nextIndex;
    }

    // Returns when the oldest task not taken back is done, or when none is out, or after `most`.
    void waitForNext(std::chrono::milliseconds most)
    {
        std::unique_lock lock(m_mutex);
        m_progress.wait_for(lock, most, [this] {
            return m_nextToTake == m_nextIndex || m_done.count(m_nextToTake) > 0;
        });
    }

private:
    void work()
    {
        Workspace workspace = m_makeWorkspace();
        for (;;) {
            std::pair<std::size_t, Task> next;
            {
                std::unique_lock lock(m_mutex);
                m_taskWaiting.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
                if (m_waiting.empty())
                    return;
                next = std::move(m_waiting.front());
                m_waiting.pop_front();
            }
            Result result = next.second(workspace);
            next.second = nullptr; // what the task held goes before its result is handed back
            {
                std::lock_guard lock(m_mutex);
                m_done.emplace(next.first, std::move(result));
            }
            m_progress.notify_all();
        }
    }

    const std::size_t m_capacity;
    const std::function<Workspace()> m_makeWorkspace;

    mutable std::mutex m_mutex;
    std::condition_variable m_taskWaiting; // for the workers
    std::condition_variable m_progress;    // for the thread that takes the results
    std::deque<std::pair<std::size_t, Task>> m_waiting;
    std::map<std::size_t, Result> m_done;
    std::size_t m_nextIndex = 0;
    std::size_t m_nextToTake = 0;
    bool m_stopping = false;

    std::vector<std::thread> m_workers; // last: they start once everything else is there
};
