#include "channels/ChannelPreferences.h"

#include "schedule/TEmission.h"

namespace quorx {

void ChannelPreferences::SetPowerBox(AfterRecordingBox box, bool ticked)
{
    if (box == AfterRecordingBox::None)
        return;
    if (ticked) {
        Veille = box == AfterRecordingBox::Veille;
        VeillePro = box == AfterRecordingBox::VeillePro;
        Eteindre = box == AfterRecordingBox::Eteindre;
        return;
    }
    switch (box) {
    case AfterRecordingBox::Veille:
        Veille = false;
        break;
    case AfterRecordingBox::VeillePro:
        VeillePro = false;
        break;
    case AfterRecordingBox::Eteindre:
        Eteindre = false;
        break;
    case AfterRecordingBox::None:
        break;
    }
}

AfterRecordingBox ChannelPreferences::Power() const
{
    if (Veille)
        return AfterRecordingBox::Veille;
    if (VeillePro)
        return AfterRecordingBox::VeillePro;
    if (Eteindre)
        return AfterRecordingBox::Eteindre;
    return AfterRecordingBox::None;
}

QString ProfilePrefix(PreferenceProfile profile)
{
    return profile == PreferenceProfile::Repeating ? QStringLiteral("Rep") : QString();
}

PreferenceProfile ProfileOf(const TEmission& recording)
{
    return recording.IsRepeating() ? PreferenceProfile::Repeating : PreferenceProfile::OneOff;
}

RecordingFormat FormatOfExtension(const QString& extension)
{
    if (extension.compare(QLatin1String(".Pva"), Qt::CaseInsensitive) == 0)
        return RecordingFormat::Pva;
    if (extension.compare(QLatin1String(".Mpa"), Qt::CaseInsensitive) == 0)
        return RecordingFormat::Mpa;
    return RecordingFormat::Mpg;
}

QString ExtensionOf(RecordingFormat format)
{
    switch (format) {
    case RecordingFormat::Pva:
        return QStringLiteral(".Pva");
    case RecordingFormat::Mpa:
        return QStringLiteral(".Mpa");
    case RecordingFormat::Mpg:
        break;
    }
    return QStringLiteral(".Mpg");
}

} // namespace quorx
