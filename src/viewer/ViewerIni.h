#pragma once

#include <QString>

namespace quorx {

// The viewer's settings file, Zomvara.Ini in the viewer folder, as far as the scheduler uses it.
class ViewerIni final
{
public:
    static QString PathIn(const QString& viewerFolder);

    // What the scheduler settles at every start: the viewer starts on no channel of its own and
    // without a splash, and its recording folder exists. A folder that is not absolute, or that
    // neither exists nor can be created, is replaced by fallbackRecordDir. Nothing is written
    // when the viewer folder does not exist or nothing changed. False with a reason when the
    // file could not be saved.
    static bool PrepareForScheduler(const QString& viewerFolder, const QString& fallbackRecordDir,
                                    QString* error = nullptr);
    // The user's home folder, which always exists and can be written to.
    static QString DefaultFallbackRecordDir();

    // [AVManager] RecordDir, fallback when missing.
    static QString RecordDir(const QString& viewerFolder, const QString& fallback);
    // [AVManager] RecType, 1 when missing.
    static int RecType(const QString& viewerFolder);
    static bool WriteRecType(const QString& viewerFolder, int recType, QString* error = nullptr);

    // 1 ".Pva", 2 ".Mpa", any other ".Mpg".
    static QString ExtensionOfRecType(int recType);
    // ".Pva" 1, ".Mpa" 2, any other extension 0; case ignored, with or without the dot.
    static int RecTypeOfExtension(const QString& extension);
};

} // namespace quorx
