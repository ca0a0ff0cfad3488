#include "startup/ProgramTitles.h"

namespace quorx {

QString ProgramTitles::ApplicationTitle()
{
    return QStringLiteral("Vizezezoruvav Zomvara");
}

QString ProgramTitles::Version()
{
    return QStringLiteral("5.01.000");
}

QString ProgramTitles::MainCaption(const QString& nomInstance)
{
    const QString caption = ApplicationTitle() + QLatin1Char(' ') + Version() + QStringLiteral(" R010");
    if (nomInstance.isEmpty())
        return caption;
    return caption + QStringLiteral("  |  ") + nomInstance;
}

} // namespace quorx
