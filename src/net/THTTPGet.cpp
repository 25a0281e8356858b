#include "THTTPGet.h"

#include "THTTPGetThread.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaMethod>
#include <QPointer>

namespace tavio {

THTTPGet::THTTPGet(QObject* owner)
    : QObject(owner)
{
}

THTTPGet::~THTTPGet()
{
    // The worker ends at its next check and frees itself; it no longer knows us.
    if (m_worker)
        m_worker->detachOwner();
}

void THTTPGet::FetchToFile()
{
    startFetch(true);
}

void THTTPGet::FetchToString()
{
    startFetch(false);
}

void THTTPGet::CancelFetch()
{
    if (m_worker)
        m_worker->cancel();
}

void THTTPGet::startFetch(bool toFile)
{
    if (m_worker)
        return;
    HttpRequest r;
    r.AcceptTypes = m_AcceptTypes;
    r.Agent = m_Agent;
    r.URL = m_URL;
    r.FileName = m_FileName;
    if (toFile && !m_FileName.isEmpty())
        r.targetPath = QFileInfo(m_FileName).absoluteFilePath();
    r.UserName = m_UserName;
    r.Password = m_Password;
    r.PostQuery = m_PostQuery;
    r.Referer = m_Referer;
    r.BinaryData = m_BinaryData;
    r.UseCache = m_UseCache;
    r.toFile = toFile;
    // Without a progress handler the worker never stops to wait for the GUI thread.
    r.hasProgress = isSignalConnected(QMetaMethod::fromSignal(&THTTPGet::OnProgress));
    r.stallTimeoutMs = m_stallTimeoutMs;

    m_worker = new THTTPGetThread(this, std::move(r));
    m_worker->start();

    if (m_WaitThread) {
        const QPointer<THTTPGet> self(this);
        while (self && self->m_worker)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void THTTPGet::TransferDone(THTTPGetThread* worker)
{
    const HttpRequest& r = worker->request();
    bool ok = worker->outcome();
    if (r.toFile) {
        if (ok)
            ok = worker->commitFile();
        else
            worker->discardFile();
    }
    m_LastOutcome = ok;
    const int status = worker->status();
    m_LastStatus = status == 0 ? QString()
                               : QString(QString::number(status) + QLatin1Char(' ') + QString::fromLatin1(worker->reason())).trimmed();
    m_LastStatusFailed = status != 0 && (status < 200 || status > 299);

    // The component stays busy until the handler has returned, so a fetch started
    // from the handler itself is ignored.
    const QPointer<THTTPGet> self(this);
    if (!ok)
        Q_EMIT OnError(this);
    else if (r.toFile)
        Q_EMIT OnDoneFile(this, r.FileName, worker->totalSize());
    else
        Q_EMIT OnDoneString(this, worker->resultText());
    if (self && m_worker == worker)
        m_worker = nullptr;
}

} // namespace tavio
