#include "HttpSource.h"

#include <curl/curl.h>

namespace quorx::zomvara {

namespace {
constexpr int kRetryPauseMs = 2000;
constexpr long kConnectTimeoutS = 10;
constexpr long kStallSeconds = 15; // a live stream that sends nothing for this long is reopened
} // namespace

HttpSource::HttpSource(const QString& address, QObject* parent) : StreamSource(parent), m_address(address) {}

HttpSource::~HttpSource()
{
    Stop();
}

void HttpSource::Start()
{
    Stop();
    m_stopping = false;
    m_thread.reset(QThread::create([this] { Run(); }));
    m_thread->start();
}

void HttpSource::Stop()
{
    if (!m_thread)
        return;
    m_stopping = true;
    m_thread->wait();
    m_thread.reset();
}

std::size_t HttpSource::OnData(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* source = static_cast<HttpSource*>(self);
    if (source->m_stopping)
        return 0; // makes curl abort the transfer
    const std::size_t bytes = size * count;
    // Emitted from the worker: the connection to the main thread's receivers is queued.
    Q_EMIT source->DataArrived(QByteArray(data, static_cast<qsizetype>(bytes)));
    return bytes;
}

int HttpSource::OnProgress(void* self, long long, long long, long long, long long)
{
    return static_cast<HttpSource*>(self)->m_stopping ? 1 : 0;
}

void HttpSource::Run()
{
    const QByteArray address = m_address.toUtf8();
    while (!m_stopping) {
        CURL* curl = curl_easy_init();
        if (!curl) {
            Q_EMIT Trouble(QStringLiteral("libcurl cannot start a transfer"));
            return;
        }
        char errorText[CURL_ERROR_SIZE] = {};
        curl_easy_setopt(curl, CURLOPT_URL, address.constData());
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpSource::OnData);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &HttpSource::OnProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        const CURLcode result = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        if (m_stopping)
            return;
        const QString reason =
            errorText[0] ? QString::fromUtf8(errorText) : QString::fromUtf8(curl_easy_strerror(result));
        Q_EMIT Trouble(result == CURLE_OK ? QStringLiteral("%1: the stream ended").arg(m_address)
                                          : QStringLiteral("%1: %2").arg(m_address, reason));
        for (int waited = 0; waited < kRetryPauseMs && !m_stopping; waited += 100)
            QThread::msleep(100);
    }
}

} // namespace quorx::zomvara
