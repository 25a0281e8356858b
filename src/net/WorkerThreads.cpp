#include "WorkerThreads.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <thread>

namespace tavio {

namespace {

class WorkerPool
{
public:
    static WorkerPool& instance()
    {
        static WorkerPool* const pool = new WorkerPool;
        return *pool;
    }

    void run(std::function<void()> job)
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        if (m_jobs.size() > m_waiting)
            std::thread([this] { serve(); }).detach();
        else
            m_wake.notify_one();
    }

private:
    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            ++m_waiting;
            const bool got = m_wake.wait_for(lock, std::chrono::seconds(30), [this] { return !m_jobs.empty(); });
            --m_waiting;
            if (!got)
                return;
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            lock.unlock();
            job();
            job = nullptr; // what the job holds goes on this side of the lock too
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    size_t m_waiting = 0;
};

} // namespace

void RunOnWorker(std::function<void()> job)
{
    WorkerPool::instance().run(std::move(job));
}

GuiCalls& GuiCalls::instance()
{
    static GuiCalls* const calls = new GuiCalls;
    return *calls;
}

GuiCalls::GuiCalls()
{
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        qFatal("cannot make an event descriptor: %s", strerror(errno));
    m_notifier = new QSocketNotifier(qintptr(m_wakeFd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &GuiCalls::runPending);
}

void GuiCalls::post(std::function<void()> call)
{
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        wake = m_calls.empty();
        m_calls.push_back(std::move(call));
    }
    if (wake) {
        const std::uint64_t one = 1;
        // The only failure is a counter at its limit, which still wakes the reader.
        while (::write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
}

void GuiCalls::callAndWait(std::function<void()> call)
{
    std::mutex mutex;
    std::condition_variable ran;
    bool done = false;
    post([&] {
        call();
        std::lock_guard lock(mutex);
        done = true;
        ran.notify_one();
    });
    std::unique_lock lock(mutex);
    ran.wait(lock, [&] { return done; });
}

void GuiCalls::runPending()
{
    std::uint64_t count = 0;
    while (::read(m_wakeFd, &count, sizeof count) < 0 && errno == EINTR) {
    }
    // One call at a time: a call may open a nested event loop, which runs the next
    // ones from here, still in order.
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(m_mutex);
            if (m_calls.empty())
                return;
            call = std::move(m_calls.front());
            m_calls.pop_front();
        }
        call();
    }
}

} // namespace tavio
