#include "channels/ChannelPreferenceStore.h"

#include "channels/IniForUpdate.h"
#include "channels/RecordingFolder.h"
#include "common/IniFile.h"
#include "common/Paths.h"
#include "common/TextUtils.h"
#include "schedule/TEmission.h"

#include <QDir>

namespace quorx {

namespace {

const QString kFormat = QStringLiteral("Format");
const QString kDate = QStringLiteral("Date");
const QString kTime = QStringLiteral("Time");
const QString kChannel = QStringLiteral("Channel");
const QString kFolder = QStringLiteral("Folder");
const QString kCommand = QStringLiteral("Command");
const QString kCommandCheck = QStringLiteral("CommandCheck");
const QString kFermer = QStringLiteral("Fermer");
const QString kVeille = QStringLiteral("Veille");
const QString kVeillePro = QStringLiteral("VeillePro");
const QString kEteindre = QStringLiteral("Eteindre");

bool IsBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// A stored format that could not be a file extension falls back to the default one.
QString UsableExtension(const QString& stored)
{
    const QString format = stored.trimmed();
    if (format.isEmpty() || format.contains(QLatin1Char('/')) || format.contains(QLatin1Char('\\')))
        return ChannelPreferences().Format;
    return format;
}

} // namespace

ChannelPreferenceStore::ChannelPreferenceStore(QString filePath, QString driveRoot)
    : m_filePath(std::move(filePath)), m_driveRoot(RecordingFolder::WithTrailingSeparator(driveRoot))
{
}

ChannelPreferenceStore ChannelPreferenceStore::ForProgramFolder(const QString& programFolder)
{
    return ChannelPreferenceStore(QDir(programFolder).filePath(FileName()), ProgramDriveRoot(programFolder));
}

void ApplyChannelPreferences(TEmission& recording, const QString& programFolder)
{
    ChannelPreferenceStore::ForProgramFolder(programFolder).ApplyTo(recording);
}

QString ChannelPreferenceStore::Key(PreferenceProfile profile, const QString& name, const QString& channel)
{
    QString key = ProfilePrefix(profile) + name;
    if (!IsBlank(channel)) {
        QString part = channel.trimmed();
        // A key ends at the first "=" when the file is read back, and a line break would split
        // the line: both would lose the channel's preferences.
        part.replace(QLatin1Char('='), QStringLiteral("%3D"));
        part.replace(QLatin1Char('\r'), QLatin1Char(' '));
        part.replace(QLatin1Char('\n'), QLatin1Char(' '));
        key += part;
    }
    return key;
}

IniFile ChannelPreferenceStore::Load() const
{
    return IniFile(m_filePath);
}

bool ChannelPreferenceStore::Update(const std::function<void(IniFile&)>& change, QString* error) const
{
    IniFile ini;
    if (!LoadIniForUpdate(m_filePath, &ini, error))
        return false;
    change(ini);
    return ini.Save(error);
}

bool ChannelPreferenceStore::HasFormat(const IniFile& ini, PreferenceProfile profile, const QString& channel)
{
    return ini.HasKey(Section(), Key(profile, kFormat, channel));
}

bool ChannelPreferenceStore::HasOwn(PreferenceProfile profile, const QString& channel) const
{
    return !IsBlank(channel) && HasFormat(Load(), profile, channel);
}

bool ChannelPreferenceStore::HasDefault(PreferenceProfile profile) const
{
    return HasFormat(Load(), profile, QString());
}

ChannelPreferences ChannelPreferenceStore::ReadValues(const IniFile& ini, PreferenceProfile profile,
                                                      const QString& channel, const QString& folderDefault)
{
    const QString s = Section();
    const ChannelPreferences d;
    const auto key = [&](const QString& name) { return Key(profile, name, channel); };
    ChannelPreferences v;
    v.Format = ini.ReadString(s, key(kFormat), d.Format);
    v.Date = ini.ReadBool(s, key(kDate), d.Date);
    v.Time = ini.ReadBool(s, key(kTime), d.Time);
    v.Channel = ini.ReadBool(s, key(kChannel), d.Channel);
    v.Folder = ini.ReadString(s, key(kFolder), folderDefault);
    v.Command = ini.ReadString(s, key(kCommand), d.Command);
    v.CommandCheck = ini.ReadBool(s, key(kCommandCheck), d.CommandCheck);
    v.Fermer = ini.ReadBool(s, key(kFermer), d.Fermer);
    v.Veille = ini.ReadBool(s, key(kVeille), d.Veille);
    v.VeillePro = ini.ReadBool(s, key(kVeillePro), d.VeillePro);
    v.Eteindre = ini.ReadBool(s, key(kEteindre), d.Eteindre);
    return v;
}

void ChannelPreferenceStore::WriteValues(IniFile& ini, PreferenceProfile profile, const QString& channel,
                                         const ChannelPreferences& values)
{
    const QString s = Section();
    const auto key = [&](const QString& name) { return Key(profile, name, channel); };
    ini.WriteString(s, key(kFormat), ExtensionOf(FormatOfExtension(values.Format)));
    ini.WriteBool(s, key(kDate), values.Date);
    ini.WriteBool(s, key(kTime), values.Time);
    ini.WriteBool(s, key(kChannel), values.Channel);
    ini.WriteString(s, key(kFolder), values.Folder);
    ini.WriteString(s, key(kCommand), values.Command);
    ini.WriteBool(s, key(kCommandCheck), values.CommandCheck);
    ini.WriteBool(s, key(kFermer), values.Fermer);
    ini.WriteBool(s, key(kVeille), values.Veille);
    ini.WriteBool(s, key(kVeillePro), values.VeillePro);
    ini.WriteBool(s, key(kEteindre), values.Eteindre);
}

ChannelPreferences ChannelPreferenceStore::ReadShown(PreferenceProfile profile, const QString& channel) const
{
    const IniFile ini = Load();
    const bool own = !IsBlank(channel) && HasFormat(ini, profile, channel);
    ChannelPreferences v = ReadValues(ini, profile, own ? channel : QString(), QString());
    if (IsBlank(v.Folder))
        v.Folder = m_driveRoot;
    v.CommandCheck = v.RunsCommand();
    return v;
}

bool ChannelPreferenceStore::WriteOwn(PreferenceProfile profile, const QString& channel,
                                      const ChannelPreferences& values, QString* error) const
{
    if (IsBlank(channel))
        return true;
    return Update([&](IniFile& ini) { WriteValues(ini, profile, channel, values); }, error);
}

bool ChannelPreferenceStore::WriteDefault(PreferenceProfile profile, const ChannelPreferences& values,
                                          QString* error) const
{
    return Update([&](IniFile& ini) { WriteValues(ini, profile, QString(), values); }, error);
}

bool ChannelPreferenceStore::WriteDefaultAndChannels(PreferenceProfile profile,
                                                     const ChannelPreferences& values,
                                                     const QStringList& channels, QString* error) const
{
    return Update(
        [&](IniFile& ini) {
            WriteValues(ini, profile, QString(), values);
            for (const QString& channel : channels) {
                if (!IsBlank(channel))
                    WriteValues(ini, profile, channel, values);
            }
        },
        error);
}

void ChannelPreferenceStore::ApplyTo(TEmission& recording) const
{
    const PreferenceProfile profile = ProfileOf(recording);
    const IniFile ini = Load();
    const bool own = !IsBlank(recording.Chaine) && HasFormat(ini, profile, recording.Chaine);
    const ChannelPreferences v = ReadValues(ini, profile, own ? recording.Chaine : QString(), QString());

    QString folder = v.Folder;
    if (!RecordingFolder::IsValidPath(folder))
        folder = ini.ReadString(Section(), kFolder); // the one-off default entry, whatever the profile
    if (!RecordingFolder::IsValidPath(folder))
        folder = m_driveRoot;
    folder = RecordingFolder::WithTrailingSeparator(folder);

    // The name may come from a guide: cleaned, it can never lead out of the folder.
    recording.Fichier = folder + CleanFileName(recording.Programme) + UsableExtension(v.Format);
    recording.AjouterChaine = v.Channel;
    recording.AjouterDate = v.Date;
    recording.AjouterHeure = v.Time;
    recording.Fermer = v.Fermer;
    recording.Eteindre = v.Eteindre;
    recording.Veille = v.Veille;
    recording.VeillePro = v.VeillePro;
    recording.Commande = v.CommandCheck ? v.Command.trimmed() : QString();
}

std::optional<ChannelPreferences>
ChannelPreferenceStore::ReadEditorDefaults(PreferenceProfile profile, const QString& channel,
                                           const QString& currentFolder) const
{
    if (IsBlank(channel))
        return std::nullopt;
    const IniFile ini = Load();
    const bool own = HasFormat(ini, profile, channel);
    ChannelPreferences v = ReadValues(ini, profile, own ? channel : QString(), currentFolder);
    if (IsBlank(v.Folder))
        v.Folder = m_driveRoot;
    v.Command = v.Command.trimmed();
    v.CommandCheck = v.RunsCommand();
    return v;
}

bool ChannelPreferenceStore::WriteBackFromEditor(PreferenceProfile profile, const QString& channel,
                                                 const ChannelPreferences& values, bool applyToAll,
                                                 QString* error) const
{
    return Update(
        [&](IniFile& ini) {
            if (applyToAll || !HasFormat(ini, profile, QString()))
                WriteValues(ini, profile, QString(), values);
            if (!IsBlank(channel) && !HasFormat(ini, profile, channel))
                WriteValues(ini, profile, channel, values);
        },
        error);
}

} // namespace quorx
