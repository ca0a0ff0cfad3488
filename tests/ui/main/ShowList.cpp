// Not a test: the program's windows over a folder whose schedule holds every state of a recording,
// on the virtual clock (which follows real time while it runs), for a look at the real window under
// Xvfb, say. Closes itself after the given number of seconds (default 5).
#include "platform/fake/FakePlatform.h"
#include "platform/fake/SimulatedViewer.h"
#include "power/ScriptedQuestionPresenter.h"
#include "startup/SchedulerCore.h"
#include "ui/main/MainProgram.h"
#include "ui/main/QuickTimeKeypad.h"
#include "ui/main/ScheduleListModel.h"
#include "ui/main/TFListe.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

using namespace quorx;

namespace {

struct Entry
{
    const char* name;
    const char* channel;
    const char* date;
    const char* start;
    const char* end;
    const char* days;
    const char* extra;
};

QByteArray Schedule(const QString& videoFolder)
{
    const Entry entries[] = {
        {"Journal du soir", "France 2", "04/03/2024", "20:26", "20:45", "", ""},            // under way
        {"Documentaire", "Arte", "04/03/2024", "21:00", "22:30", "", ""},                   // next
        {"Série quotidienne", "TF1", "04/03/2024", "18:00", "18:30", "LuMaMeJeVeSaDi", ""}, // daily
        {"Magazine", "M6", "04/03/2024", "19:00", "20:00", "MaJe", "InactifPro=1\nDateStop=05/03/2024"},
        {"Météo", "France 3", "04/03/2024", "19:55", "20:00", "LuMaMe", "Actif=0"},
        {"Finale", "Sport 1", "06/03/2024", "20:00", "23:00", "", "Prioritaire=1"},
        {"Rediffusion", "Sport 1", "06/03/2024", "21:00", "22:00", "", ""}, // cut whole
        {"Sport extra", "Sport 1", "06/03/2024", "22:30", "23:30", "", ""}, // cut 30 mn
        {"Concert", "Arte", "07/03/2024", "22:00", "01:00", "", "Erreur=1\nDateFin=08/03/2024"},
        {"Jeu", "M6", "04/03/2024", "20:00", "21:00", "LuMaMeJeVe",
         "Etat=3\nDateStop=04/03/2024"}, // passed over
        {"Film du dimanche", "TF1", "10/03/2024", "21:00", "23:00", "", "EPG=1"},
    };
    QByteArray out = "[Programmes]\r\nNbProgrammes=" + QByteArray::number(std::size(entries)) + "\r\n";
    int n = 0;
    for (const Entry& e : entries) {
        const QByteArray i = QByteArray::number(++n);
        out += "Programme" + i + "=" + e.name + "\r\nChaine" + i + "=" + e.channel + "\r\nDateDebut" + i +
               "=" + e.date + "\r\nHeureDebut" + i + "=" + e.start + "\r\nHeureFin" + i + "=" + e.end +
               "\r\nFichier" + i + "=" + videoFolder.toUtf8() + "/" + QByteArray(e.name).replace(' ', '_') +
               ".ts\r\n";
        // Past midnight the extra fields name the end date.
        if (!QByteArray(e.extra).contains("DateFin"))
            out += "DateFin" + i + "=" + e.date + "\r\n";
        if (*e.days)
            out += "Repetition" + i + "=" + e.days + "\r\n";
        for (const QByteArray& line : QByteArray(e.extra).split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                out += line.left(eq) + i + line.mid(eq) + "\r\n";
        }
    }
    return out;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("viewer")));
    QDir().mkpath(dir.filePath(QStringLiteral("video")));
    const QString viewerExe = dir.filePath(QStringLiteral("viewer/zomvara"));
    Write(viewerExe, QByteArray());
    QFile(viewerExe).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    Write(dir.filePath(QStringLiteral("Programmes.Ini")), Schedule(dir.filePath(QStringLiteral("video"))));
    Write(dir.filePath(QStringLiteral("Config.Ini")),
          "[Config]\r\nDelaiDeb=00:00:00\r\nDelaiFin=00:00:00\r\nDateLetters=1\r\nSignalSonore=0\r\n"
          "SignalSonoreInterface=0\r\n");

    FakePlatform fake(DateTime::FromFields(2024, 3, 4, 20, 25));
    fake.disks.SetDefaultSpace(120LL << 30, 500LL << 30);
    SimulatedViewer viewer(fake.clock, fake.timers, fake.processes, fake.disks, viewerExe);
    ScriptedQuestionPresenter presenter;
    SchedulerCore::Options options;
    const QString viewerFolder = dir.filePath(QStringLiteral("viewer/"));
    options.askViewerFolder = [viewerFolder](const QString&) { return viewerFolder; };
    SchedulerCore core(dir.path(), fake.View(), presenter, std::move(options));
    if (!core.Start())
        return 2;
    MainProgram program(core, fake.View(), MainProgram::Options{});
    program.Window().resize(1100, 470);
    program.Show();
    // The first recording gets under way (unless the next one is to be seen); from then on the
    // virtual clock follows real time.
    const bool beforeStart = argc > 2 && QByteArray(argv[2]) == "next";
    fake.timers.RunUntil(DateTime::FromFields(2024, 3, 4, 20, beforeStart ? 25 : 27, 1));
    if (QToolButton* forbid = program.Window().findChild<QToolButton*>(QStringLiteral("Image1")))
        forbid->click();
    QTimer follow;
    QObject::connect(&follow, &QTimer::timeout, &app, [&fake] { fake.timers.RunFor(250); });
    follow.start(250);
    program.Window().SelectRecords({3});
    // "keypad": the quick time keypad open under the forbid window's start, and the quick commands.
    // "menu": the list's context menu over the selected row.
    if (argc > 2 && QByteArray(argv[2]) == "menu") {
        QTimer::singleShot(500, &app, [&program] {
            program.Window().UpdateListMenu();
            program.Window().ListMenu()->popup(program.Window().mapToGlobal(QPoint(300, 120)));
        });
    }
    if (argc > 2 && QByteArray(argv[2]) == "keypad") {
        QTimer::singleShot(500, &app, [&program] {
            if (auto* picker = program.Window().findChild<QTimeEdit*>(QStringLiteral("CInterdire1")))
                program.Window().Keypad()->OpenUnder(picker);
            program.Window().SelectRecords({4});
            const QRect row = program.Window().List()->visualRect(program.Window().Model()->index(3, 1));
            program.Window().ShowCommandsAt(row.center());
        });
    }

    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return QApplication::exec();
}
