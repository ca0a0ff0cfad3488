#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <unordered_map>
#include <vector>

namespace quorx {

// An initialisation file held in memory: sections and keys found without regard to case, the
// order of sections, keys, comments and unknown lines kept, one load and one atomic save per
// logical operation. Reading accepts UTF-8 and falls back to Windows-1252, so files brought from
// a Windows installation load; writing is always UTF-8.
class IniFile final
{
public:
    IniFile() = default;
    // Loads the file at once; a missing or unreadable file gives an empty one with this path.
    explicit IniFile(const QString& path);

    // Returns false when the file does not exist or cannot be read (the content is then empty).
    bool Load(const QString& path);
    void LoadFromBytes(const QByteArray& bytes);
    // Writes a temporary file beside the target, flushes it and renames it over the target, so an
    // interrupted save leaves the previous file whole. Creates the folder when needed. On failure
    // nothing is written and *error says why, naming the file or folder.
    bool Save(QString* error = nullptr) const;
    bool SaveAs(const QString& path, QString* error = nullptr) const;
    QByteArray ToBytes() const;

    const QString& Path() const { return m_path; }
    void SetPath(const QString& path) { m_path = path; }
    bool Exists() const { return m_existed; }

    bool HasSection(const QString& section) const;
    bool HasKey(const QString& section, const QString& key) const;
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;

    // The raw value with one pair of enclosing quotes removed; def when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def = QString()) const;
    // Decimal (or $/0x hexadecimal) 32-bit integer; def when missing or unreadable.
    int ReadInteger(const QString& section, const QString& key, int def = 0) const;
    qint64 ReadInt64(const QString& section, const QString& key, qint64 def = 0) const;
    // Any non-zero integer is true; def when missing or unreadable.
    bool ReadBool(const QString& section, const QString& key, bool def = false) const;
    double ReadFloat(const QString& section, const QString& key, double def = 0.0) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, qint64 value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);

    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);
    void Clear();

    // Decoding used for every text file the program reads from outside: UTF-16 with its byte order
    // mark, UTF-8 (with or without a mark, also when cut off inside a character), else Windows-1252.
    static QString DecodeText(const QByteArray& bytes);
    static QString DecodeWindows1252(const QByteArray& bytes);
    // How a value is written so that reading it back gives it unchanged (line breaks, which a
    // value cannot hold, become blanks).
    static QString EncodeValue(const QString& value);
    static QString DecodeValue(const QString& raw);
    static bool ParseInteger(const QString& text, qint64* out);

    // Test hook: called after the temporary file is written and before it replaces the target.
    static void SetBeforeCommitHookForTests(std::function<void()> hook);

private:
    // Names are found without regard to letter case, without building a lower-case copy of each
    // name looked up: reading a full schedule looks up thousands of keys.
    struct CaseBlindHash
    {
        using is_transparent = void;
        size_t operator()(QStringView text) const noexcept;
    };
    struct CaseBlindEqual
    {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept
        {
            return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
        }
    };
    using KeyIndex = std::unordered_map<QString, int, CaseBlindHash, CaseBlindEqual>;

    struct Line
    {
        QString key;    // empty for comments and other lines kept as they were
        QString value;  // the raw text after "=", or the whole line when key is empty
        bool removed = false;
    };
    struct Section
    {
        QString name;
        QVector<Line> lines;
        KeyIndex index; // key, letter case ignored -> its first line
        int removedLines = 0;      // deleted lines not yet swept away
        bool duplicateKeys = false;
        // The lines as the file holds them, in runs of kChunkLines, each kept until one of its
        // lines changes: a save that changes a few keys of a large file encodes only their runs.
        static constexpr qsizetype kChunkLines = 64;
        mutable std::vector<QByteArray> chunks;
        mutable std::vector<bool> chunkValid;
        void Changed(qsizetype line) const
        {
            const auto c = std::size_t(line / kChunkLines);
            if (c < chunkValid.size())
                chunkValid[c] = false;
        }
        void ChangedAll() const { chunkValid.clear(); }
        void Reindex();
        void Sweep();
        // Builds the runs that changed; returns the size of the section's text.
        qsizetype Encode() const;
        void AppendTo(QByteArray& out) const;
    };

    Section* FindSection(const QString& name);
    const Section* FindSection(const QString& name) const;
    const Line* FindLine(const QString& section, const QString& key) const;
    Section& EnsureSection(const QString& name);
    void ReindexSections();
    static void AppendLine(QString& out, const Line& line);

    QString m_path;
    bool m_existed = false;
    QVector<Line> m_preamble; // lines before the first section
    QVector<Section> m_sections;
    KeyIndex m_sectionIndex; // name, letter case ignored -> section
};

} // namespace quorx
