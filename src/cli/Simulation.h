#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QStringList>

namespace quorx::cli {

// The scheduler run for one program folder from one moment to another on the virtual clock, with
// the simulated viewer, nobody at the screen and a computer that sleeps when told to.
struct SimulationOptions
{
    DateTime from;
    DateTime until;
    QString viewerMode = QStringLiteral("ok"); // ok, silent or vanish=SECONDS
    double rateKiBPerSecond = 1024.0;
};

class Simulation final
{
public:
    // The acts, one tab-separated line each, in time order. False with the reason when the run could
    // not start (bad viewer mode, no viewer) or its files could not be written at the end.
    static bool Run(const QString& programFolder, const SimulationOptions& options, QStringList* acts,
                    QString* error);
};

} // namespace quorx::cli
