// The real program started twice on one program folder: the second start leaves its command
// line in Config.Ini, wakes the first one and ends, and the first one asks about the list file.
#include "common/IniFile.h"
#include "startup/CommandLineArguments.h"
#include "startup/SingleInstance.h"
#include "startup/UnattendedRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace quorx {

class SecondStartTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void aSecondStartHandsItsCommandLineToTheFirstAndEnds();

private:
    QString Path(const QString& name) const { return m_root.filePath(name); }
    QString Program() const { return QFileInfo(QStringLiteral(QUORX_PROGRAM_PATH)).canonicalFilePath(); }
    QProcessEnvironment Environment() const;
    // Runs a second start to its end; its exit status, or -1 when it did not end.
    int SecondStart(const QStringList& arguments);
    QString Slot() const;
    // The first instance's report lines so far.
    QStringList Reported();

    QTemporaryDir m_root;
    QProcess m_first;
    QByteArray m_firstOutput;
};

QProcessEnvironment SecondStartTest::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QString::fromLatin1(UnattendedRun::kVariable), QStringLiteral("1"));
    // Lock, socket, file-type registration and settings of the desktop all stay in the test's folder.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), Path(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Path(QStringLiteral("config")));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=/nonexistent/quorx-test-bus"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QUORX_HOME"));
    return env;
}

void SecondStartTest::initTestCase()
{
    QVERIFY(m_root.isValid());
    for (const char* name : {"home", "viewer", "run", "data", "config", "lists"})
        QVERIFY(QDir().mkpath(Path(QString::fromLatin1(name))));
    QFile::setPermissions(Path(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A viewer the locator accepts; nothing here makes it record.
    QFile viewer(Path(QStringLiteral("viewer/zomvara")));
    QVERIFY(viewer.open(QIODevice::WriteOnly));
    viewer.write("#!/bin/sh\nexit 0\n");
    viewer.close();
    viewer.setPermissions(viewer.permissions() | QFile::ExeOwner);
    IniFile config;
    config.WriteString(QStringLiteral("Config"), QStringLiteral("CheminZomvara"),
                       Path(QStringLiteral("viewer/")));
    QVERIFY(config.SaveAs(Path(QStringLiteral("home/Config.Ini"))));
    QFile list(Path(QStringLiteral("lists/Semaine.Quorx")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.close();

    m_first.setProcessEnvironment(Environment());
    m_first.setProcessChannelMode(QProcess::SeparateChannels);
    m_first.start(Program(), {QStringLiteral("--home"), Path(QStringLiteral("home"))});
    QVERIFY2(m_first.waitForStarted(), qPrintable(m_first.errorString()));
    const SingleInstance probe(Path(QStringLiteral("home")), Program(), Path(QStringLiteral("run")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(probe.ServerPath()) || m_first.state() == QProcess::NotRunning,
                             20000);
    QVERIFY2(m_first.state() == QProcess::Running, m_first.readAllStandardError().constData());
}

void SecondStartTest::cleanupTestCase()
{
    if (m_first.state() != QProcess::NotRunning) {
        m_first.kill();
        m_first.waitForFinished(5000);
    }
}

int SecondStartTest::SecondStart(const QStringList& arguments)
{
    QProcess second;
    second.setProcessEnvironment(Environment());
    second.setWorkingDirectory(Path(QStringLiteral("lists")));
    second.start(Program(), QStringList{QStringLiteral("--home"), Path(QStringLiteral("home"))} + arguments);
    if (!second.waitForFinished(15000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

QString SecondStartTest::Slot() const
{
    return IniFile(Path(QStringLiteral("home/Config.Ini")))
        .ReadString(QStringLiteral("CommandLine"), QStringLiteral("Commands"));
}

QStringList SecondStartTest::Reported()
{
    m_firstOutput += m_first.readAllStandardError();
    QStringList lines;
    for (const QByteArray& line : m_firstOutput.split('\n'))
        if (line.startsWith("quorx: "))
            lines.append(QString::fromLocal8Bit(line.mid(7)));
    return lines;
}

void SecondStartTest::aSecondStartHandsItsCommandLineToTheFirstAndEnds()
{
    // Without an argument the first one is only shown: the slot names the program alone.
    QCOMPARE(SecondStart({}), 0);
    QCOMPARE(CommandLineArguments::ArgumentOfHandOverLine(Slot(), Program()), QString());
    QVERIFY(Slot().startsWith(QLatin1Char('"') + Program() + QLatin1Char('"')));

    // A list file named relative to where the second start ran reaches the first one whole.
    QCOMPARE(SecondStart({QStringLiteral("Semaine.Quorx")}), 0);
    const QString list = Path(QStringLiteral("lists/Semaine.Quorx"));
    QCOMPARE(CommandLineArguments::ArgumentOfHandOverLine(Slot(), Program()), list);

    const QString asked = QStringLiteral("question 114: Voulez-vous importer cette liste de programmes ?");
    QTRY_VERIFY_WITH_TIMEOUT(Reported().contains(asked), 15000);
    // The start without an argument asked nothing, and the second start did not wait for the
    // answer: the question's countdown is still running.
    const QStringList reported = Reported();
    QCOMPARE(reported.first(), asked);
    QVERIFY(!reported.contains(QStringLiteral("question 114 answered: yes")));
    QCOMPARE(m_first.state(), QProcess::Running);
}

} // namespace quorx

QTEST_MAIN(quorx::SecondStartTest)
#include "SecondStartTest.moc"
