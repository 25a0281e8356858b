#include "THTTPGetThread.h"

#include "Cp1250.h"
#include "AtomicSave.h"
#include "THTTPGet.h"

#include "WorkerThreads.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <curl/curl.h>

#include <climits>
#include <mutex>
#include <utility>

Q_LOGGING_CATEGORY(lcHttp, "tavio.http", QtInfoMsg)

namespace tavio {

namespace {

// How often the worker looks at the stop request and the stall clock while it
// waits for the network.
constexpr int PollMs = 25;

void initCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isRedirect(long code)
{
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

struct CurlHandles
{
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    curl_slist* headers = nullptr;
    bool added = false;
    ~CurlHandles()
    {
        if (added)
            curl_multi_remove_handle(multi, easy);
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
        if (headers)
            curl_slist_free_all(headers);
    }
};

} // namespace

THTTPGetThread::THTTPGetThread(THTTPGet* owner, HttpRequest request)
    : m_req(std::move(request))
    , m_owner(owner)
{
    initCurl();
    if (m_req.toFile)
        m_file = std::make_unique<AtomicFile>(m_req.targetPath);
}

THTTPGetThread::~THTTPGetThread() = default;

void THTTPGetThread::cancel()
{
    m_cancelled = true;
    m_stop = true;
}

void THTTPGetThread::detachOwner()
{
    m_owner = nullptr;
    m_stop = true;
}

QString THTTPGetThread::resultText() const
{
    return cp1250::toUnicode(m_body);
}

bool THTTPGetThread::commitFile()
{
    // The commit looks at the last flush and the sync too: a full disk or a size
    // limit met at the end fails the transfer and leaves the previous file.
    FileError error;
    const bool ok = m_file && m_file->isOpen() && m_file->commit(&error);
    if (!ok && m_file)
        qCWarning(lcHttp) << "cannot put the download in place:" << m_file->path() << error.message;
    m_file.reset();
    return ok;
}

void THTTPGetThread::discardFile()
{
    // An uncommitted file removes its temporary file when it goes.
    m_file.reset();
}

void THTTPGetThread::start()
{
    // Made here, on the GUI thread, before the worker needs it.
    GuiCalls& gui = GuiCalls::instance();
    RunOnWorker([this, &gui] {
        run();
        // The last touch of this object on the worker's side.
        gui.post([this] { complete(); });
    });
}

void THTTPGetThread::complete()
{
    // The last chunks' progress calls come before the outcome, and a handler may
    // still stop the transfer with them.
    runReports(std::exchange(m_reports, {}), m_totalSize);
    if (THTTPGet* owner = m_owner)
        owner->TransferDone(this);
    else
        discardFile();
    deleteLater();
}

void THTTPGetThread::run()
{
    try {
        transfer();
    } catch (...) {
        m_outcome = false;
    }
}

void THTTPGetThread::transfer()
{
    const SplitUrlResult parts = SplitUrl(m_req.URL);
    if (stopRequested())
        return;
    const std::optional<QByteArray> address = RequestAddress(parts.host, parts.path);
    if (!address) {
        qCDebug(lcHttp) << "not an address:" << m_req.URL;
        return;
    }

    char errorText[CURL_ERROR_SIZE] = {}; // declared first: libcurl may write to it until cleanup
    CurlHandles h;
    h.easy = curl_easy_init();
    h.multi = curl_multi_init();
    if (!h.easy || !h.multi)
        return;
    CURL* easy = h.easy;

    curl_easy_setopt(easy, CURLOPT_URL, address->constData());
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    // Redirects are followed the way the platform's HTTP client follows them, over
    // plain HTTP only.
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A cancel during a name lookup must not wait for the lookup to finish.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);

    const QByteArray agent = HeaderValue(m_req.Agent);
    if (!agent.isEmpty())
        curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.constData());
    const QByteArray referer = HeaderValue(m_req.Referer);
    if (!referer.isEmpty())
        curl_easy_setopt(easy, CURLOPT_REFERER, referer.constData());
    const QByteArray accept = HeaderValue(m_req.AcceptTypes);
    // "Accept:" without a value takes libcurl's own default line out.
    const QByteArray acceptLine = accept.isEmpty() ? QByteArray("Accept:") : QByteArray("Accept: " + accept);
    h.headers = curl_slist_append(h.headers, acceptLine.constData());
    const QByteArray post = cp1250::fromUnicode(m_req.PostQuery);
    if (!post.isEmpty()) {
        h.headers = curl_slist_append(h.headers, "Content-Type: application/x-www-form-urlencoded");
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, long(post.size()));
        curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, post.constData());
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, h.headers);
    const QByteArray user = cp1250::fromUnicode(m_req.UserName);
    const QByteArray password = cp1250::fromUnicode(m_req.Password);
    if (!user.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
        curl_easy_setopt(easy, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &THTTPGetThread::headerCallback);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &THTTPGetThread::writeCallback);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    m_easy = easy;

    if (curl_multi_add_handle(h.multi, easy) != CURLM_OK)
        return;
    h.added = true;

    // The multi interface lets the worker look at the stop request every few
    // milliseconds instead of sitting in a blocking call until the server answers.
    m_lastActivity = Clock::now();
    const auto stallLimit = std::chrono::milliseconds(m_req.stallTimeoutMs);
    bool done = false;
    CURLcode result = CURLE_OK;
    for (;;) {
        if (stopRequested()) {
            m_failed = true;
            break;
        }
        int running = 0;
        if (curl_multi_perform(h.multi, &running) != CURLM_OK) {
            m_failed = true;
            break;
        }
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(h.multi, &left)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || running == 0 || m_failed)
            break;
        if (m_req.stallTimeoutMs > 0 && Clock::now() - m_lastActivity > stallLimit) {
            qCDebug(lcHttp) << "no data for" << m_req.stallTimeoutMs << "ms:" << m_req.URL;
            m_failed = true;
            break;
        }
        if (reportDue() && !reportProgress())
            break;
        curl_multi_poll(h.multi, nullptr, 0, PollMs, nullptr);
    }
    m_easy = nullptr;

    if (m_failed || !done || result != CURLE_OK || !m_reading) {
        if (done && result != CURLE_OK)
            qCDebug(lcHttp) << m_req.URL << curl_easy_strerror(result) << errorText;
        m_outcome = false;
        return;
    }
    // The last read of the body is the part short of a whole chunk.
    // The progress calls still owed are made by the completion step, before it
    // puts the file in place, in the same trip to the GUI thread.
    if (!m_pending.isEmpty() && !deliverChunk(m_pending)) {
        m_outcome = false;
        return;
    }
    m_pending.clear();
    if (m_req.toFile)
        m_outcome = m_totalSize == m_bytesRead;
    else
        m_outcome = m_bytesRead != 0 && (!m_lengthFound || m_bytesRead == m_totalSize);
}

size_t THTTPGetThread::headerCallback(char* data, size_t size, size_t count, void* self)
{
    const size_t n = size * count;
    return static_cast<THTTPGetThread*>(self)->onHeader(QByteArrayView(data, qsizetype(n))) == n ? n : 0;
}

size_t THTTPGetThread::writeCallback(char* data, size_t size, size_t count, void* self)
{
    const size_t n = size * count;
    return static_cast<THTTPGetThread*>(self)->onBody(QByteArrayView(data, qsizetype(n))) == n ? n : 0;
}

size_t THTTPGetThread::onHeader(QByteArrayView line)
{
    const size_t n = size_t(line.size());
    m_lastActivity = Clock::now();
    if (m_reading)
        return n; // trailers
    const QByteArrayView text = line.trimmed();
    if (text.startsWith("HTTP/")) {
        // Each response of a redirect chain brings its own headers.
        m_lengthFound = false;
        m_lengthText.clear();
        m_hasLocation = false;
        // "HTTP/1.0 404 Not Found": the code, then the reason.
        const QList<QByteArray> parts = text.toByteArray().split(' ');
        m_status = parts.value(1).toInt();
        m_reason = parts.size() > 2 ? text.toByteArray().sliced(parts[0].size() + parts[1].size() + 2).trimmed()
                                    : QByteArray();
        return n;
    }
    if (text.isEmpty()) {
        long code = 0;
        curl_easy_getinfo(static_cast<CURL*>(m_easy), CURLINFO_RESPONSE_CODE, &code);
        if ((code >= 100 && code < 200) || (isRedirect(code) && m_hasLocation))
            return n; // libcurl goes on to the next response and skips this body
        return responseReady() ? n : 0;
    }
    const qsizetype colon = text.indexOf(':');
    if (colon <= 0)
        return n;
    const QByteArrayView name = text.first(colon).trimmed();
    const QByteArrayView value = text.sliced(colon + 1).trimmed();
    if (name.compare("Content-Length", Qt::CaseInsensitive) == 0 && !m_lengthFound) {
        m_lengthFound = true;
        m_lengthText = value.toByteArray();
    } else if (name.compare("Location", Qt::CaseInsensitive) == 0 && !value.isEmpty()) {
        m_hasLocation = true;
    }
    return n;
}

bool THTTPGetThread::responseReady()
{
    if (stopRequested()) {
        m_failed = true;
        return false;
    }
    if (m_lengthFound) {
        bool ok = !m_lengthText.isEmpty();
        for (char c : std::as_const(m_lengthText))
            ok = ok && c >= '0' && c <= '9';
        const int length = ok ? m_lengthText.toInt(&ok, 10) : 0;
        if (!ok) {
            qCDebug(lcHttp) << "Content-Length is no number:" << m_lengthText;
            m_failed = true;
            return false;
        }
        m_totalSize = length;
    }
    m_outcome = m_lengthFound;
    if (stopRequested() || (!m_lengthFound && m_req.BinaryData)) {
        m_failed = true;
        return false;
    }
    // An error page is no content: its body never becomes the file or the text.
    if (m_status < 200 || m_status > 299) {
        qCDebug(lcHttp) << "status" << m_status << m_reason << m_req.URL;
        m_outcome = false;
        m_failed = true;
        return false;
    }
    m_bytesRead = 0;
    m_body.clear();
    if (m_req.toFile) {
        FileError openError;
        if (m_req.targetPath.isEmpty() || QFileInfo(m_req.targetPath).isDir()
            || !m_file->open(&openError)) {
            qCDebug(lcHttp) << "cannot write" << m_req.targetPath << openError.message;
            m_failed = true;
            return false;
        }
    }
    m_reading = true;
    return true;
}

size_t THTTPGetThread::onBody(QByteArrayView data)
{
    const size_t n = size_t(data.size());
    m_lastActivity = Clock::now();
    if (!m_reading)
        return n;
    m_pending.append(data);
    qsizetype used = 0;
    while (m_pending.size() - used >= ChunkSize) {
        if (!deliverChunk(QByteArrayView(m_pending).sliced(used, ChunkSize)))
            return 0;
        used += ChunkSize;
    }
    m_pending.remove(0, used);
    return reportDue() && !reportProgress() ? 0 : n;
}

bool THTTPGetThread::deliverChunk(QByteArrayView chunk)
{
    if (stopRequested() || chunk.size() > INT_MAX - m_bytesRead) {
        m_failed = true;
        return false;
    }
    if (m_req.toFile) {
        if (!m_file->write(chunk)) {
            m_failed = true;
            return false;
        }
    } else {
        if (m_body.size() + chunk.size() > MaxStringBytes) {
            m_failed = true;
            return false;
        }
        m_body.append(chunk);
    }
    m_bytesRead += int(chunk.size());
    if (m_req.hasProgress) {
        if (m_reports.empty())
            m_reportsSince = Clock::now();
        m_reports.push_back(m_bytesRead);
    }
    return true;
}

bool THTTPGetThread::reportDue() const
{
    return !m_reports.empty()
        && (m_reports.size() >= ReportBatch || Clock::now() - m_reportsSince >= std::chrono::milliseconds(ReportDelayMs));
}

void THTTPGetThread::runReports(const std::vector<int>& reports, int total)
{
    for (const int readed : reports) {
        THTTPGet* owner = m_owner;
        if (!owner || m_cancelled)
            break;
        Q_EMIT owner->OnProgress(this, total, readed);
    }
}

bool THTTPGetThread::reportProgress()
{
    // One trip to the GUI thread runs the progress calls of the chunks read since the
    // last trip, in order, and this thread waits until they have returned. A handler
    // that stops the transfer ends the series: the chunks after it are never reported
    // and the transfer fails, so what they wrote is thrown away with the temporary file.
    // The calls get their own copy of the counts: the GUI thread touches nothing of
    // this thread's state.
    GuiCalls::instance().callAndWait(
        [this, reports = std::exchange(m_reports, {}), total = m_totalSize] { runReports(reports, total); });
    // Time spent in the handler is not the server's silence.
    m_lastActivity = Clock::now();
    if (stopRequested()) {
        m_failed = true;
        return false;
    }
    return true;
}

} // namespace tavio
