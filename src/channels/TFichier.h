#pragma once

#include <QString>

namespace quorx {

// One catalogued list file of the viewer: its path, the list name from its header (blank when the
// header holds none) and whether the header marks it as a favourites list.
struct TFichier
{
    QString Path;
    QString Name;
    bool Favourites = false;

    // What the list selector shows: the list name, or the path when the name is blank.
    QString DisplayName() const { return Name.trimmed().isEmpty() ? Path : Name; }

    friend bool operator==(const TFichier&, const TFichier&) = default;
};

} // namespace quorx
