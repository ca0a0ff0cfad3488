#include "channels/ChannelNameList.h"

namespace quorx {

ChannelNameList::Key ChannelNameList::KeyOf(const QString& name)
{
    Key key;
    key.folded = name.toCaseFolded();
    const QString decomposed = key.folded.normalized(QString::NormalizationForm_D);
    key.base.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            key.base.append(c);
    }
    return key;
}

int ChannelNameList::CompareKeys(const Key& a, const Key& b)
{
    if (const int c = a.base.compare(b.base); c != 0)
        return c;
    return a.folded.compare(b.folded);
}

int ChannelNameList::Compare(const QString& a, const QString& b)
{
    return CompareKeys(KeyOf(a), KeyOf(b));
}

int ChannelNameList::LowerBound(const Key& key) const
{
    int lo = 0;
    int hi = static_cast<int>(m_keys.size());
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (CompareKeys(m_keys[mid], key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool ChannelNameList::Insert(const QString& name)
{
    if (name.trimmed().isEmpty())
        return false;
    Key key = KeyOf(name);
    const int pos = LowerBound(key);
    if (pos < m_keys.size() && CompareKeys(m_keys[pos], key) == 0)
        return false;
    m_names.insert(pos, name);
    m_keys.insert(pos, std::move(key));
    return true;
}

bool ChannelNameList::Remove(const QString& name)
{
    const int pos = IndexOf(name);
    if (pos < 0)
        return false;
    m_names.removeAt(pos);
    m_keys.removeAt(pos);
    return true;
}

void ChannelNameList::Clear()
{
    m_names.clear();
    m_keys.clear();
}

int ChannelNameList::IndexOf(const QString& name) const
{
    const Key key = KeyOf(name);
    const int pos = LowerBound(key);
    return pos < m_keys.size() && CompareKeys(m_keys[pos], key) == 0 ? pos : -1;
}

} // namespace quorx
