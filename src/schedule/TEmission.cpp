#include "schedule/TEmission.h"

namespace quorx {

void TEmission::Clear()
{
    const DateTime keptEffectiveStart = EffectiveStart;
    *this = TEmission();
    EffectiveStart = keptEffectiveStart;
}

QString TEmission::Title() const
{
    if (Programme.trimmed().isEmpty())
        return Chaine;
    return Programme + QStringLiteral(" - ") + Chaine;
}

} // namespace quorx
