#pragma once

#include "common/DateTime.h"

#include <QString>

#include <functional>

namespace quorx {

struct TEmission;

// The file a recording goes to, built when it starts from its Fichier, the parts the user asked
// to add, the viewer's recording format and the rule against overwriting.
class RecordingFileName final
{
public:
    struct Inputs
    {
        DateTime now;
        bool sansAnnee = false;    // the date part without its year
        bool nePasEcraser = false; // never overwrite an existing file
        QString driveRoot;         // the drive of the scheduler's executable, with a final "/"
        int viewerRecType = 1;     // RecType of Zomvara.Ini
        // Creates the folder with its missing parents; true when it exists afterwards.
        std::function<bool(const QString& folder)> ensureFolder;
        std::function<bool(const QString& path)> exists;
        // A whole number from 0 to 1023.
        std::function<int()> random;
    };

    struct Result
    {
        QString path;          // the file the viewer is told to record into
        QString fichier;       // Fichier as it stands afterwards (it changes when its folder was unusable)
        bool formatChanged = false;
        int newRecType = -1;   // the RecType to write into Zomvara.Ini; -1 when it stays
    };

    static Result Build(const TEmission& record, const Inputs& in);

    // The folder part of a path with its final "/", empty when it has none.
    static QString FolderPart(const QString& path);
    // The extension with its dot, empty when the name has none.
    static QString ExtensionOf(const QString& path);
    // "_" and the date as the short date shows it, "-" for "/"; without the year when asked.
    static QString DatePart(DateTime now, bool withoutYear);
    static QString TimePart(DateTime now);
};

} // namespace quorx
