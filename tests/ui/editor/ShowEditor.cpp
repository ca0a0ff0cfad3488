// Opens the editor on a sample entry in a scratch program folder, for a look at the real window.
#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "ui/editor/TFSaisie.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace quorx;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FakePlatform fake(DateTime::FromFields(2024, 3, 4, 12, 0));
    Platform view = fake.View();
    Settings settings;
    ScriptedQuestionPresenter presenter; // every question takes its default
    const QString config = dir.filePath(QStringLiteral("Config.Ini"));
    Questions questions(presenter, settings, view, config);
    IniFile ini(config);
    const QStringList names{QStringLiteral("Arte"), QStringLiteral("France 2"), QStringLiteral("TF1")};
    ini.WriteInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), names.size() - 1);
    for (int i = 0; i < names.size(); ++i)
        ini.WriteString(QStringLiteral("Chaines"), QStringLiteral("Chaine%1").arg(i),
                        QLatin1Char('"') + names[i] + QLatin1Char('"'));
    ini.Save();

    ScheduleTable table;
    TEmission e;
    e.Programme = QStringLiteral("Le Film du soir");
    e.Chaine = QStringLiteral("Arte");
    e.DateDebut = DateTime::FromFields(2024, 3, 4);
    e.DateFin = e.DateDebut.AddDays(1);
    e.HeureDebut = DateTime::FromTime(23, 30);
    e.HeureFin = DateTime::FromTime(0, 30);
    e.Repetition = 0x1F;
    e.Fermer = true;
    e.VeillePro = true;
    e.AjouterDate = e.AjouterHeure = e.AjouterChaine = true;
    e.Fichier = dir.path() + QStringLiteral("/Le Film du soir.Mpg");
    e.Actif = true;
    const int index = table.Append(e);

    TFSaisie::Services s;
    s.table = &table;
    s.settings = &settings;
    s.questions = &questions;
    s.platform = view;
    s.programFolder = dir.path();
    TFSaisie window(s);
    window.Open(index, argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("new"));
    if (argc > 2)
        window.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentIndex(QString::fromLocal8Bit(argv[2]).toInt());
    window.show();
    if (argc > 3) {
        // A control to focus once the window is up, to look at its quick-entry buttons.
        const QString focus = QString::fromLocal8Bit(argv[3]);
        QTimer::singleShot(500, &window, [&window, focus] {
            window.activateWindow();
            if (auto* w = window.findChild<QWidget*>(focus))
                w->setFocus();
        });
    }
    return app.exec();
}
