#pragma once

#include <QString>

namespace quorx {

class IniFile;

// What the editor remembers between two openings, in Config.Ini: the last channel, the automatic
// file name, whether the channel defaults apply to all recordings of the channel, the last folder
// (section [Saisie]) and the window position (section [Config]).
struct EditorMemory
{
    QString chaine;
    bool nomAuto = true;
    bool retenir = true;
    QString dernierDossier;
    int x = -1; // -1: centred on the screen
    int y = -1;

    static EditorMemory Read(const IniFile& config);
    // What a validation writes: the last channel, NomAuto and the last folder.
    void WriteValidation(IniFile& config) const;
    // What closing the editor writes: Retenir and the position.
    void WriteClosing(IniFile& config) const;
};

} // namespace quorx
