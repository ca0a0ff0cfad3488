#pragma once

#include <QString>
#include <QStringList>

namespace quorx {

class IniFile;

// A remembered list of texts (folders, command lines, addresses, guide sources) kept in one
// section of an initialisation file: a count key holding the number of entries minus one (-1 for
// none) and one key per entry, the entry stem followed by 0, 1, ... Entries are unique without
// regard to letter case.
class FavouritesList final
{
public:
    static constexpr int kMaxEntries = 513;

    enum class AddResult
    {
        Added,   // appended, or moved to the end in place of the entry that matched it
        Full,    // refused: the list holds kMaxEntries already (localised message 100)
        Ignored, // an empty text is never an entry
    };

    // quoted: entries are written between double quotes and lose one leading and one trailing
    // quote on reading, as the channel list stores its names.
    FavouritesList(QString section, QString countKey, QString entryStem, bool quoted = false);

    // Entries 0 to the count key, empty ones skipped, repeats (in any letter case) kept once.
    void Load(const IniFile& ini);
    // Writes the count and the entries, and removes entry keys left over from a longer list.
    // The other keys of the section are left alone.
    void Save(IniFile& ini) const;

    AddResult Add(const QString& text);
    // False when no entry matches.
    bool Remove(const QString& text);
    void Clear() { m_entries.clear(); }

    // Position of the entry equal to text without regard to case, -1 when none.
    int IndexOf(const QString& text) const;
    bool Contains(const QString& text) const { return IndexOf(text) >= 0; }
    // True when text is an entry with exactly this spelling.
    bool ContainsExactly(const QString& text) const;
    bool IsFull() const { return m_entries.size() >= kMaxEntries; }

    const QStringList& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }

    const QString& Section() const { return m_section; }
    const QString& CountKey() const { return m_countKey; }
    const QString& EntryStem() const { return m_entryStem; }

private:
    QString EntryKey(int index) const { return m_entryStem + QString::number(index); }

    QString m_section;
    QString m_countKey;
    QString m_entryStem;
    bool m_quoted = false;
    QStringList m_entries;
};

} // namespace quorx
