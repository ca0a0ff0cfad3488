#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorx::test {

// What a run of the built quorx-cli printed.
struct CliOutput
{
    int status = -1; // -1 when it did not finish in time
    QString out;
    QString err;
};

// A program folder of its own for each test, and quorx-cli run on it as other tools run it.
class CliFolderTest : public ::testing::Test
{
protected:
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile f(home.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray Read(const QString& name) const
    {
        QFile f(home.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // quorx-cli --home <folder> --now <now> <arguments>
    CliOutput RunCli(const QString& now, const QStringList& arguments, int timeoutMs) const
    {
        QProcess p;
        p.start(QStringLiteral(QUORX_CLI_PATH),
                QStringList{QStringLiteral("--home"), home.path(), QStringLiteral("--now"), now} + arguments);
        CliOutput run;
        if (!p.waitForFinished(timeoutMs))
            return run;
        run.status = p.exitCode();
        run.out = QString::fromUtf8(p.readAllStandardOutput());
        run.err = QString::fromUtf8(p.readAllStandardError());
        return run;
    }

    QTemporaryDir home;
};

} // namespace quorx::test
