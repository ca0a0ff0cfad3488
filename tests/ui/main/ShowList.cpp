// Not a test: the main window over a schedule holding every state, for a look at the real window
// (under Xvfb, say). Closes itself after the given number of seconds (default 5).
#include "ui/main/TFListe.h"

#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/DefaultRecordingStopper.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

using namespace quorx;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const DateTime now = DateTime::FromFields(2024, 3, 4, 20, 30);
    FakePlatform fake(now);
    const Platform view = fake.View();
    ScheduleTable table;
    Settings settings;
    settings.DateLetters = true;
    ScheduleEngine engine(table, settings, view);
    ScriptedQuestionPresenter presenter;
    QTemporaryDir dir;
    Questions questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini")));
    DefaultRecordingStopper stopper;

    const auto add = [&](const char* name, const char* channel, int day, int h1, int m1, int h2, int m2,
                         quint8 days) -> TEmission& {
        TEmission e;
        e.Programme = QString::fromUtf8(name);
        e.Chaine = QString::fromUtf8(channel);
        e.Actif = true;
        e.GridRow = -1;
        e.Repetition = days;
        e.DateDebut = now.DatePart().AddDays(day);
        e.DateFin = e.DateDebut;
        e.HeureDebut = DateTime::FromTime(h1, m1);
        e.HeureFin = DateTime::FromTime(h2, m2);
        return table[table.Append(e)];
    };
    TEmission& underWay = add("Journal du soir", "France 2", 0, 20, 0, 20, 45, 0);
    add("Documentaire", "Arte", 0, 21, 0, 22, 30, 0);
    add("Série quotidienne", "TF1", 1, 18, 0, 18, 30, 0x7F);
    TEmission& skipped = add("Magazine", "M6", 1, 19, 0, 20, 0, Mardi | Jeudi);
    TEmission& inactive = add("Météo", "France 3", 1, 19, 55, 20, 0, Lundi | Mardi | Mercredi);
    TEmission& priority = add("Finale", "Sport 1", 2, 20, 0, 23, 0, 0);
    TEmission& failed = add("Concert", "Arte", 3, 22, 0, 1, 0, 0);
    TEmission& cut = add("Rediffusion", "Sport 1", 2, 21, 0, 22, 0, 0);
    TEmission& guide = add("Film du dimanche", "TF1", 6, 21, 0, 23, 0, 0);
    engine.ComputeNextStart();
    underWay.Etat = 1;
    skipped.InactifPro = true;
    inactive.Actif = false;
    priority.Prioritaire = true;
    failed.Erreur = true;
    cut.CutAtStart = -1;
    guide.EPG = true;
    guide.Etat = 3;

    TFListe::Services s;
    s.table = &table;
    s.settings = &settings;
    s.schedule = &engine;
    s.questions = &questions;
    s.stopper = &stopper;
    s.platform = view;
    TFListe window(s);
    window.resize(1000, 420);
    window.show();
    window.Rebuild();
    window.SelectRecords({3});
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return QApplication::exec();
}
