#include "power/QuestionAppearance.h"

#include "common/Colours.h"
#include "schedule/Settings.h"

namespace quorx {

namespace {
constexpr int kPanelDarkening = -25;
}

QuestionAppearance QuestionAppearance::FromSettings(const Settings& settings)
{
    QuestionAppearance look;
    look.caption = CaptionFor(settings.NomInstance);
    look.panelColour = PanelColourFor(settings.Couleur);
    look.textColour = ContrastTextColour(look.panelColour);
    look.showHints = settings.AideContextuelle;
    return look;
}

QString QuestionAppearance::CaptionFor(const QString& instanceName)
{
    QString caption = QStringLiteral("Vizezezoruvav Zomvara");
    const QString name = instanceName.trimmed();
    if (!name.isEmpty())
        caption += QStringLiteral(" - ") + name;
    return caption;
}

quint32 QuestionAppearance::PanelColourFor(qint32 couleur)
{
    const quint32 rgb = ResolveColour(static_cast<quint32>(couleur));
    return AdjustLuminance(rgb, kPanelDarkening);
}

} // namespace quorx
