#include "ViewerCore.h"

#include "ChannelFileWriter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace quorx::zomvara {

ViewerCore::ViewerCore(const QString& installFolder, QObject* parent)
    : QObject(parent), m_folder(installFolder)
{
}

ViewerCore::~ViewerCore()
{
    if (m_source)
        m_source->Stop();
}

void ViewerCore::Initialise()
{
    m_options.Load(m_folder);
    QString error;
    if (!m_channels.Load(m_folder, &error)) {
        SetStatus(error);
        return;
    }
    if (!ChannelFileWriter::WriteAll(ChannelList::ChannelsFolder(m_folder), m_channels.Entries(), &error))
        SetStatus(error);
}

QString ViewerCore::TunedChannel() const
{
    return m_tuned >= 0 ? m_channels.Entries()[m_tuned].name : QString();
}

void ViewerCore::Act(const QStringList& arguments, bool firstStart)
{
    const QVector<ViewerSwitch> switches = ViewerSwitch::Parse(arguments);
    const bool tunes = std::any_of(switches.begin(), switches.end(), [](const ViewerSwitch& s) {
        return s.kind == ViewerSwitch::Kind::Channel;
    });
    if (firstStart && !tunes && m_options.SetLastChannel() && !m_options.LastChannel().isEmpty() &&
        m_channels.IndexOf(m_options.LastChannel()) >= 0)
        Tune(m_options.LastChannel());
    for (const ViewerSwitch& s : switches) {
        switch (s.kind) {
        case ViewerSwitch::Kind::Channel:
            Tune(s.value);
            break;
        case ViewerSwitch::Kind::StartRecord:
            StartRecord(s.value);
            break;
        case ViewerSwitch::Kind::StopRecord:
            StopRecord();
            break;
        case ViewerSwitch::Kind::DisableMpeg2Decoder:
            m_decoderDisabled = true;
            break;
        case ViewerSwitch::Kind::Play:
            Play(s.value);
            break;
        case ViewerSwitch::Kind::Exit:
            Shutdown();
            Q_EMIT ExitRequested();
            return;
        }
    }
    Q_EMIT Changed();
}

void ViewerCore::Shutdown()
{
    StopRecord();
    if (m_source)
        m_source->Stop();
    if (m_tuned >= 0) {
        QString error;
        m_options.SaveLastChannel(TunedChannel(), &error);
    }
}

void ViewerCore::Tune(const QString& name)
{
    const int index = m_channels.IndexOf(name);
    if (index < 0) {
        SetStatus(QStringLiteral("Chaîne inconnue : %1").arg(name));
        return;
    }
    if (index == m_tuned && m_source)
        return;
    // A recording holds one channel: changing channel ends it.
    StopRecord();
    if (m_source)
        m_source->Stop();
    m_source.reset();
    m_tuned = index;
    ChannelSource origin;
    QString error;
    if (!ChannelSource::Parse(m_channels.Entries()[index].source, m_folder, &origin, &error)) {
        SetStatus(error);
        return;
    }
    m_source = StreamSource::Create(origin, index);
    connect(m_source.get(), &StreamSource::DataArrived, this, &ViewerCore::OnData);
    connect(m_source.get(), &StreamSource::Trouble, this, &ViewerCore::SetStatus);
    SetStatus(QString());
    m_source->Start();
}

void ViewerCore::StartRecord(const QString& path)
{
    if (path.trimmed().isEmpty()) {
        SetStatus(QStringLiteral("Aucun fichier d'enregistrement indiqué"));
        return;
    }
    if (m_tuned < 0) {
        SetStatus(QStringLiteral("Aucune chaîne n'est réglée : pas d'enregistrement"));
        return;
    }
    QString target = QDir::cleanPath(QDir(m_options.RecordDir()).absoluteFilePath(path.trimmed()));
    if (QFileInfo(target).suffix().isEmpty())
        target += m_options.RecordingExtension();
    QString error;
    if (!m_recording.Open(target, &error)) {
        SetStatus(error);
        return;
    }
    SetStatus(QString());
}

void ViewerCore::StopRecord()
{
    m_recording.Close();
}

void ViewerCore::Play(const QString& path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
        SetStatus(QStringLiteral("Impossible de lire %1").arg(path));
}

void ViewerCore::OnData(const QByteArray& data)
{
    if (!m_recording.IsOpen())
        return;
    QString error;
    if (!m_recording.Append(data, &error))
        SetStatus(error);
}

void ViewerCore::SetStatus(const QString& text)
{
    m_status = text;
    Q_EMIT Changed();
}

} // namespace quorx::zomvara
