#include "ui/main/MainProgram.h"

#include "engine/FreeSpaceWatch.h"
#include "engine/RecordingEngine.h"
#include "engine/RecordingStatus.h"
#include "power/QuestionTable.h"
#include "power/Questions.h"
#include "schedule/RecordingStopper.h"
#include "schedule/Settings.h"
#include "startup/ListFileHandOver.h"
#include "startup/ProgramTitles.h"
#include "startup/SchedulerCore.h"
#include "ui/main/ListPictures.h"
#include "ui/main/TFListe.h"
#include "ui/main/TrayMenu.h"

#include <QCoreApplication>

namespace quorx {

namespace {

// Deleting the recording under way asks question 1, then stops it through the engine.
class EngineStopper final : public RecordingStopper
{
public:
    EngineStopper(Questions& questions, RecordingEngine& engine) : m_questions(questions), m_engine(engine) {}
    bool AskStopRunningRecording() override { return m_questions.Ask(QuestionId::StopRecordingToDelete); }
    void StopRunningRecording() override
    {
        if (m_engine.RecordingUnderWay())
            m_engine.CStopClick();
    }

private:
    Questions& m_questions;
    RecordingEngine& m_engine;
};

} // namespace

MainProgram::MainProgram(SchedulerCore& core, const Platform& platform, Options options) : m_core(core)
{
    m_stopper = std::make_unique<EngineStopper>(core.Ask(), core.Engine());
    TFListe::Services s;
    s.table = &core.Table();
    s.settings = &core.CoreSettings();
    s.schedule = &core.Schedule();
    s.questions = &core.Ask();
    s.stopper = m_stopper.get();
    s.platform = platform;
    s.startStopNow = [&core] { core.Engine().CStopClick(); };
    s.engine = &core.Engine();
    s.power = &core.Power();
    s.manualStop = &core.ViewerManualStop();
    s.clock3 = &core.Clock3();
    s.freeSpace = &core.FreeSpace();
    s.viewer = &core.Viewer();
    s.alarm = &core.AlarmControl();
    s.programFolder = core.ProgramFolder();
    s.programPath = options.programPath;
    s.editRecording = std::move(options.editRecording);
    s.quit = std::move(options.quit);
    m_window = std::make_unique<TFListe>(s);
    m_window->setWindowTitle(ProgramTitles::MainCaption(core.CoreSettings().NomInstance));
    m_window->setWindowIcon(ListPictures::Picture(QStringLiteral("program")));
    m_tray = new TrayMenu(*m_window, std::move(options.chooseFolder));

    RecordingHooks& hooks = core.Engine().Hooks();
    hooks.refreshList = [this] { m_window->Rebuild(); };
    hooks.clearListSelection = [this] { m_window->ClearSelection(); };
    hooks.statusChanged = [this](const RecordingStatus& status) {
        m_tray->SetRecordingIcon(status.recordingIcon);
        m_window->RefreshStatus();
    };
    core.SetTickObserver([this] { m_window->RefreshStatus(); });

    m_handOver = std::make_unique<ListFileHandOver>(
        [&core](const QString& text, bool defaultYes, bool offerBox, int number) {
            return core.Ask().Ask(text, defaultYes, offerBox, number);
        },
        std::move(options.importList));
}

MainProgram::~MainProgram()
{
    RecordingHooks& hooks = m_core.Engine().Hooks();
    hooks.refreshList = nullptr;
    hooks.clearListSelection = nullptr;
    hooks.statusChanged = nullptr;
    m_core.SetTickObserver({});
}

void MainProgram::Show()
{
    m_window->SetMinimiseToTray(m_tray->ShowIcon());
    m_core.FreeSpace().Refresh();
    m_window->Rebuild();
    m_window->ShowAtStoredPlace();
}

void MainProgram::HandOver(const QString& argument, bool fromSecondStart)
{
    if (fromSecondStart) {
        m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    }
    const HandOverOutcome outcome =
        fromSecondStart ? m_handOver->Handle(argument) : m_handOver->ImportAtStart(argument);
    if (outcome.action == HandOverOutcome::Action::NotImportable ||
        outcome.action == HandOverOutcome::Action::ImportFailed)
        m_core.Ask().Inform(outcome.message, false, 0, 30);
    m_window->Rebuild();
}

bool MainProgram::Finish()
{
    if (m_finished)
        return m_error.isEmpty();
    m_finished = true;
    m_window->StorePlace();
    const bool minimised = m_window->LeftMinimised();
    if (!m_core.Shutdown(minimised)) {
        m_error = m_core.LastError();
        return false;
    }
    return true;
}

} // namespace quorx
