#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

class QSocketNotifier;

// How the download workers and the GUI thread hand work to each other. Both ways go
// through the program's own locks and an event descriptor, never through the
// toolkit's cross-thread event queue: every hand-over is then visible to the thread
// sanitizer, and the order of calls is the order they were handed over.
namespace tavio {

// Runs a job on one of a few threads kept for a while between jobs: a chain of small
// files does not start a thread for each. The threads are detached and never joined,
// so leaving the program never waits for a transfer.
void RunOnWorker(std::function<void()> job);

// Calls a worker makes on the GUI thread, run there in the order they were made.
class GuiCalls final : public QObject
{
    Q_OBJECT
public:
    // Made on first use, which must be on the GUI thread; never destroyed.
    static GuiCalls& instance();

    // Any thread: runs the call on the GUI thread and returns at once.
    void post(std::function<void()> call);
    // A worker thread: runs the call on the GUI thread and waits until it has returned.
    void callAndWait(std::function<void()> call);

private:
    GuiCalls();
    void runPending();

    std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
    int m_wakeFd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace tavio
