#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace quorx {

class ListFileHandOver;
class RecordingStopper;
class SchedulerCore;
class TFListe;
class TrayMenu;

// The program's windows over a started core: the main window, the tray icon and its menu, and the
// list files handed over by a second start. main() only builds the platform and the core.
class MainProgram final : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        // Opens the editor on a record; empty while there is no editor.
        std::function<bool(int recordIndex, bool isNew)> editRecording;
        // The folder-browse dialog of the drive change; empty: the file dialog.
        std::function<QString(const QString& title)> chooseFolder;
        // This program's executable (its running copies share the screen).
        QString programPath;
        // Called once quitting was agreed.
        std::function<void()> quit;
        // Imports one list file (false with the reason); empty while lists cannot be imported.
        std::function<bool(const QString& file, QString* message)> importList;
    };

    // platform: the one the core was built over.
    MainProgram(SchedulerCore& core, const Platform& platform, Options options);
    ~MainProgram() override;
    Q_DISABLE_COPY_MOVE(MainProgram)

    TFListe& Window() { return *m_window; }
    TrayMenu& Tray() { return *m_tray; }
    // Asks question 1 and stops the recording under way when one of the selection is deleted.
    RecordingStopper& Stopper() { return *m_stopper; }

    // Fills the list, shows the tray icon and the window (minimised when it was left minimised).
    void Show();
    // The argument of the first start (imported as it stands) or of a second one (a list file,
    // imported once the user agrees).
    void HandOver(const QString& argument, bool fromSecondStart);
    // The end: the schedule saved and the settings written. False with the reason in Error().
    bool Finish();
    const QString& Error() const { return m_error; }

private:
    SchedulerCore& m_core;
    std::unique_ptr<RecordingStopper> m_stopper;
    std::unique_ptr<TFListe> m_window;
    TrayMenu* m_tray = nullptr;
    std::unique_ptr<ListFileHandOver> m_handOver;
    QString m_error;
    bool m_finished = false;
};

} // namespace quorx
