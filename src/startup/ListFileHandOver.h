#pragma once

#include <QString>

#include <functional>

namespace quorx {

// What became of an argument handed over by a second start.
struct HandOverOutcome
{
    enum class Action
    {
        Ignored,  // not a list file: nothing asked, nothing done
        Declined, // the user answered no to the import question
        Imported,
        ImportFailed, // message says why
        NotImportable // the user said yes, but this build cannot import lists yet
    };
    Action action = Action::Ignored;
    QString file;
    QString message;
};

// The running instance's answer to a hand-over: a list file (".quorx", case ignored) is offered
// for import with question 114, "yes" preselected and the box that silences it; any other
// argument is ignored without a word. The question and the import are function objects, so
// that the main window connects the countdown dialog and the list exchange to them.
class ListFileHandOver final
{
public:
    static constexpr int kQuestionNumber = 114;

    // The countdown question's Ask: text, preselected answer, whether the box is offered, number.
    using AskFunction = std::function<bool(const QString& text, bool defaultYes, bool offerBox, int number)>;
    // Imports one list file; false with *message set when it could not.
    using ImportFunction = std::function<bool(const QString& file, QString* message)>;

    // Without ask the question takes its preselected answer, as the countdown would; without
    // import the answer yes reports the file as not yet importable.
    explicit ListFileHandOver(AskFunction ask, ImportFunction import = ImportFunction());

    HandOverOutcome Handle(const QString& argument) const;
    // The file a first start was given: imported without a question, whatever its extension,
    // since the user opened it with this program. An empty file is Ignored.
    HandOverOutcome ImportAtStart(const QString& file) const;

    static QString NotImportableMessage(const QString& file);

private:
    HandOverOutcome Import(HandOverOutcome outcome) const;

    AskFunction m_ask;
    ImportFunction m_import;
};

} // namespace quorx
