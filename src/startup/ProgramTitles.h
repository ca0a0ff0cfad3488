#pragma once

#include <QString>

namespace quorx {

// The names the program shows for itself.
class ProgramTitles final
{
public:
    static QString ApplicationTitle();
    static QString Version();
    // "Vizezezoruvav Zomvara 5.01.000 R010", followed by "  |  " and the instance name when one
    // is set, so that copies run side by side can be told apart.
    static QString MainCaption(const QString& nomInstance);
};

} // namespace quorx
