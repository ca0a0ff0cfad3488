#include "startup/FileTypeRegistration.h"

#include "platform/Processes.h"
#include "startup/ProgramTitles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quorx {

namespace {

bool WriteAtomically(const QString& path, const QByteArray& content)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray XmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

// A desktop entry string value: backslashes and control characters escaped, and a leading blank
// kept from being trimmed away.
QString EntryValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char(' ') && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

} // namespace

FileTypeRegistration::FileTypeRegistration(Processes& processes, const QString& dataHome)
    : m_processes(processes), m_dataHome(dataHome.isEmpty() ? DefaultDataHome() : QDir::cleanPath(dataHome))
{
}

QString FileTypeRegistration::DefaultDataHome()
{
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.isEmpty() && QDir::isAbsolutePath(data))
        return QDir::cleanPath(data);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString FileTypeRegistration::MimePackagePath() const
{
    return m_dataHome + QStringLiteral("/mime/packages/quorx.xml");
}

QString FileTypeRegistration::DesktopFilePath() const
{
    return m_dataHome + QStringLiteral("/applications/quorx.desktop");
}

QByteArray FileTypeRegistration::MimePackage()
{
    const QByteArray comment = XmlEscaped(ProgramTitles::ApplicationTitle() + QStringLiteral(" programs"));
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"") +
           kMimeType +
           QByteArrayLiteral("\">\n"
                             "    <comment>") +
           comment +
           QByteArrayLiteral("</comment>\n"
                             "    <glob pattern=\"*.quorx\" case-sensitive=\"false\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n");
}

QString FileTypeRegistration::ExecArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool quote = text.isEmpty();
    for (const QChar c : text)
        quote = quote || reserved.contains(c);
    if (!quote)
        return text;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QByteArray FileTypeRegistration::DesktopEntry(const QString& executablePath, const QStringList& arguments,
                                              const QString& icon)
{
    QStringList exec{ExecArgument(executablePath)};
    for (const QString& argument : arguments)
        exec.append(ExecArgument(argument));
    exec.append(QStringLiteral("%f"));

    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Name=") +
                    EntryValue(ProgramTitles::ApplicationTitle()) + QStringLiteral("\nExec=") +
                    EntryValue(exec.join(QLatin1Char(' '))) + QLatin1Char('\n');
    if (!icon.isEmpty())
        entry += QStringLiteral("Icon=") + EntryValue(icon) + QLatin1Char('\n');
    entry += QStringLiteral("MimeType=") + QLatin1String(kMimeType) +
             QStringLiteral(";\n"
                            "Terminal=false\n"
                            "Categories=AudioVideo;Video;TV;\n");
    return entry.toUtf8();
}

bool FileTypeRegistration::Register(const QString& executablePath, const QStringList& arguments,
                                    const QString& icon)
{
    const bool mime = WriteAtomically(MimePackagePath(), MimePackage());
    if (mime)
        StartTool(QStringLiteral("update-mime-database"), m_dataHome + QStringLiteral("/mime"));
    const bool desktop = WriteAtomically(DesktopFilePath(), DesktopEntry(executablePath, arguments, icon));
    if (desktop)
        StartTool(QStringLiteral("update-desktop-database"), m_dataHome + QStringLiteral("/applications"));
    return mime && desktop;
}

void FileTypeRegistration::StartTool(const QString& name, const QString& folder)
{
    const QString tool = QStandardPaths::findExecutable(name, m_toolFolders);
    if (tool.isEmpty())
        return;
    m_processes.Launch(tool, {folder}, m_dataHome, ShowState::Hidden, false);
}

} // namespace quorx
