#pragma once

#include "channels/ChannelPreferenceStore.h"
#include "editor/EditorFavourites.h"
#include "editor/EditorFolder.h"
#include "editor/EditorMemory.h"
#include "editor/EditorValidation.h"
#include "editor/FavouriteChannels.h"
#include "editor/RecordingDraft.h"
#include "engine/TimeKeypad.h"
#include "platform/Platform.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <memory>

namespace quorx {

class Questions;
class RecordingStopper;
class ScheduleTable;
struct Settings;

// The recording editor without its window: it holds the values shown, runs every rule when one
// of them changes, checks and commits the entry into the schedule table, and remembers what the
// user typed. The window shows Draft() and forwards its controls here. It neither recomputes
// nor saves the schedule: the caller does both once the editor is closed.
class RecordingEditor final
{
public:
    struct Context
    {
        ScheduleTable* table = nullptr;
        Settings* settings = nullptr;
        Questions* questions = nullptr;
        Platform platform;
        QString programFolder;
        QString configPath;            // Config.Ini; empty: the program folder's
        QString channelPrefsPath;      // ChannelPref.Ini; empty: the program folder's
        QString driveRoot;             // the program's drive; empty: asked of the disks
        QString viewerRecordingFolder; // the viewer's own recording folder, may be empty
        // Asked before a pending merge deletes a recording under way; null answers "no".
        RecordingStopper* stopper = nullptr;
    };

    enum class TimeField
    {
        Start,
        End,
        Duration
    };

    enum class Status
    {
        Refused,       // a check failed; the window stays on failure's tab
        MergeProposed, // the user accepted a merge: the window shows it and waits
        Committed,     // the window closes
        CommittedNew,  // committed, and a new entry is being entered
        ListFull       // committed, but no room for another entry
    };

    struct Result
    {
        Status status = Status::Refused;
        std::optional<ValidationFailure> failure; // only for Refused; none when a question said no
    };

    // What the window opens after the questions put when it is shown.
    struct ShowRequests
    {
        bool openChannelImport = false;
        bool openPreferences = false;
        bool repeatingPreferences = false;
    };

    explicit RecordingEditor(const Context& context);
    ~RecordingEditor();
    Q_DISABLE_COPY_MOVE(RecordingEditor)

    // Loads the entry at index (a valid index of the table). newMode: the caller appended it for
    // this editor, which withdraws it again unless it is committed.
    bool Open(int recordIndex, bool newMode);
    ShowRequests AskAtShow();
    // The channel list changed outside (the channel window wrote it).
    void ReloadChannels();

    const RecordingDraft& Draft() const { return m_draft; }
    bool IsNewMode() const { return m_newMode; }
    int RecordIndex() const;
    std::int32_t RecordId() const { return m_recordId; }
    const QVector<std::int32_t>& PendingMerges() const { return m_pendingMerges; }
    bool CanValidateAndNew() const;

    // Tab 1.
    void SetName(const QString& name);
    void SetChannel(const QString& channel);
    // Leaving the channel box: a text that matches a channel in another letter case takes its
    // spelling.
    void LeaveChannel();
    void ChooseQuickChannel(const QString& channel);
    void SetStartDate(DateTime date);
    void SetStartTime(DateTime time);
    void SetEndTime(DateTime time);
    void SetDuration(qint64 seconds);
    void StartNow();
    void StartToday();
    void StartTomorrow();
    void MoveStartDays(int days);
    void KeypadPress(TimeField field, TimeKeypad::Button button, int tag, bool rightPress);
    void ChooseKind(int kind);
    void SetDay(int dayOfWeek, bool ticked);
    void SetRepetitionEndChecked(bool ticked);
    void SetRepetitionEnd(DateTime date);
    void MoveRepetitionEnd(int days);

    // Tab 2.
    void SetFolder(const QString& folder);
    void SetFileName(const QString& fileName);
    // The folder on a usable drive, then, for a file name of one's own that exists, question 9.
    void CheckFolder();
    void SetNomAuto(bool ticked);
    void SetNameParts(bool date, bool time, bool channel);
    void SetFormat(RecordingFormat format);
    void SetApplyToAll(bool ticked);
    // The folder dialog's choice; an unusable one keeps the folder, else the program's folder.
    void BrowsedFolder(const QString& chosen);
    EditorFolder::FreeSpace FreeSpace() const;

    // Tab 3.
    void SetFermer(bool ticked);
    void SetPowerAction(AfterRecordingBox box, bool ticked);
    void SetCommandCheck(bool ticked);
    void SetCommand(const QString& command);
    void ChosenProgram(const QString& path);
    bool CanSuspend() const;
    bool CanHibernate() const;

    // The header.
    QString PreviewText() const;
    void PreviewPress(bool rightPress);
    QString EndSummary() const;
    void SummaryPress(bool rightPress);

    // Showing tab 2 or 3 ends the automatic defaults of a change of kind.
    void TabShown(int tab);
    bool LoadingMarker() const { return m_loading; }

    EditorFavourites& Favourites() { return m_favourites; }
    const EditorFavourites& Favourites() const { return m_favourites; }
    // The favourites menu's add for a box, with the full-list message.
    EditorFavourites::AddResult AddFavourite(EditorFavourites::Box box, const QString& text);
    // Removes the current channel from the channel list.
    void RemoveCurrentChannel();
    QVector<FavouriteChannels::Slot> QuickChannels() const { return m_favouriteChannels.Ordered(); }
    const QStringList& Channels() const;

    // Validation ("Valider") and validation then a new entry.
    Result Validate(bool thenNew);
    // Closing without validating; in new mode the list's selection is cleared.
    void Cancel();
    // The window closes: the favourites lists, Retenir and the position are written, and an
    // entry appended for the editor that was never committed leaves the table.
    void Close(int x, int y);
    const EditorMemory& Memory() const { return m_memory; }
    const ChannelPreferenceStore& Store() const { return m_store; }

    bool Validated() const { return m_committedCount > 0; }
    int CommittedCount() const { return m_committedCount; }
    bool LastCommitted() const { return m_lastCommitted; }

private:
    void LoadEntry(const TEmission& e);
    void ApplyChannelDefaults();
    void ApplyKindDefaults();
    void AfterStartChange(bool startTimeChanged);
    void SyncFileName();
    void CommitInto(TEmission& e) const;
    bool DeletePendingMerges();
    void WriteValidationMemory();
    void PrepareNewEntry();
    std::optional<ValidationFailure> RunChecks(bool& askedNo);
    void ShowFailure(const ValidationFailure& failure);
    DateTime Now() const;

    Context m_context;
    ChannelPreferenceStore m_store;
    QString m_configPath;
    QString m_driveRoot;
    std::unique_ptr<RecordingStopper> m_defaultStopper;

    RecordingDraft m_draft;
    EditorMemory m_memory;
    EditorFavourites m_favourites;
    FavouriteChannels m_favouriteChannels;

    std::int32_t m_recordId = -1;
    bool m_newMode = false;
    bool m_loading = false;
    QVector<std::int32_t> m_pendingMerges;
    int m_committedCount = 0;
    bool m_lastCommitted = false;
};

} // namespace quorx
