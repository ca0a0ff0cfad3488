#include "viewer/ViewerSetup.h"

#include "i18n/LocalisedStrings.h"
#include "schedule/Settings.h"
#include "viewer/ViewerIni.h"

#include <QFileInfo>

namespace quorx {

namespace {
constexpr int kCannotStartText =
    92; // "Zomvara ne se trouve pas dans le dossier indiqué. ... ne peut démarrer."
}

ViewerSetup::Outcome ViewerSetup::Settle(Settings& settings, const ViewerSearchRoots& roots,
                                         const std::function<QString(const QString&)>& askFolder,
                                         const QString& fallbackRecordDir)
{
    ViewerLocator::Result located = ViewerLocator::SettleExecutable(settings.CheminZomvara, roots);
    if (!located.found && askFolder) {
        const QString folder = ViewerLocator::FolderPartOf(askFolder(located.executable));
        if (ViewerLocator::FolderHoldsViewer(folder)) {
            settings.CheminZomvara = folder;
            located = ViewerLocator::SettleExecutable(settings.CheminZomvara, roots);
        }
    }
    Outcome outcome;
    outcome.found = located.found;
    outcome.executable = located.executable;
    if (!located.found) {
        outcome.message = Ls(kCannotStartText);
        return outcome;
    }
    ViewerIni::PrepareForScheduler(QFileInfo(located.executable).absolutePath(), fallbackRecordDir);
    return outcome;
}

} // namespace quorx
