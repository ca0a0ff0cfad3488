#pragma once

#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "editor/RecordingEditor.h"
#include "engine/NewRecording.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace quorx::test {

inline DateTime At(int day, int hour, int minute)
{
    return DateTime::FromFields(2024, 3, day, hour, minute);
}

// A program folder in a temporary directory that is also the program's drive, a channel list,
// the virtual clock on Monday 4 March 2024 at 12:00, and an editor opened on demand.
class EditorFixture : public ::testing::Test
{
protected:
    EditorFixture()
        : fake(At(4, 12, 0)), view(fake.View()),
          questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini")))
    {
        table.SeedForTests(7);
        settings.Majuscules = false;
        root = dir.path() + QLatin1Char('/');
        WriteChannels({QStringLiteral("Arte"), QStringLiteral("France 2"), QStringLiteral("TF1")});
    }

    void WriteChannels(const QStringList& names)
    {
        IniFile config(ConfigPath());
        config.WriteInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), names.size() - 1);
        for (int i = 0; i < names.size(); ++i)
            config.WriteString(QStringLiteral("Chaines"), QStringLiteral("Chaine") + QString::number(i),
                               QLatin1Char('"') + names[i] + QLatin1Char('"'));
        ASSERT_TRUE(config.Save());
    }

    QString ConfigPath() const { return dir.filePath(QStringLiteral("Config.Ini")); }
    ChannelPreferenceStore Store() const
    {
        return ChannelPreferenceStore(dir.filePath(QStringLiteral("ChannelPref.Ini")), root);
    }

    RecordingEditor::Context Context()
    {
        RecordingEditor::Context c;
        c.table = &table;
        c.settings = &settings;
        c.questions = &questions;
        c.platform = view;
        c.programFolder = dir.path();
        c.driveRoot = root;
        return c;
    }

    // A one-off recording already in the list.
    int AddRecording(const QString& name, const QString& channel, DateTime start, DateTime end,
                     std::uint8_t days = 0)
    {
        TEmission e;
        e.Programme = name;
        e.Chaine = channel;
        e.DateDebut = start.DatePart();
        e.HeureDebut = start.TimePart();
        e.DateFin = end.DatePart();
        e.HeureFin = end.TimePart();
        e.Repetition = days;
        e.Actif = true;
        e.Fichier = root + name + QStringLiteral(".Mpg");
        return table.Append(e);
    }

    // A new entry prepared as the list prepares one, and an editor opened on it.
    RecordingEditor& OpenNew(const QString& channel = QStringLiteral("Arte"))
    {
        IniFile config(ConfigPath());
        config.WriteString(QStringLiteral("Saisie"), QStringLiteral("Chaine"),
                           QLatin1Char('"') + channel + QLatin1Char('"'));
        config.Save();
        const int index = NewRecording::Prepare(table, dir.path(), fake.clock.Now());
        editor = std::make_unique<RecordingEditor>(Context());
        editor->Open(index, true);
        return *editor;
    }

    RecordingEditor& OpenExisting(int index)
    {
        editor = std::make_unique<RecordingEditor>(Context());
        editor->Open(index, false);
        return *editor;
    }

    // Start and end on the given day; the end rolls over midnight by itself.
    static void SetTimes(RecordingEditor& ed, DateTime start, DateTime endTime)
    {
        ed.SetStartDate(start.DatePart());
        ed.SetStartTime(start.TimePart());
        ed.SetEndTime(endTime.TimePart());
    }

    QTemporaryDir dir;
    QString root;
    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScriptedQuestionPresenter presenter;
    Questions questions;
    std::unique_ptr<RecordingEditor> editor;
};

} // namespace quorx::test
