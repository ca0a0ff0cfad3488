#pragma once

#include <QString>

namespace quorx {

// The texts the program builds at run time: 226 slots with French defaults, replaced entry by
// entry by the interface language's file. Main thread only.
class LocalisedStrings
{
public:
    static constexpr int kCount = 226;

    // The text of a slot; empty for an index outside the table.
    static QString Get(int index);
    // A language file replaces a slot only with a non-empty text.
    static void Set(int index, const QString& text);
    static QString FrenchDefault(int index);
    static void ResetToDefaults();
};

// Short form used wherever a message is built.
inline QString Ls(int index) { return LocalisedStrings::Get(index); }

} // namespace quorx
