#include "editor/EditorMemory.h"

#include "common/IniFile.h"
#include "engine/NewRecording.h"

namespace quorx {

namespace {

const QString kSaisie = QStringLiteral("Saisie");
const QString kConfig = QStringLiteral("Config");

} // namespace

EditorMemory EditorMemory::Read(const IniFile& config)
{
    EditorMemory m;
    m.chaine = NewRecording::LastChannel(config);
    m.nomAuto = config.ReadBool(kSaisie, QStringLiteral("NomAuto"), true);
    m.retenir = config.ReadBool(kSaisie, QStringLiteral("Retenir"), true);
    m.dernierDossier = config.ReadString(kSaisie, QStringLiteral("DernierDossier"));
    m.x = config.ReadInteger(kConfig, QStringLiteral("XSaisie"), -1);
    m.y = config.ReadInteger(kConfig, QStringLiteral("YSaisie"), -1);
    return m;
}

void EditorMemory::WriteValidation(IniFile& config) const
{
    config.WriteString(kSaisie, QStringLiteral("Chaine"), QLatin1Char('"') + chaine + QLatin1Char('"'));
    config.WriteBool(kSaisie, QStringLiteral("NomAuto"), nomAuto);
    config.WriteString(kSaisie, QStringLiteral("DernierDossier"), dernierDossier);
}

void EditorMemory::WriteClosing(IniFile& config) const
{
    config.WriteBool(kSaisie, QStringLiteral("Retenir"), retenir);
    config.WriteInteger(kConfig, QStringLiteral("XSaisie"), x);
    config.WriteInteger(kConfig, QStringLiteral("YSaisie"), y);
}

} // namespace quorx
