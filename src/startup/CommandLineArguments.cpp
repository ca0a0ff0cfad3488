#include "startup/CommandLineArguments.h"

#include <QDir>
#include <QFileInfo>

namespace quorx {

namespace {

const QChar kQuote = QLatin1Char('"');
const QChar kBlank = QLatin1Char(' ');

QString WithoutEnclosingQuotes(const QString& text)
{
    if (text.size() >= 2 && text.front() == kQuote && text.back() == kQuote)
        return text.mid(1, text.size() - 2);
    return text;
}

} // namespace

QString CommandLineArguments::FirstStartListFile(const QStringList& positionalArguments)
{
    if (positionalArguments.isEmpty() || positionalArguments.front().isEmpty())
        return QString();
    const QFileInfo info(positionalArguments.front());
    if (!info.exists() || info.isDir())
        return QString();
    return info.absoluteFilePath();
}

QString CommandLineArguments::HandOverLine(const QString& programPath, const QString& argument,
                                           const QString& workingFolder)
{
    const QString program = kQuote + programPath + kQuote;
    if (argument.isEmpty())
        return program;
    const QString absolute = QDir::isAbsolutePath(argument)
                                 ? argument
                                 : QDir::cleanPath(QDir(workingFolder).absoluteFilePath(argument));
    return program + kBlank + absolute;
}

QString CommandLineArguments::ArgumentOfHandOverLine(const QString& line, const QString& programPath)
{
    QString rest;
    if (line.startsWith(kQuote)) {
        const qsizetype close = line.indexOf(kQuote, 1);
        if (close < 0)
            return QString();
        rest = line.mid(close + 1);
    } else if (!programPath.isEmpty() && line.startsWith(programPath + kBlank)) {
        rest = line.mid(programPath.size());
    } else {
        return QString();
    }
    if (rest.startsWith(kBlank))
        rest.remove(0, 1);
    return WithoutEnclosingQuotes(rest);
}

bool CommandLineArguments::IsListFile(const QString& argument)
{
    const qsizetype slash = argument.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = argument.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < slash)
        return false;
    return argument.mid(dot).compare(QLatin1String(".quorx"), Qt::CaseInsensitive) == 0;
}

} // namespace quorx
