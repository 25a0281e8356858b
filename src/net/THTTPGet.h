#pragma once

#include <QObject>
#include <QString>

namespace tavio {

class THTTPGetThread;

// Fetches one HTTP/1.0 resource on a worker thread and hands the body over as a
// file or as a string. Every event is raised on the thread that owns the component
// (the GUI thread); while an OnProgress handler runs, the worker waits for it.
//
// One transfer at a time: a fetch while a transfer runs, or from inside the
// component's own completion handler, does nothing. The settings are copied when a
// transfer starts, so changing a property affects only the next transfer; so is
// whether OnProgress has a receiver. Connect OnProgress directly (the default for
// a receiver on the GUI thread), or the worker does not wait for it.
//
// A file transfer writes to a temporary file beside FileName and puts it in place
// only when the transfer succeeded: a failed or cancelled download leaves no partial
// file and never replaces an existing one.
class THTTPGet final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString AcceptTypes READ AcceptTypes WRITE setAcceptTypes)
    Q_PROPERTY(QString Agent READ Agent WRITE setAgent)
    Q_PROPERTY(bool BinaryData READ BinaryData WRITE setBinaryData)
    Q_PROPERTY(QString URL READ URL WRITE setURL)
    Q_PROPERTY(bool UseCache READ UseCache WRITE setUseCache)
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QString UserName READ UserName WRITE setUserName)
    Q_PROPERTY(QString Password READ Password WRITE setPassword)
    Q_PROPERTY(QString PostQuery READ PostQuery WRITE setPostQuery)
    Q_PROPERTY(QString Referer READ Referer WRITE setReferer)
    Q_PROPERTY(bool WaitThread READ WaitThread WRITE setWaitThread)

public:
    // A transfer that receives nothing at all for this long fails.
    static constexpr int DefaultStallTimeoutMs = 60 * 1000;

    explicit THTTPGet(QObject* owner = nullptr);
    // Cancels a running transfer; none of its events is raised any more.
    ~THTTPGet() override;
    Q_DISABLE_COPY_MOVE(THTTPGet)

    // Media types of the Accept header; empty sends none.
    QString AcceptTypes() const { return m_AcceptTypes; }
    void setAcceptTypes(const QString& v) { m_AcceptTypes = v; }
    // User-Agent text; empty sends none.
    QString Agent() const { return m_Agent; }
    void setAgent(const QString& v) { m_Agent = v; }
    // True: a response without Content-Length fails without its body being read.
    bool BinaryData() const { return m_BinaryData; }
    void setBinaryData(bool v) { m_BinaryData = v; }
    // Host (optionally ":port", else 80) and path, optionally after "http://".
    QString URL() const { return m_URL; }
    void setURL(const QString& v) { m_URL = v; }
    // Kept for the callers' sake: there is no local cache, every request goes out.
    bool UseCache() const { return m_UseCache; }
    void setUseCache(bool v) { m_UseCache = v; }
    // Target of a file transfer; a relative name is taken against the current
    // directory at the moment the transfer starts.
    QString FileName() const { return m_FileName; }
    void setFileName(const QString& v) { m_FileName = v; }
    // Sent as Basic credentials when UserName is not empty.
    QString UserName() const { return m_UserName; }
    void setUserName(const QString& v) { m_UserName = v; }
    QString Password() const { return m_Password; }
    void setPassword(const QString& v) { m_Password = v; }
    // Not empty: the request is a POST with this text (Windows-1250) as its body.
    QString PostQuery() const { return m_PostQuery; }
    void setPostQuery(const QString& v) { m_PostQuery = v; }
    QString Referer() const { return m_Referer; }
    void setReferer(const QString& v) { m_Referer = v; }
    // True: the fetch operations run the event loop until the transfer has completed.
    bool WaitThread() const { return m_WaitThread; }
    void setWaitThread(bool v) { m_WaitThread = v; }

    int stallTimeout() const { return m_stallTimeoutMs; }
    void setStallTimeout(int ms) { m_stallTimeoutMs = ms; }

    void FetchToFile();
    void FetchToString();
    // Stops the running transfer; it still completes, through OnError.
    void CancelFetch();

    // A transfer is running, or its completion handler has not returned yet.
    bool isBusy() const { return m_worker != nullptr; }
    // Whether the last completed transfer succeeded.
    bool LastOutcome() const { return m_LastOutcome; }
    // The HTTP status of the last completed transfer ("404 Not Found"); empty when
    // no response arrived. A reply outside 2xx ends a transfer with OnError.
    QString LastStatus() const { return m_LastStatus; }
    bool LastStatusFailed() const { return m_LastStatusFailed; }

Q_SIGNALS:
    // After every chunk read. Sender is the worker, not the component; TotalSize is
    // the announced length (0 when none was announced), Readed the bytes so far.
    void OnProgress(QObject* Sender, int TotalSize, int Readed);
    // Exactly one of the following per transfer, with the component as Sender.
    // FileName as it was given; FileSize the announced length.
    void OnDoneFile(QObject* Sender, const QString& FileName, int FileSize);
    // The body, read as Windows-1250.
    void OnDoneString(QObject* Sender, const QString& Result);
    void OnError(QObject* Sender);

private:
    friend class THTTPGetThread;
    void startFetch(bool toFile);
    void TransferDone(THTTPGetThread* worker);

    QString m_AcceptTypes = QStringLiteral("*/*");
    QString m_Agent = QStringLiteral("HTTPGet");
    bool m_BinaryData = false;
    QString m_URL;
    bool m_UseCache = false;
    QString m_FileName;
    QString m_UserName;
    QString m_Password;
    QString m_PostQuery;
    QString m_Referer;
    bool m_WaitThread = false;
    int m_stallTimeoutMs = DefaultStallTimeoutMs;

    THTTPGetThread* m_worker = nullptr;
    bool m_LastOutcome = false;
    QString m_LastStatus;
    bool m_LastStatusFailed = false;
};

} // namespace tavio
