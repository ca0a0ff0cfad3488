// Not a test: the channel window over a folder of list files, for a look at the real window (under
// Xvfb, say). The first argument chooses the page ("prefs" for the preferences page); the window
// closes itself after the given number of seconds (second argument, default 5).
#include "ui/channels/TFChaines.h"

#include "ViewerFileBuilder.h"

#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/Settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

using namespace quorx;
using namespace quorx::test;

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool prefs = args.size() > 1 && args[1] == QStringLiteral("prefs");
    const int seconds = args.size() > 2 ? args[2].toInt() : 5;

    QTemporaryDir program;
    QTemporaryDir viewer;
    const QString channels = viewer.filePath(QStringLiteral("channels"));
    Write(channels + QStringLiteral("/channels.dat"),
          Dat113(113, {Ref(1, 10, 11, 0, 0, 12, 5, QStringLiteral("Arte")),
                       Ref(1, 20, 21, 0, 0, 22, 6, QStringLiteral("TF1")),
                       Ref(1, 30, 31, 0, 0, 32, 7, QStringLiteral("France 2")),
                       Ref(1, 40, 41, 0, 0, 42, 8, QStringLiteral("France 5"))}));
    Write(channels + QStringLiteral("/Favourites.tree"),
          Tree105(107, "Favoris", true,
                  {Group{"Films", {Ref(0, 10, 11, 0, 0, 12, 0), Ref(0, 30, 31, 0, 0, 32, 0)}},
                   Group{"Infos", {Ref(0, 20, 21, 0, 0, 22, 0), Ref(0, 40, 41, 0, 0, 42, 0)}}}));

    FakePlatform fake;
    const Platform view = fake.View();
    Settings settings;
    ScriptedQuestionPresenter presenter;
    Questions questions(presenter, settings, view, program.filePath(QStringLiteral("Config.Ini")));

    TFChaines::Services services;
    services.programFolder = program.path();
    services.settings = &settings;
    services.questions = &questions;
    services.viewerFolder = viewer.path();
    TFChaines::Opening opening;
    opening.page = prefs ? TFChaines::PreferencesPage : TFChaines::ImportPage;
    opening.channel = prefs ? QStringLiteral("Arte") : QString();
    TFChaines window(services, {QStringLiteral("Arte"), QStringLiteral("M6")}, opening);
    window.show();
    QTimer::singleShot(seconds * 1000, &window, &QDialog::reject);
    return window.exec() == QDialog::Accepted ? 0 : 1;
}
