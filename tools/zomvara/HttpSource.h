#pragma once

#include "StreamSource.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace quorx::zomvara {

// A live stream fetched with libcurl on a thread of its own; the data is handed to the main
// thread as it arrives. A broken or finished stream is opened again after a short pause.
class HttpSource final : public StreamSource
{
    Q_OBJECT

public:
    explicit HttpSource(const QString& address, QObject* parent = nullptr);
    ~HttpSource() override;

    void Start() override;
    void Stop() override;

private:
    void Run();
    static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);
    static int OnProgress(void* self, long long, long long, long long, long long);

    QString m_address;
    std::atomic_bool m_stopping{false};
    std::unique_ptr<QThread> m_thread;
};

} // namespace quorx::zomvara
