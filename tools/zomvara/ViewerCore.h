#pragma once

#include "ChannelList.h"
#include "RecordingFile.h"
#include "StreamSource.h"
#include "ViewerOptions.h"
#include "ViewerSwitch.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace quorx::zomvara {

// What the viewer does: tune a channel of its list, record the tuned channel into a file,
// stop, play a file, end. Every start's switches, its own and those handed over, come here.
class ViewerCore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ViewerCore)

public:
    explicit ViewerCore(const QString& installFolder, QObject* parent = nullptr);
    ~ViewerCore() override;

    // Reads the settings and the channel list and writes the channel files; problems are shown
    // in the status, the viewer runs anyway.
    void Initialise();
    // Acts on the switches in their order. A first start without a channel tunes the last one
    // when the settings ask for it.
    void Act(const QStringList& arguments, bool firstStart);
    // Ends the recording and keeps the tuned channel for the next start.
    void Shutdown();

    QString TunedChannel() const;
    bool IsRecording() const { return m_recording.IsOpen(); }
    QString RecordingPath() const { return m_recording.Path(); }
    qint64 RecordedBytes() const { return m_recording.Written(); }
    bool DecoderDisabled() const { return m_decoderDisabled; }
    QString Status() const { return m_status; }
    const ViewerOptions& Options() const { return m_options; }

Q_SIGNALS:
    void Changed();
    void ExitRequested();

private:
    void Tune(const QString& name);
    void StartRecord(const QString& path);
    void StopRecord();
    void Play(const QString& path);
    void OnData(const QByteArray& data);
    void SetStatus(const QString& text);

    QString m_folder;
    ViewerOptions m_options;
    ChannelList m_channels;
    int m_tuned = -1;
    std::unique_ptr<StreamSource> m_source;
    RecordingFile m_recording;
    bool m_decoderDisabled = false;
    QString m_status;
};

} // namespace quorx::zomvara
