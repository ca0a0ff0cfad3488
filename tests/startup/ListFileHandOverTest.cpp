#include "startup/ListFileHandOver.h"

#include "i18n/LocalisedStrings.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace quorx {
namespace {

using Action = HandOverOutcome::Action;

struct Asked
{
    QString text;
    bool defaultYes = false;
    bool offerBox = false;
    int number = 0;
};

TEST(ListFileHandOver, OnlyAListFileIsOfferedForImport)
{
    struct Case
    {
        QString argument;
        bool answer;
        Action action;
    };
    const Case cases[] = {
        {QStringLiteral("/srv/Semaine.QUORX"), true, Action::NotImportable},
        {QStringLiteral("/srv/semaine.quorx"), false, Action::Declined},
        {QStringLiteral("/srv/notes.txt"), true, Action::Ignored},
        {QStringLiteral("/srv/semaine.quorx.txt"), true, Action::Ignored},
        {QString(), true, Action::Ignored},
    };
    for (const Case& c : cases) {
        QVector<Asked> asked;
        const ListFileHandOver handOver([&](const QString& text, bool defaultYes, bool offerBox, int number) {
            asked.append({text, defaultYes, offerBox, number});
            return c.answer;
        });
        const HandOverOutcome outcome = handOver.Handle(c.argument);
        EXPECT_EQ(outcome.action, c.action) << qPrintable(c.argument);
        if (c.action == Action::Ignored) {
            EXPECT_TRUE(asked.isEmpty()) << qPrintable(c.argument);
            EXPECT_TRUE(outcome.message.isEmpty());
            continue;
        }
        ASSERT_EQ(asked.size(), 1) << qPrintable(c.argument);
        EXPECT_EQ(asked[0].text, QStringLiteral("Voulez-vous importer cette liste de programmes ?"));
        EXPECT_EQ(asked[0].text, Ls(114));
        EXPECT_TRUE(asked[0].defaultYes);
        EXPECT_TRUE(asked[0].offerBox);
        EXPECT_EQ(asked[0].number, 114);
        EXPECT_EQ(outcome.file, c.argument);
        if (c.action == Action::NotImportable)
            EXPECT_TRUE(outcome.message.contains(c.argument)) << qPrintable(outcome.message);
        else
            EXPECT_TRUE(outcome.message.isEmpty());
    }
}

TEST(ListFileHandOver, AnImporterReceivesTheFileOnlyAfterYes)
{
    QStringList imported;
    bool succeed = true;
    bool answer = true;
    const ListFileHandOver handOver([&](const QString&, bool, bool, int) { return answer; },
                                    [&](const QString& file, QString* message) {
                                        imported.append(file);
                                        if (!succeed)
                                            *message = QStringLiteral("damaged list");
                                        return succeed;
                                    });

    EXPECT_EQ(handOver.Handle(QStringLiteral("/srv/a.quorx")).action, Action::Imported);
    succeed = false;
    const HandOverOutcome failed = handOver.Handle(QStringLiteral("/srv/b.quorx"));
    EXPECT_EQ(failed.action, Action::ImportFailed);
    EXPECT_EQ(failed.message, QStringLiteral("damaged list"));
    answer = false;
    EXPECT_EQ(handOver.Handle(QStringLiteral("/srv/c.quorx")).action, Action::Declined);
    EXPECT_EQ(handOver.Handle(QStringLiteral("/srv/d.txt")).action, Action::Ignored);
    EXPECT_EQ(imported, (QStringList{QStringLiteral("/srv/a.quorx"), QStringLiteral("/srv/b.quorx")}));
}

TEST(ListFileHandOver, WithoutAPresenterTheQuestionTakesItsPreselectedYes)
{
    QStringList imported;
    const ListFileHandOver handOver(ListFileHandOver::AskFunction(), [&](const QString& file, QString*) {
        imported.append(file);
        return true;
    });
    EXPECT_EQ(handOver.Handle(QStringLiteral("/srv/a.Quorx")).action, Action::Imported);
    EXPECT_EQ(imported, QStringList{QStringLiteral("/srv/a.Quorx")});
}

TEST(ListFileHandOver, TheFileOfAFirstStartIsImportedWithoutAQuestion)
{
    int asked = 0;
    const auto ask = [&](const QString&, bool, bool, int) {
        ++asked;
        return false;
    };
    QStringList imported;
    const ListFileHandOver withImport(ask, [&](const QString& file, QString*) {
        imported.append(file);
        return true;
    });
    EXPECT_EQ(withImport.ImportAtStart(QStringLiteral("/srv/a.quorx")).action, Action::Imported);
    EXPECT_EQ(withImport.ImportAtStart(QString()).action, Action::Ignored);
    EXPECT_EQ(imported, QStringList{QStringLiteral("/srv/a.quorx")});

    const HandOverOutcome pending = ListFileHandOver(ask).ImportAtStart(QStringLiteral("/srv/b.Quorx"));
    EXPECT_EQ(pending.action, Action::NotImportable);
    EXPECT_EQ(pending.message, ListFileHandOver::NotImportableMessage(QStringLiteral("/srv/b.Quorx")));
    EXPECT_EQ(asked, 0);
}

} // namespace
} // namespace quorx
