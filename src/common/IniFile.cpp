#include "common/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace quorx {

namespace {

std::function<void()>& BeforeCommitHook()
{
    static std::function<void()> hook;
    return hook;
}

// The printable characters Windows-1252 puts where Latin-1 has control codes. The five bytes
// it leaves undefined keep their Latin-1 code point, as Windows itself decodes them, so that
// such a byte survives a load and save instead of turning into a replacement character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsValidUtf8(QByteArrayView data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8.decode(data);
    Q_UNUSED(ignored);
    return !utf8.hasError();
}

// Bytes at the end that begin a multi-byte UTF-8 sequence and stop before it is complete, as a
// file cut off in the middle of a character has them; 0 when the end is whole.
qsizetype IncompleteUtf8Tail(QByteArrayView data)
{
    const qsizetype n = data.size();
    for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(data[n - back]);
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead byte
        int needed = 0;
        if ((b & 0xE0) == 0xC0)
            needed = 2;
        else if ((b & 0xF0) == 0xE0)
            needed = 3;
        else if ((b & 0xF8) == 0xF0)
            needed = 4;
        return needed > back ? back : 0;
    }
    return 0;
}

// Keys and section names are looked up as Windows does: blanks around them do not count, letter
// case does not either.
QStringView Folded(const QString& name) { return QStringView(name).trimmed(); }

} // namespace

IniFile::IniFile(const QString& path) { Load(path); }

size_t IniFile::CaseBlindHash::operator()(QStringView text) const noexcept
{
    size_t h = 1469598103934665603ull;
    for (const QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80) {
            if (u >= u'A' && u <= u'Z')
                u = char16_t(u + 32);
        } else {
            u = ch.toCaseFolded().unicode();
        }
        h = (h ^ u) * 1099511628211ull;
    }
    return h;
}

void IniFile::Section::Reindex()
{
    index.clear();
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].key.isEmpty())
            index.emplace(lines[i].key, i); // the first of two equal keys is the one read
    }
}

void IniFile::Section::Sweep()
{
    ChangedAll();
    lines.removeIf([](const Line& l) { return l.removed; });
    removedLines = 0;
    Reindex();
}

void IniFile::ReindexSections()
{
    m_sectionIndex.clear();
    for (int i = 0; i < m_sections.size(); ++i) {
        m_sectionIndex.emplace(m_sections[i].name, i);
    }
}

QString IniFile::DecodeWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0)
            out.append(QChar(kCp1252High[b - 0x80]));
        else
            out.append(QChar(static_cast<char16_t>(b)));
    }
    return out;
}

QString IniFile::DecodeText(const QByteArray& bytes)
{
    // Notepad's "Unicode" files, which Windows reads as well.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return utf16.decode(QByteArrayView(bytes).sliced(2));
    }
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    if (IsValidUtf8(data))
        return QString::fromUtf8(data);
    // A UTF-8 file cut off inside a character is still UTF-8: reading the whole of it as
    // Windows-1252 would garble every accented letter, and the next save would keep them garbled.
    // Only a file that shows UTF-8 accents before the cut counts as one: a Windows file whose one
    // accented letter is its very last byte ("Café" without a line end) must keep that letter.
    if (const qsizetype tail = IncompleteUtf8Tail(data); tail > 0) {
        const QByteArrayView whole = data.chopped(tail);
        const bool hasMultiByte = std::any_of(whole.begin(), whole.end(),
                                              [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
        if (hasMultiByte && IsValidUtf8(whole))
            return QString::fromUtf8(whole);
    }
    return DecodeWindows1252(data.toByteArray());
}

bool IniFile::Load(const QString& path)
{
    m_path = path;
    Clear();
    QFile file(path);
    m_existed = file.exists();
    if (!file.open(QIODevice::ReadOnly)) {
        m_existed = false;
        return false;
    }
    LoadFromBytes(file.readAll());
    return true;
}

void IniFile::LoadFromBytes(const QByteArray& bytes)
{
    Clear();
    const QString text = DecodeText(bytes);
    Section* current = nullptr;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = n;
        QStringView line = QStringView(text).mid(pos, end - pos);
        pos = end + 1;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed().toString();
            if (Section* existing = FindSection(name)) {
                current = existing;
            } else {
                Section fresh;
                fresh.name = name;
                m_sections.append(std::move(fresh));
                m_sectionIndex.emplace(name, int(m_sections.size() - 1));
                current = &m_sections.last();
            }
            continue;
        }
        Line entry;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !trimmed.startsWith(QLatin1Char(';')) && !line.left(eq).trimmed().isEmpty()) {
            entry.key = line.left(eq).trimmed().toString();
            entry.value = line.mid(eq + 1).toString();
        } else {
            if (trimmed.isEmpty())
                continue; // blank lines are not kept; the writer separates sections itself
            entry.value = line.toString();
        }
        if (current) {
            current->ChangedAll();
            current->lines.append(entry);
            if (!entry.key.isEmpty()) {
                if (!current->index.emplace(entry.key, int(current->lines.size() - 1)).second)
                    current->duplicateKeys = true;
            }
        } else {
            m_preamble.append(entry);
        }
    }
}

void IniFile::AppendLine(QString& out, const Line& line)
{
    if (!line.key.isEmpty()) {
        out.append(line.key);
        out.append(QLatin1Char('='));
    }
    out.append(line.value);
    out.append(QLatin1String("\r\n"));
}

qsizetype IniFile::Section::Encode() const
{
    const auto count = std::size_t((lines.size() + kChunkLines - 1) / kChunkLines);
    chunks.resize(count);
    chunkValid.resize(count, false);
    qsizetype size = name.size() + 4;
    QString text;
    for (std::size_t c = 0; c < count; ++c) {
        if (!chunkValid[c]) {
            const qsizetype first = qsizetype(c) * kChunkLines;
            const qsizetype end = std::min(first + kChunkLines, lines.size());
            text.resize(0);
            for (qsizetype i = first; i < end; ++i) {
                if (!lines[i].removed)
                    AppendLine(text, lines[i]);
            }
            chunks[c] = text.toUtf8();
            chunkValid[c] = true;
        }
        size += chunks[c].size();
    }
    return size;
}

void IniFile::Section::AppendTo(QByteArray& out) const
{
    out.append('[');
    out.append(name.toUtf8());
    out.append("]\r\n", 3);
    for (const QByteArray& chunk : chunks)
        out.append(chunk);
}

QByteArray IniFile::ToBytes() const
{
    QString preamble;
    for (const Line& l : m_preamble)
        AppendLine(preamble, l);
    QByteArray out = preamble.toUtf8();
    qsizetype size = out.size();
    for (const Section& s : m_sections)
        size += s.Encode() + 2;
    out.reserve(size);
    bool first = m_preamble.isEmpty();
    for (const Section& s : m_sections) {
        if (!first)
            out.append("\r\n", 2);
        first = false;
        s.AppendTo(out);
    }
    return out;
}

bool IniFile::Save(QString* error) const { return SaveAs(m_path, error); }

bool IniFile::SaveAs(const QString& path, QString* error) const
{
    const auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (path.isEmpty())
        return fail(
            QStringLiteral("Impossible d'enregistrer le fichier : aucun nom de fichier n'a été indiqué."));
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder))
        return fail(
            QStringLiteral("Impossible de créer le dossier « %1 ».").arg(QDir::toNativeSeparators(folder)));
    const QString cannotSave = QStringLiteral("Impossible d'enregistrer le fichier « %1 » : %2")
                                   .arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    QSaveFile file(path);
    // Unbuffered, a short write (a full disk) shows in write()'s count: through the buffer, a small
    // file cut short on a full disk was flushed by commit() without any error and replaced the
    // previous file truncated.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(cannotSave.arg(file.errorString()));
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(cannotSave.arg(reason));
    }
    if (BeforeCommitHook())
        BeforeCommitHook()();
    if (!file.commit())
        return fail(cannotSave.arg(file.errorString()));
    return true;
}

void IniFile::SetBeforeCommitHookForTests(std::function<void()> hook) { BeforeCommitHook() = std::move(hook); }

IniFile::Section* IniFile::FindSection(const QString& name)
{
    const auto it = m_sectionIndex.find(Folded(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const IniFile::Section* IniFile::FindSection(const QString& name) const
{
    const auto it = m_sectionIndex.find(Folded(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const IniFile::Line* IniFile::FindLine(const QString& section, const QString& key) const
{
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    const auto it = s->index.find(Folded(key));
    return it == s->index.end() ? nullptr : &s->lines[it->second];
}

IniFile::Section& IniFile::EnsureSection(const QString& name)
{
    if (Section* s = FindSection(name))
        return *s;
    Section fresh;
    fresh.name = name.trimmed();
    m_sections.append(std::move(fresh));
    m_sectionIndex.emplace(Folded(name).toString(), int(m_sections.size() - 1));
    return m_sections.last();
}

bool IniFile::HasSection(const QString& section) const { return FindSection(section) != nullptr; }

bool IniFile::HasKey(const QString& section, const QString& key) const { return FindLine(section, key) != nullptr; }

QStringList IniFile::Sections() const
{
    QStringList names;
    for (const Section& s : m_sections)
        names << s.name;
    return names;
}

QStringList IniFile::Keys(const QString& section) const
{
    QStringList keys;
    if (const Section* s = FindSection(section)) {
        for (const Line& l : s->lines)
            if (!l.key.isEmpty())
                keys << l.key;
    }
    return keys;
}

QString IniFile::EncodeValue(const QString& value)
{
    QString v = value;
    // A value is one line; line breaks would split it into a key of their own.
    if (v.contains(QLatin1Char('\n')) || v.contains(QLatin1Char('\r'))) {
        v.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        v.replace(QLatin1Char('\n'), QLatin1Char(' '));
        v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    // Whatever trimmed() takes away on reading (no-break spaces included) must be protected.
    const bool blankEdge = !v.isEmpty() && (v.front().isSpace() || v.back().isSpace());
    const bool quoted = v.size() >= 2 && v.front() == QLatin1Char('"') && v.back() == QLatin1Char('"');
    if (blankEdge || quoted)
        return QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

QString IniFile::DecodeValue(const QString& raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2 && v.front() == QLatin1Char('"') && v.back() == QLatin1Char('"'))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool IniFile::ParseInteger(const QString& text, qint64* out)
{
    const QString t = text.trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok)
        return false;
    *out = v;
    return true;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const Line* l = FindLine(section, key);
    return l ? DecodeValue(l->value) : def;
}

qint64 IniFile::ReadInt64(const QString& section, const QString& key, qint64 def) const
{
    const Line* l = FindLine(section, key);
    qint64 v = 0;
    if (!l || !ParseInteger(DecodeValue(l->value), &v))
        return def;
    return v;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const Line* l = FindLine(section, key);
    qint64 v = 0;
    if (!l || !ParseInteger(DecodeValue(l->value), &v))
        return def;
    // Hexadecimal colours such as $FF00001C are 32-bit patterns, read as Windows does.
    if (v > 0x7FFFFFFFLL && v <= 0xFFFFFFFFLL)
        return static_cast<int>(static_cast<quint32>(v));
    if (v > 0x7FFFFFFFLL || v < -0x80000000LL)
        return def;
    return static_cast<int>(v);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    const Line* l = FindLine(section, key);
    qint64 v = 0;
    if (!l || !ParseInteger(DecodeValue(l->value), &v))
        return def;
    return v != 0;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const Line* l = FindLine(section, key);
    if (!l)
        return def;
    QString t = DecodeValue(l->value);
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    // toDouble accepts "nan" and "inf", which no rule of the program can work with.
    return ok && std::isfinite(v) ? v : def;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Section& s = EnsureSection(section);
    const QString encoded = EncodeValue(value);
    const auto it = s.index.find(Folded(key));
    if (it != s.index.end()) {
        s.lines[it->second].value = encoded;
        s.Changed(it->second);
        return;
    }
    s.Changed(s.lines.size());
    s.lines.append(Line{key.trimmed(), encoded});
    s.index.emplace(s.lines.last().key, int(s.lines.size() - 1));
}

void IniFile::WriteInteger(const QString& section, const QString& key, qint64 value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    WriteString(section, key, QString::number(value, 'g', 17));
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
    Section* s = FindSection(section);
    if (!s)
        return;
    const QStringView folded = Folded(key);
    const auto found = s->index.find(folded);
    if (found == s->index.end())
        return; // the index holds the first line of every key, so there is no line to remove
    // Emptying a whole schedule deletes thousands of keys one by one: lines are only marked
    // here, and swept away together once they make up half of the section.
    const auto remove = [s](qsizetype i) {
        s->lines[i] = Line{};
        s->lines[i].removed = true;
        ++s->removedLines;
        s->Changed(i);
    };
    if (s->duplicateKeys) {
        for (qsizetype i = found->second + 1; i < s->lines.size(); ++i) {
            if (!s->lines[i].key.isEmpty() && CaseBlindEqual()(s->lines[i].key, folded))
                remove(i);
        }
    }
    remove(found->second);
    s->index.erase(found);
    if (s->removedLines * 2 > s->lines.size())
        s->Sweep();
}

void IniFile::EraseSection(const QString& section)
{
    const QStringView wanted = Folded(section);
    bool removed = false;
    for (int i = int(m_sections.size()) - 1; i >= 0; --i) {
        if (CaseBlindEqual()(m_sections[i].name, wanted)) {
            m_sections.removeAt(i);
            removed = true;
        }
    }
    if (removed)
        ReindexSections();
}

void IniFile::Clear()
{
    m_preamble.clear();
    m_sections.clear();
    m_sectionIndex.clear();
}

} // namespace quorx
