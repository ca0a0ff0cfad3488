#include "startup/DemoFolder.h"

#include "channels/ChannelPreferenceStore.h"

#include "channels/ChannelNameList.h"
#include "channels/SchedulerChannelList.h"
#include "common/IniFile.h"
#include "platform/Processes.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/SettingsStore.h"
#include "schedule/TEmission.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

namespace quorx {

namespace {

const QString kDemoSection = QStringLiteral("Demo");
const QString kFilesSection = QStringLiteral("Files");
const QString kStateKey = QStringLiteral("State");
const QString kPreparing = QStringLiteral("preparing");
const QString kReady = QStringLiteral("ready");
const QString kViewerExecutable = QStringLiteral("zomvara");
const QString kSourcesFile = QStringLiteral("channels/sources.ini");

QString Digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

// The files the demo writes and the user may change, relative to the demo folder.
QStringList DemoFiles()
{
    return {ScheduleStore::FileName(), QStringLiteral("Config.Ini"), ChannelPreferenceStore::FileName(),
            DemoFolder::ViewerFolderName() + QLatin1Char('/') + kSourcesFile};
}

enum class Ownership
{
    Fresh,     // nothing there yet: ours to write
    Untouched, // prepared before and unchanged since
    Changed,
    Foreign
};

Ownership OwnershipOf(const QDir& dir, QString* why)
{
    const QString marker = dir.filePath(DemoFolder::MarkerFileName());
    if (!QFileInfo::exists(marker)) {
        if (dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            return Ownership::Fresh;
        *why = QStringLiteral("%1 holds files the demo did not write; it is used as it stands")
                   .arg(QDir::toNativeSeparators(dir.path()));
        return Ownership::Foreign;
    }
    IniFile ini;
    if (!ini.Load(marker)) {
        *why = QStringLiteral("%1 cannot be read; the folder is used as it stands").arg(marker);
        return Ownership::Changed;
    }
    // A preparation cut short left files nobody could have changed yet.
    if (ini.ReadString(kDemoSection, kStateKey) == kPreparing)
        return Ownership::Untouched;
    for (const QString& name : DemoFiles()) {
        const QString stored = ini.ReadString(kFilesSection, name);
        if (stored.isEmpty() || Digest(dir.filePath(name)) != stored) {
            *why =
                QStringLiteral("%1 has changed since the demo was prepared; the folder is used as it stands")
                    .arg(name);
            return Ownership::Changed;
        }
    }
    // A journal, a recording or any file of the user's says the folder has been used, even when
    // the scheduler ended before it saved its state.
    const QStringList prepared = {ScheduleStore::FileName(), QStringLiteral("Config.Ini"),
                                  ChannelPreferenceStore::FileName(), DemoFolder::MarkerFileName(), DemoFolder::ViewerFolderName(),
                                  DemoFolder::RecordingFolderName()};
    const QDir::Filters any = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    for (const QString& name : dir.entryList(any)) {
        if (!prepared.contains(name)) {
            *why = QStringLiteral("%1 was added since the demo was prepared; the folder is used as it stands")
                       .arg(name);
            return Ownership::Changed;
        }
    }
    if (!QDir(dir.filePath(DemoFolder::RecordingFolderName())).isEmpty(any)) {
        *why = QStringLiteral("%1 holds recordings; the folder is used as it stands")
                   .arg(DemoFolder::RecordingFolderName());
        return Ownership::Changed;
    }
    return Ownership::Untouched;
}

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// Copies the viewer when the built one differs from the installed copy.
bool InstallViewer(const QString& program, const QString& target, QString* error)
{
    QFile source(program);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the viewer %1 cannot be read: %2").arg(program, source.errorString());
        return false;
    }
    const QByteArray bytes = source.readAll();
    QFile installed(target);
    if (installed.open(QIODevice::ReadOnly) && installed.readAll() == bytes)
        return true;
    installed.close();
    if (!WriteFile(target, bytes, error))
        return false;
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::ExeUser |
                                      QFile::ExeGroup | QFile::ExeOther);
    return true;
}

TEmission Recording(const QString& title, const QString& channel, DateTime start, int minutes,
                    const QString& recordingFolder)
{
    const DateTime end = start.AddMinutes(minutes);
    TEmission e;
    e.Programme = title;
    e.Chaine = channel;
    e.Fichier = recordingFolder + title + QStringLiteral(".ts");
    e.DateDebut = start.DatePart();
    e.DateFin = end.DatePart();
    e.HeureDebut = start.TimePart();
    e.HeureFin = end.TimePart();
    // Date and time in the name, so that each day of the daily one has a file of its own.
    e.AjouterDate = true;
    e.AjouterHeure = true;
    e.Actif = true;
    return e;
}

bool WriteMarker(const QString& path, const QString& state, const QDir& dir, QString* error)
{
    IniFile ini;
    ini.WriteString(kDemoSection, kStateKey, state);
    if (state == kReady)
        for (const QString& name : DemoFiles())
            ini.WriteString(kFilesSection, name, Digest(dir.filePath(name)));
    return ini.SaveAs(path, error);
}

} // namespace

QStringList DemoFolder::ChannelNames()
{
    return {QStringLiteral("Arte"), QStringLiteral("France 2"), QStringLiteral("TV5 Monde")};
}

DateTime DemoFolder::FirstStart(DateTime now)
{
    const double seconds = std::ceil(now.Value() * DateTime::kSecondsPerDay - 0.0005);
    const double minute = std::ceil((seconds + 120.0) / 60.0) * 60.0;
    return DateTime::FromSeconds(minute);
}

DemoFolder::Outcome DemoFolder::Prepare(const QString& folder, const QString& viewerProgram, DateTime now,
                                        Processes* processes)
{
    Outcome outcome;
    const QDir dir(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    const QString viewerFolder = dir.filePath(ViewerFolderName());
    outcome.viewerExecutable = viewerFolder + QLatin1Char('/') + kViewerExecutable;
    if (!QFileInfo(viewerProgram).isFile()) {
        outcome.message = QStringLiteral("the viewer %1 does not exist").arg(viewerProgram);
        return outcome;
    }
    if (!QDir().mkpath(dir.path())) {
        outcome.message = QStringLiteral("cannot create %1").arg(dir.path());
        return outcome;
    }

    QString why;
    const Ownership ownership = OwnershipOf(dir, &why);
    if (ownership == Ownership::Foreign || ownership == Ownership::Changed) {
        outcome.result = Result::Kept;
        outcome.message = why;
        if (ownership == Ownership::Changed && QFileInfo(viewerFolder).isDir() &&
            !InstallViewer(viewerProgram, outcome.viewerExecutable, &outcome.message))
            outcome.result = Result::Failed;
        return outcome;
    }

    QString& error = outcome.message;
    const QString marker = dir.filePath(MarkerFileName());
    const QString recordingFolder = dir.filePath(RecordingFolderName()) + QLatin1Char('/');
    if (!WriteMarker(marker, kPreparing, dir, &error))
        return outcome;
    if (!QDir().mkpath(viewerFolder + QStringLiteral("/channels")) || !QDir().mkpath(recordingFolder)) {
        error = QStringLiteral("cannot create the folders of %1").arg(dir.path());
        return outcome;
    }
    if (!InstallViewer(viewerProgram, outcome.viewerExecutable, &error))
        return outcome;

    // The viewer's own channels, which it turns into the channel files the scheduler reads.
    IniFile sources;
    const int rates[] = {256, 256, 512};
    for (int i = 0; i < ChannelNames().size(); ++i)
        sources.WriteString(QStringLiteral("Channels"), ChannelNames()[i],
                            QStringLiteral("synthetic:%1").arg(rates[i]));
    if (!sources.SaveAs(viewerFolder + QLatin1Char('/') + kSourcesFile, &error))
        return outcome;
    if (processes) {
        const LaunchResult run = processes->Launch(outcome.viewerExecutable, {QStringLiteral("/Exit")},
                                                   viewerFolder, ShowState::Hidden, true);
        if (!run.started || run.exitCode != 0) {
            error = QStringLiteral("the viewer did not write its channel files (%1)")
                        .arg(run.started ? QStringLiteral("status %1").arg(run.exitCode) : run.error);
            return outcome;
        }
    }

    IniFile config;
    const QString configPath = SettingsStore::FilePath(dir.path());
    config.Load(configPath);
    const SettingsStore::Key* viewerKey = SettingsStore::FindKey(QStringLiteral("CheminZomvara"));
    config.WriteString(QString(viewerKey->section), QString(viewerKey->name),
                       viewerFolder + QLatin1Char('/'));
    // No margins: the recordings start and end on the minute the list shows.
    for (const QString& name : {QStringLiteral("DelaiDeb"), QStringLiteral("DelaiFin")}) {
        const SettingsStore::Key* key = SettingsStore::FindKey(name);
        config.WriteString(QString(key->section), QString(key->name), QStringLiteral("00:00:00"));
    }
    ChannelNameList channels;
    for (const QString& name : ChannelNames())
        channels.Insert(name);
    SchedulerChannelList::Save(channels, config);
    if (!config.SaveAs(configPath, &error))
        return outcome;

    // Recordings made in the editor land beside the demo's own, not at the root of the drive.
    const ChannelPreferenceStore preferences = ChannelPreferenceStore::ForProgramFolder(dir.path());
    ChannelPreferences defaults;
    defaults.Folder = recordingFolder;
    for (const PreferenceProfile profile : {PreferenceProfile::OneOff, PreferenceProfile::Repeating})
        if (!preferences.WriteDefault(profile, defaults, &error))
            return outcome;

    // The first starts soon; the third overlaps it, so the list shows how the overlap is cut;
    // the daily one follows both.
    const DateTime start = FirstStart(now);
    ScheduleTable table;
    table.Append(
        Recording(QStringLiteral("Premier enregistrement"), ChannelNames()[0], start, 4, recordingFolder));
    TEmission daily = Recording(QStringLiteral("Journal quotidien"), ChannelNames()[1], start.AddMinutes(9),
                                3, recordingFolder);
    daily.Repetition = Lundi | Mardi | Mercredi | Jeudi | Vendredi | Samedi | Dimanche;
    table.Append(daily);
    table.Append(Recording(QStringLiteral("Documentaire"), ChannelNames()[2], start.AddMinutes(2), 5,
                           recordingFolder));
    if (!ScheduleStore::SaveSchedule(dir.path(), table, &error))
        return outcome;

    if (!WriteMarker(marker, kReady, dir, &error))
        return outcome;
    outcome.result = Result::Prepared;
    error = QStringLiteral("the first recording starts at %1").arg(start.TimeText());
    return outcome;
}

} // namespace quorx
