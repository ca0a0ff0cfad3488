#include "engine/RecordingFileName.h"

#include "schedule/TEmission.h"
#include "viewer/ViewerIni.h"

namespace quorx {

QString RecordingFileName::FolderPart(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString RecordingFileName::ExtensionOf(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString RecordingFileName::DatePart(DateTime now, bool withoutYear)
{
    QString date = now.DateText();
    if (withoutYear)
        date.chop(5);
    return QLatin1Char('_') + date.replace(QLatin1Char('/'), QLatin1Char('-'));
}

QString RecordingFileName::TimePart(DateTime now)
{
    return QLatin1Char('_') + now.TimeText().replace(QLatin1Char(':'), QLatin1Char('-'));
}

RecordingFileName::Result RecordingFileName::Build(const TEmission& record, const Inputs& in)
{
    Result result;
    result.fichier = record.Fichier;
    const QString folder = FolderPart(record.Fichier);
    const QString extension = ExtensionOf(record.Fichier);
    const QString fileName = record.Fichier.mid(folder.size());
    const QString name = fileName.left(fileName.size() - extension.size());

    QString base = folder + name;
    const bool folderUsable = !folder.isEmpty() && (!in.ensureFolder || in.ensureFolder(folder));
    if (!folderUsable) {
        base = in.driveRoot + name;
        result.fichier = base + extension;
    }
    if (record.AjouterChaine)
        base += QLatin1Char('_') + record.Chaine;
    if (record.AjouterDate)
        base += DatePart(in.now, in.sansAnnee);
    if (record.AjouterHeure)
        base += TimePart(in.now);

    const QString viewerExtension = ViewerIni::ExtensionOfRecType(in.viewerRecType);
    QString finalExtension = extension;
    // A blank extension leaves the viewer on its own format, so nothing has changed for it.
    if (extension.isEmpty()) {
        finalExtension = viewerExtension;
    } else if (extension.compare(viewerExtension, Qt::CaseInsensitive) != 0) {
        result.formatChanged = true;
        result.newRecType = ViewerIni::RecTypeOfExtension(extension);
    }

    QString path = base + finalExtension;
    if (in.nePasEcraser && in.exists) {
        // Each attempt adds its number to the previous one, so a collision can never repeat forever.
        for (int guard = 0; in.exists(path) && guard < 10000; ++guard) {
            base += QLatin1Char('_') + QString::number(in.random ? in.random() : guard % 1024);
            path = base + finalExtension;
        }
    }
    result.path = path;
    return result;
}

} // namespace quorx
