// quorx-cli ask: puts one question of the table as the program would with nobody at the screen.
#include "cli/CliCommand.h"
#include "common/IniFile.h"
#include "platform/fake/FakePlatform.h"
#include "power/QuestionTable.h"
#include "power/Questions.h"
#include "power/UnattendedQuestionPresenter.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"

#include <algorithm>

namespace quorx::cli {

namespace {

QString NumbersInUse()
{
    QList<int> numbers;
    for (const QuestionEntry& e : QuestionTable::All())
        if (!numbers.contains(e.number))
            numbers.append(e.number);
    std::sort(numbers.begin(), numbers.end());
    QStringList texts;
    for (const int n : numbers)
        texts.append(QString::number(n));
    return texts.join(QStringLiteral(", "));
}

bool ParseCount(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && !text.startsWith(QLatin1Char('+')) && text.trimmed() == text;
}

int RunAsk(CliContext& ctx, const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2) {
        ctx.err << "quorx-cli: ask takes a question number and, when several questions share it, which "
                   "one (see quorx-cli --help)\n";
        return kExitUsage;
    }
    int number = 0;
    if (!ParseCount(args[0], &number)) {
        ctx.err << "quorx-cli: ask: \"" << args[0] << "\" is not a question number\n";
        return kExitUsage;
    }
    const QVector<const QuestionEntry*> entries = QuestionTable::WithNumber(number);
    if (entries.isEmpty()) {
        ctx.err << "quorx-cli: ask: no question has the number " << number
                << " (numbers in use: " << NumbersInUse() << ")\n";
        return kExitUsage;
    }
    int which = 1;
    if (args.size() == 2 && (!ParseCount(args[1], &which) || which < 1 || which > entries.size())) {
        ctx.err << "quorx-cli: ask: number " << number << " has " << entries.size() << " question(s); \""
                << args[1] << "\" is not one of 1 to " << entries.size() << "\n";
        return kExitUsage;
    }
    const QuestionEntry& entry = *entries[which - 1];

    const QString configPath = SettingsStore::FilePath(ctx.home);
    Settings settings;
    {
        const IniFile ini(configPath);
        SettingsStore::LoadGroupOne(ini, settings);
        SettingsStore::LoadGroupTwo(ini, settings);
        SettingsStore::LoadGroupThree(ini, settings);
    }

    FakePlatform platform(ctx.now);
    const Platform view = platform.View();
    UnattendedQuestionPresenter presenter(platform.timers);
    Questions questions(presenter, settings, view, configPath);
    const QuestionOutcome outcome = questions.Put(entry.id);

    if (entry.kind == QuestionKind::Inform)
        ctx.out << (outcome.shown ? "shown" : "not shown") << '\n';
    else
        ctx.out << (outcome.shown ? "shown " : "") << (outcome.yes ? "yes" : "no") << '\n';
    if (!questions.LastError().isEmpty()) {
        ctx.err << "quorx-cli: ask: " << questions.LastError() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

QUORX_REGISTER_CLI_COMMAND("ask", "ask N [K]",
                           "put question N (the K-th of those sharing N) with nobody there to answer it",
                           &RunAsk);

} // namespace quorx::cli
