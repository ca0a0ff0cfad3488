#include "common/FavouritesList.h"

#include "common/IniFile.h"

#include <QLatin1Char>

#include <algorithm>

namespace quorx {

namespace {

const QLatin1Char kQuote('"');

QString Unquote(QString text)
{
    if (text.startsWith(kQuote))
        text.remove(0, 1);
    if (text.endsWith(kQuote))
        text.chop(1);
    return text;
}

bool IsAllDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

FavouritesList::FavouritesList(QString section, QString countKey, QString entryStem, bool quoted)
    : m_section(std::move(section)), m_countKey(std::move(countKey)), m_entryStem(std::move(entryStem)),
      m_quoted(quoted)
{
}

void FavouritesList::Load(const IniFile& ini)
{
    m_entries.clear();
    // A damaged count must not make us read millions of keys.
    const int last = std::min(ini.ReadInteger(m_section, m_countKey, -1), kMaxEntries - 1);
    for (int i = 0; i <= last; ++i) {
        QString text = ini.ReadString(m_section, EntryKey(i));
        if (m_quoted)
            text = Unquote(text);
        if (!text.isEmpty() && !Contains(text))
            m_entries.append(text);
    }
}

void FavouritesList::Save(IniFile& ini) const
{
    const QStringList keys = ini.Keys(m_section);
    for (const QString& key : keys) {
        if (!key.startsWith(m_entryStem, Qt::CaseInsensitive))
            continue;
        const QStringView suffix = QStringView(key).sliced(m_entryStem.size());
        // Only keys of the form this list writes ("Dossier7", never "Dossier07").
        const bool entryKey =
            IsAllDigits(suffix) && (suffix.size() == 1 || suffix.front() != QLatin1Char('0'));
        if (entryKey && (suffix.size() > 9 || suffix.toInt() >= m_entries.size()))
            ini.DeleteKey(m_section, key);
    }
    ini.WriteInteger(m_section, m_countKey, m_entries.size() - 1);
    for (int i = 0; i < m_entries.size(); ++i)
        ini.WriteString(m_section, EntryKey(i), m_quoted ? kQuote + m_entries[i] + kQuote : m_entries[i]);
}

FavouritesList::AddResult FavouritesList::Add(const QString& text)
{
    if (text.isEmpty())
        return AddResult::Ignored;
    if (IsFull())
        return AddResult::Full;
    if (const int i = IndexOf(text); i >= 0)
        m_entries.removeAt(i);
    m_entries.append(text);
    return AddResult::Added;
}

bool FavouritesList::Remove(const QString& text)
{
    const int i = IndexOf(text);
    if (i < 0)
        return false;
    m_entries.removeAt(i);
    return true;
}

int FavouritesList::IndexOf(const QString& text) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool FavouritesList::ContainsExactly(const QString& text) const
{
    const int i = IndexOf(text);
    return i >= 0 && m_entries[i] == text;
}

} // namespace quorx
