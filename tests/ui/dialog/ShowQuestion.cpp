// Shows one question of the table in the real window, for a look at it:
//   show_question N [K] [--instance NAME] [--colour COLORREF]
// The window answers itself after its countdown, as in the program.
#include "platform/fake/FakePlatform.h"
#include "power/QuestionTable.h"
#include "power/Questions.h"
#include "schedule/Settings.h"
#include "ui/dialog/DialogQuestionPresenter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace quorx;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    Settings settings;
    QList<int> positional;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QStringLiteral("--instance") && !args.isEmpty())
            settings.NomInstance = args.takeFirst();
        else if (a == QStringLiteral("--colour") && !args.isEmpty())
            settings.Couleur = static_cast<qint32>(args.takeFirst().toLongLong());
        else
            positional.append(a.toInt());
    }
    const int number = positional.value(0, 4);
    const QVector<const QuestionEntry*> entries = QuestionTable::WithNumber(number);
    const int which = positional.value(1, 1);
    if (entries.isEmpty() || which < 1 || which > entries.size()) {
        QTextStream(stderr) << "no such question\n";
        return 2;
    }
    QTemporaryDir dir; // a fresh Config.Ini, so the question is always shown
    FakePlatform fake;
    DialogQuestionPresenter presenter;
    Questions questions(presenter, settings, fake.View(), dir.filePath(QStringLiteral("Config.Ini")));
    const QuestionOutcome outcome =
        questions.Put(entries[which - 1]->id, {1, QStringLiteral("Journal de 20 heures")});
    QTextStream(stdout) << (outcome.yes ? "yes" : "no") << '\n';
    return 0;
}
