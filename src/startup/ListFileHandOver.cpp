#include "startup/ListFileHandOver.h"

#include "i18n/LocalisedStrings.h"
#include "startup/CommandLineArguments.h"

namespace quorx {

ListFileHandOver::ListFileHandOver(AskFunction ask, ImportFunction import)
    : m_ask(std::move(ask)), m_import(std::move(import))
{
}

QString ListFileHandOver::NotImportableMessage(const QString& file)
{
    return QStringLiteral("L'importation des listes de programmes n'est pas encore possible : ") + file;
}

HandOverOutcome ListFileHandOver::Handle(const QString& argument) const
{
    HandOverOutcome outcome;
    if (!CommandLineArguments::IsListFile(argument))
        return outcome;
    outcome.file = argument;

    constexpr bool kDefaultYes = true;
    const bool yes = m_ask ? m_ask(Ls(kQuestionNumber), kDefaultYes, true, kQuestionNumber) : kDefaultYes;
    if (!yes) {
        outcome.action = HandOverOutcome::Action::Declined;
        return outcome;
    }
    return Import(outcome);
}

HandOverOutcome ListFileHandOver::ImportAtStart(const QString& file) const
{
    HandOverOutcome outcome;
    if (file.isEmpty())
        return outcome;
    outcome.file = file;
    return Import(outcome);
}

HandOverOutcome ListFileHandOver::Import(HandOverOutcome outcome) const
{
    if (!m_import) {
        outcome.action = HandOverOutcome::Action::NotImportable;
        outcome.message = NotImportableMessage(outcome.file);
        return outcome;
    }
    QString message;
    if (m_import(outcome.file, &message)) {
        outcome.action = HandOverOutcome::Action::Imported;
        return outcome;
    }
    outcome.action = HandOverOutcome::Action::ImportFailed;
    outcome.message = message;
    return outcome;
}

} // namespace quorx
