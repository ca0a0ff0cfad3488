#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace quorx {

// A sorted list of channel names in which letter case does not count: a name is held once, in
// the spelling it was first added with. The order ignores case and accents ("Équipe" sorts with
// the E), so the lists read the same whatever the letters' case or the machine's locale.
class ChannelNameList final
{
public:
    ChannelNameList() = default;

    // Negative, zero or positive as a sorts before, with or after b; zero only for names equal
    // without regard to case.
    static int Compare(const QString& a, const QString& b);

    // Adds a name at its place; false when it is blank or already there in any letter case.
    bool Insert(const QString& name);
    // Removes the name in any letter case; false when it was not there.
    bool Remove(const QString& name);
    void Clear();

    int IndexOf(const QString& name) const;
    bool Contains(const QString& name) const { return IndexOf(name) >= 0; }
    int Count() const { return static_cast<int>(m_names.size()); }
    bool IsEmpty() const { return m_names.isEmpty(); }
    const QStringList& Names() const { return m_names; }

private:
    struct Key
    {
        QString base;   // case folded, accents removed
        QString folded; // case folded
    };
    static Key KeyOf(const QString& name);
    static int CompareKeys(const Key& a, const Key& b);
    // The first position whose key is not before key.
    int LowerBound(const Key& key) const;

    QStringList m_names;
    QVector<Key> m_keys;
};

} // namespace quorx
