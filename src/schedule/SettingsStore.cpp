#include "schedule/SettingsStore.h"

#include "common/IniFile.h"
#include "common/Paths.h"

#include <QFileInfo>

namespace quorx {

namespace {

using E = SettingsStore::Encoding;
using Key = SettingsStore::Key;

constexpr QLatin1String kConfig("Config");
constexpr QLatin1String kXmltv("XMLTV");

const Settings& Defaults()
{
    static const Settings defaults;
    return defaults;
}

// Every core key, in the order the start-up sequence reads them.
const std::vector<Key>& Table()
{
    static const std::vector<Key> keys = {
        {1, kConfig, QLatin1String("TotalGo"), E::Integer, &Settings::TotalGo},
        {1, kConfig, QLatin1String("Couleur"), E::Colour, &Settings::Couleur},
        {1, kConfig, QLatin1String("AutoForbidSuspend"), E::Bool, &Settings::AutoForbidSuspend},
        {1, kConfig, QLatin1String("DelaiDeb"), E::Margin, &Settings::DelaiDeb},
        {1, kConfig, QLatin1String("DelaiFin"), E::Margin, &Settings::DelaiFin},
        {1, kConfig, QLatin1String("DelaiArret"), E::Time, &Settings::DelaiArret},
        {1, kConfig, QLatin1String("DelaiAtt"), E::Integer, &Settings::DelaiAtt},
        {1, kConfig, QLatin1String("DetectRecordingErrors"), E::Bool, &Settings::DetectRecordingErrors},

        {2, kXmltv, QLatin1String("HideDisabledPrograms"), E::Bool, &Settings::HideDisabledPrograms},
        {2, kXmltv, QLatin1String("AlwaysShowRecordingProgram"), E::Bool,
         &Settings::AlwaysShowRecordingProgram},
        {2, kXmltv, QLatin1String("AlwaysShowNextProgram"), E::Bool, &Settings::AlwaysShowNextProgram},
        {2, kXmltv, QLatin1String("AlwaysShowErrorProgram"), E::Bool, &Settings::AlwaysShowErrorProgram},
        {2, kXmltv, QLatin1String("JournalError"), E::Integer, &Settings::JournalError},
        {2, kXmltv, QLatin1String("ReplaceXMLTV"), E::Bool, &Settings::ReplaceXMLTV},
        {2, kXmltv, QLatin1String("AutoDownload"), E::Bool, &Settings::AutoDownload},
        {2, kXmltv, QLatin1String("AutoDownloadImg"), E::Bool, &Settings::AutoDownloadImg},
        {2, kXmltv, QLatin1String("AutoXMLTV"), E::Bool, &Settings::AutoXMLTV},
        {2, kConfig, QLatin1String("ChannelWaitRec"), E::Bool, &Settings::ChannelWaitRec},
        {2, kConfig, QLatin1String("Fullscreen"), E::Bool, &Settings::Fullscreen},
        {2, kConfig, QLatin1String("NetUpdate"), E::Bool, &Settings::NetUpdate},
        {2, kConfig, QLatin1String("NetInfos"), E::Bool, &Settings::NetInfos},
        {2, kConfig, QLatin1String("EPGKirvel"), E::Bool, &Settings::EPGKirvel},
        {2, kConfig, QLatin1String("EPGStandard"), E::Bool, &Settings::EPGStandard},
        {2, kConfig, QLatin1String("EPGVerify"), E::Bool, &Settings::EPGVerify},
        {2, kConfig, QLatin1String("DateLetters"), E::Bool, &Settings::DateLetters},
        {2, kConfig, QLatin1String("QuickEnterChannels"), E::Bool, &Settings::QuickEnterChannels},
        {2, kConfig, QLatin1String("QuickEnterDate"), E::Bool, &Settings::QuickEnterDate},
        {2, kConfig, QLatin1String("QuickEnterTime"), E::Bool, &Settings::QuickEnterTime},
        {2, kConfig, QLatin1String("NoSoundStart"), E::Time, &Settings::NoSoundStart},
        {2, kConfig, QLatin1String("NoSoundEnd"), E::Time, &Settings::NoSoundEnd},
        {2, kConfig, QLatin1String("NoSoundStartEnd"), E::Bool, &Settings::NoSoundStartEnd},
        {2, kConfig, QLatin1String("DelaiFermeture"), E::Time, &Settings::DelaiFermeture},
        {2, kConfig, QLatin1String("InterdireDebut"), E::Time, &Settings::InterdireDebut},
        {2, kConfig, QLatin1String("InterdireFin"), E::Time, &Settings::InterdireFin},
        {2, kConfig, QLatin1String("Interdire"), E::Bool, &Settings::Interdire},
        {2, kConfig, QLatin1String("InterdireToujours"), E::Bool, &Settings::InterdireToujours},
        {2, kConfig, QLatin1String("CouleurVariation"), E::Bool, &Settings::CouleurVariation},
        {2, kConfig, QLatin1String("DoNotDecodeMPEG2"), E::Bool, &Settings::DoNotDecodeMPEG2},
        {2, kConfig, QLatin1String("Calendrier"), E::Bool, &Settings::Calendrier},
        {2, kConfig, QLatin1String("AideContextuelle"), E::Bool, &Settings::AideContextuelle},
        {2, kConfig, QLatin1String("AutoFavorites"), E::Bool, &Settings::AutoFavorites},
        {2, kConfig, QLatin1String("Langue"), E::Text, &Settings::Langue},

        {3, kConfig, QLatin1String("Majuscules"), E::Bool, &Settings::Majuscules},
        {3, kConfig, QLatin1String("EtatZomvara"), E::Integer, &Settings::EtatZomvara},
        {3, kConfig, QLatin1String("Actif"), E::Bool, &Settings::Actif},
        {3, kConfig, QLatin1String("NePasEcraser"), E::Bool, &Settings::NePasEcraser},
        {3, kConfig, QLatin1String("RepPrioritaire"), E::Bool, &Settings::RepPrioritaire},
        {3, kConfig, QLatin1String("SansAnnee"), E::Bool, &Settings::SansAnnee},
        {3, kConfig, QLatin1String("OffQuandDernier"), E::Bool, &Settings::OffQuandDernier},
        {3, kConfig, QLatin1String("ProtVeille"), E::Bool, &Settings::ProtVeille},
        {3, kConfig, QLatin1String("Colonne0"), E::Integer, &Settings::Colonne, 0},
        {3, kConfig, QLatin1String("Colonne1"), E::Integer, &Settings::Colonne, 1},
        {3, kConfig, QLatin1String("Colonne2"), E::Integer, &Settings::Colonne, 2},
        {3, kConfig, QLatin1String("Colonne3"), E::Integer, &Settings::Colonne, 3},
        {3, kConfig, QLatin1String("Colonne4"), E::Integer, &Settings::Colonne, 4},
        {3, kConfig, QLatin1String("ColonnesTotal"), E::Integer, &Settings::ColonnesTotal},
        {3, kConfig, QLatin1String("ForcerRedem"), E::Bool, &Settings::ForcerRedem},
        {3, kConfig, QLatin1String("XXListe"), E::Integer, &Settings::XXListe},
        {3, kConfig, QLatin1String("YYListe"), E::Integer, &Settings::YYListe},
        {3, kConfig, QLatin1String("XListe"), E::Integer, &Settings::XListe},
        {3, kConfig, QLatin1String("YListe"), E::Integer, &Settings::YListe},
        {3, kConfig, QLatin1String("EtatListe"), E::WindowState, &Settings::EtatListe},
        {3, kConfig, QLatin1String("Minimized"), E::Bool, &Settings::Minimized},
        {3, kConfig, QLatin1String("Tri"), E::SignedByte, &Settings::Tri},
        {3, kConfig, QLatin1String("Afficher"), E::SignedByte, &Settings::Afficher},
        {3, kConfig, QLatin1String("TailleFonte"), E::Integer, &Settings::TailleFonte},
        {3, kConfig, QLatin1String("NomInstance"), E::Text, &Settings::NomInstance},
        {3, kConfig, QLatin1String("SignalSonore"), E::Bool, &Settings::SignalSonore},
        {3, kConfig, QLatin1String("SignalSonoreInterface"), E::Bool, &Settings::SignalSonoreInterface},
        {3, kConfig, QLatin1String("CheminZomvara"), E::Text, &Settings::CheminZomvara, -1, true},
    };
    return keys;
}

// The main window's own keys, in the order it writes them when it is destroyed. The grid's column
// widths and those the list view keeps are one array here, so the five Colonne keys are written
// once, with the list view's values.
const std::vector<QLatin1String>& ExitOrder()
{
    static const std::vector<QLatin1String> names = {
        QLatin1String("TotalGo"),
        QLatin1String("AutoForbidSuspend"),
        QLatin1String("HideDisabledPrograms"),
        QLatin1String("AlwaysShowRecordingProgram"),
        QLatin1String("AlwaysShowNextProgram"),
        QLatin1String("AlwaysShowErrorProgram"),
        QLatin1String("Colonne0"),
        QLatin1String("Colonne1"),
        QLatin1String("Colonne2"),
        QLatin1String("Colonne3"),
        QLatin1String("Colonne4"),
        QLatin1String("ColonnesTotal"),
        QLatin1String("Tri"),
        QLatin1String("Afficher"),
        QLatin1String("XListe"),
        QLatin1String("YListe"),
        QLatin1String("XXListe"),
        QLatin1String("YYListe"),
        QLatin1String("EtatListe"),
        QLatin1String("DelaiFermeture"),
        QLatin1String("InterdireDebut"),
        QLatin1String("InterdireFin"),
        QLatin1String("Interdire"),
        QLatin1String("InterdireToujours"),
        QLatin1String("JournalError"),
    };
    return names;
}

const std::vector<QLatin1String>& ExitOrderAfterState()
{
    static const std::vector<QLatin1String> names = {QLatin1String("Actif"), QLatin1String("TailleFonte")};
    return names;
}

template <typename S> auto& IntRef(S& s, const Key& k)
{
    if (k.element >= 0)
        return (s.*std::get<std::array<int, 5> Settings::*>(k.member))[static_cast<std::size_t>(k.element)];
    return s.*std::get<int Settings::*>(k.member);
}

DateTime ReadTimeText(const IniFile& ini, const Key& k, DateTime def)
{
    DateTime value;
    if (!ini.HasKey(k.section, k.name) || !DateTime::ParseTime(ini.ReadString(k.section, k.name), &value))
        return def;
    return value;
}

void LoadGroup(const IniFile& ini, Settings& settings, int group)
{
    for (const Key& k : Table())
        if (k.group == group)
            SettingsStore::ReadKey(ini, k, settings);
}

} // namespace

QString SettingsStore::FileName()
{
    return QStringLiteral("Config.Ini");
}

QString SettingsStore::FilePath(const QString& programFolder)
{
    const QString exact = programFolder + QLatin1Char('/') + FileName();
    if (QFileInfo::exists(exact))
        return exact;
    return FindFileNoCase(programFolder, FileName());
}

const std::vector<SettingsStore::Key>& SettingsStore::Keys()
{
    return Table();
}

const SettingsStore::Key* SettingsStore::FindKey(const QString& name)
{
    for (const Key& k : Table())
        if (name.compare(k.name, Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

void SettingsStore::ReadKey(const IniFile& ini, const Key& k, Settings& s)
{
    const Settings& d = Defaults();
    if (k.defaultFromCaller && !ini.HasKey(k.section, k.name))
        return;
    switch (k.encoding) {
    case E::Bool: {
        const auto m = std::get<bool Settings::*>(k.member);
        s.*m = ini.ReadBool(k.section, k.name, d.*m);
        break;
    }
    case E::Integer:
        if (std::holds_alternative<qint64 Settings::*>(k.member)) {
            const auto m = std::get<qint64 Settings::*>(k.member);
            s.*m = ini.ReadInt64(k.section, k.name, d.*m);
        } else {
            IntRef(s, k) = ini.ReadInteger(k.section, k.name, IntRef(d, k));
        }
        break;
    case E::Colour:
        // ReadInteger takes hexadecimal patterns such as $FF00001C as the 32 bits they are.
        IntRef(s, k) = ini.ReadInteger(k.section, k.name, IntRef(d, k));
        break;
    case E::Time:
    case E::Margin: {
        const auto m = std::get<DateTime Settings::*>(k.member);
        s.*m = ReadTimeText(ini, k, d.*m);
        break;
    }
    case E::Text: {
        const auto m = std::get<QString Settings::*>(k.member);
        s.*m = ini.ReadString(k.section, k.name, d.*m);
        break;
    }
    case E::SignedByte: {
        const auto b = static_cast<std::int8_t>(ini.ReadInteger(k.section, k.name, IntRef(d, k)));
        IntRef(s, k) = b < 0 ? 0 : b;
        break;
    }
    case E::WindowState: {
        const int state = ini.ReadInteger(k.section, k.name, IntRef(d, k));
        IntRef(s, k) = state == 1 ? 0 : state;
        break;
    }
    }
}

void SettingsStore::WriteKey(IniFile& ini, const Key& k, const Settings& s)
{
    switch (k.encoding) {
    case E::Bool:
        ini.WriteBool(k.section, k.name, s.*std::get<bool Settings::*>(k.member));
        break;
    case E::Integer:
        if (std::holds_alternative<qint64 Settings::*>(k.member))
            ini.WriteInteger(k.section, k.name, s.*std::get<qint64 Settings::*>(k.member));
        else
            ini.WriteInteger(k.section, k.name, IntRef(s, k));
        break;
    case E::Colour:
    case E::SignedByte:
    case E::WindowState:
        ini.WriteInteger(k.section, k.name, IntRef(s, k));
        break;
    case E::Time:
        ini.WriteString(k.section, k.name, (s.*std::get<DateTime Settings::*>(k.member)).TimeText());
        break;
    case E::Margin:
        ini.WriteString(k.section, k.name,
                        (s.*std::get<DateTime Settings::*>(k.member)).TimeTextWithSeconds());
        break;
    case E::Text:
        ini.WriteString(k.section, k.name, s.*std::get<QString Settings::*>(k.member));
        break;
    }
}

void SettingsStore::LoadGroupOne(const IniFile& ini, Settings& settings)
{
    LoadGroup(ini, settings, 1);
}
void SettingsStore::LoadGroupTwo(const IniFile& ini, Settings& settings)
{
    LoadGroup(ini, settings, 2);
}
void SettingsStore::LoadGroupThree(const IniFile& ini, Settings& settings)
{
    LoadGroup(ini, settings, 3);
}

void SettingsStore::Load(const IniFile& ini, Settings& settings)
{
    LoadGroupOne(ini, settings);
    LoadGroupTwo(ini, settings);
    LoadGroupThree(ini, settings);
}

void SettingsStore::WriteAtExit(IniFile& ini, const Settings& settings, bool applicationMinimised)
{
    for (const QLatin1String name : ExitOrder())
        WriteKey(ini, *FindKey(name), settings);
    if (applicationMinimised)
        ini.WriteInteger(kConfig, QLatin1String("EtatListe"), 1);
    for (const QLatin1String name : ExitOrderAfterState())
        WriteKey(ini, *FindKey(name), settings);
}

void SettingsStore::Save(IniFile& ini, const Settings& settings)
{
    for (const Key& k : Table())
        WriteKey(ini, k, settings);
}

SettingsStore::WindowStartState SettingsStore::EffectiveStartState(const Settings& settings)
{
    if (settings.Minimized)
        return WindowStartState::Minimised;
    return settings.EtatListe == 2 ? WindowStartState::Maximised : WindowStartState::Normal;
}

} // namespace quorx
