#pragma once

#include "HttpRequest.h"

#include <QByteArray>
#include <QPointer>
#include <QObject>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>


namespace tavio {

class AtomicFile;
class THTTPGet;

// The worker of one THTTPGet transfer. The object itself belongs to the GUI thread:
// progress calls are run there through it while run() waits, and it completes the
// transfer there once run() has ended, then frees itself.
class THTTPGetThread final : public QObject
{
    Q_OBJECT
public:
    // Bytes handed to each progress call: the platform's read size.
    static constexpr int ChunkSize = 1025;
    // A string result is meant for short texts; a larger body fails.
    static constexpr int MaxStringBytes = 16 * 1024 * 1024;
    static constexpr size_t ReportBatch = 64;
    static constexpr int ReportDelayMs = 20;

    THTTPGetThread(THTTPGet* owner, HttpRequest request);
    ~THTTPGetThread() override;
    Q_DISABLE_COPY_MOVE(THTTPGetThread)

    // GUI thread.
    void cancel();
    void detachOwner();
    const HttpRequest& request() const { return m_req; }
    // Valid once run() has ended.
    bool outcome() const { return m_outcome && !m_cancelled; }
    int totalSize() const { return m_totalSize; }
    // The final response's status code and reason phrase; 0 when no response came.
    int status() const { return m_status; }
    QByteArray reason() const { return m_reason; }
    QString resultText() const;
    // Puts the downloaded file in place; false when that fails.
    bool commitFile();
    void discardFile();

    // Runs the transfer on a worker thread.
    void start();

private:
    void run();
    using Clock = std::chrono::steady_clock;

    void transfer();
    bool responseReady();
    bool deliverChunk(QByteArrayView chunk);
    // Progress calls are made in batches: the worker waits for the GUI thread once
    // for up to ReportBatch chunks, or for what came within ReportDelayMs.
    bool reportDue() const;
    bool reportProgress();
    void runReports(const std::vector<int>& reports, int total);
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    void complete();

    static size_t headerCallback(char* data, size_t size, size_t count, void* self);
    static size_t writeCallback(char* data, size_t size, size_t count, void* self);
    size_t onHeader(QByteArrayView line);
    size_t onBody(QByteArrayView data);

    const HttpRequest m_req;
    QPointer<THTTPGet> m_owner; // GUI thread only
    std::atomic<bool> m_stop{false};
    bool m_cancelled = false; // GUI thread only
    std::unique_ptr<AtomicFile> m_file;

    // Worker state; read by the GUI thread only in progress calls and after run().
    bool m_outcome = false;
    bool m_failed = false;  // the transfer was ended on this side
    bool m_reading = false; // the final response's body is being taken
    bool m_lengthFound = false;
    QByteArray m_lengthText;
    bool m_hasLocation = false;
    int m_status = 0;
    QByteArray m_reason;
    int m_totalSize = 0;
    int m_bytesRead = 0;
    QByteArray m_pending;
    std::vector<int> m_reports; // byte counts of chunks not yet reported
    Clock::time_point m_reportsSince;
    QByteArray m_body;
    Clock::time_point m_lastActivity;
    void* m_easy = nullptr; // the running libcurl handle, for the header callback
};

} // namespace tavio
