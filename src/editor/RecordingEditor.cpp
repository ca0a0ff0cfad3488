#include "editor/RecordingEditor.h"

#include "channels/RecordingFolder.h"
#include "common/IniFile.h"
#include "common/TextUtils.h"
#include "editor/EditorMerge.h"
#include "editor/EndActions.h"
#include "editor/FilePreview.h"
#include "editor/RepetitionKinds.h"
#include "engine/NewRecording.h"
#include "engine/RecordingDrive.h"
#include "engine/RecordingFileName.h"
#include "platform/Clock.h"
#include "platform/Disks.h"
#include "platform/PowerBackend.h"
#include "power/Questions.h"
#include "schedule/DefaultRecordingStopper.h"
#include "schedule/RecordDeletion.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace quorx {

namespace {

constexpr int kNoticeSeconds = 30;

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && RecordingFolder::IsExistingFolder(path);
}

PreferenceProfile ProfileOfDraft(const RecordingDraft& draft)
{
    return draft.IsRepeatingKind() ? PreferenceProfile::Repeating : PreferenceProfile::OneOff;
}

QString DriveRootOf(const RecordingEditor::Context& c)
{
    if (!c.driveRoot.isEmpty())
        return RecordingFolder::WithTrailingSeparator(c.driveRoot);
    if (c.platform.disks)
        return RecordingFolder::WithTrailingSeparator(c.platform.disks->MountPointOf(c.programFolder));
    return QStringLiteral("/");
}

} // namespace

RecordingEditor::RecordingEditor(const Context& context)
    : m_context(context),
      m_store(context.channelPrefsPath.isEmpty()
                  ? QDir(context.programFolder).filePath(ChannelPreferenceStore::FileName())
                  : context.channelPrefsPath,
              DriveRootOf(context)),
      m_configPath(context.configPath.isEmpty() ? SettingsStore::FilePath(context.programFolder)
                                                : context.configPath),
      m_driveRoot(DriveRootOf(context))
{
    if (!m_context.stopper) {
        m_defaultStopper = std::make_unique<DefaultRecordingStopper>();
        m_context.stopper = m_defaultStopper.get();
    }
    const IniFile config(m_configPath);
    m_memory = EditorMemory::Read(config);
    m_favourites.Load(config, m_context.settings->Majuscules);
    m_favouriteChannels.Load(config);

    m_draft.channel = m_memory.chaine;
    if (m_draft.channel.isEmpty() && !Channels().isEmpty())
        m_draft.channel = Channels().first();
    m_draft.nomAuto = m_memory.nomAuto;
    m_draft.applyToAll = m_memory.retenir;
    m_draft.folder = IsFolder(m_memory.dernierDossier) ? m_memory.dernierDossier : m_driveRoot;
    const DateTime now = Now().WithoutSeconds();
    m_draft.startDate = now.DatePart();
    m_draft.startTime = now.TimePart();
    m_draft.endTime = now.AddSeconds(2 * 3600).TimePart();
    m_draft.FollowEndDate();
    m_draft.RefreshDuration();
    ApplyChannelDefaults();
    SyncFileName();
}

RecordingEditor::~RecordingEditor() = default;

DateTime RecordingEditor::Now() const
{
    return m_context.platform.clock->Now();
}

int RecordingEditor::RecordIndex() const
{
    return m_context.table->FindById(m_recordId);
}

const QStringList& RecordingEditor::Channels() const
{
    return m_favourites.List(EditorFavourites::Box::Chaine).Entries();
}

bool RecordingEditor::CanValidateAndNew() const
{
    return !m_context.table->IsFull();
}

bool RecordingEditor::Open(int recordIndex, bool newMode)
{
    if (!m_context.table->IsValidIndex(recordIndex))
        return false;
    m_recordId = (*m_context.table)[recordIndex].RecordId;
    m_newMode = newMode;
    m_pendingMerges.clear();
    m_loading = true;
    LoadEntry((*m_context.table)[recordIndex]);
    m_loading = false;
    return true;
}

void RecordingEditor::LoadEntry(const TEmission& e)
{
    RecordingDraft& d = m_draft;
    d.name = e.Programme;
    d.channel = e.Chaine;
    d.startDate = e.DateDebut.DatePart();
    d.startTime = e.HeureDebut.WithoutSeconds().TimePart();
    d.endDate = e.DateFin.DatePart();
    d.endTime = e.HeureFin.WithoutSeconds().TimePart();
    d.days = e.Repetition & 0x7F;
    d.kind = RepetitionKinds::KindOf(d.days);
    d.repEndChecked = !e.RepetitionFin.IsZero();
    d.repEnd = e.RepetitionFin.DatePart();

    const QString extension = RecordingFileName::ExtensionOf(e.Fichier);
    if (!extension.isEmpty())
        d.format = FormatOfExtension(extension);
    d.addDate = e.AjouterDate;
    d.addHeure = e.AjouterHeure;
    d.addChaine = e.AjouterChaine;
    if (!e.Commande.isEmpty())
        d.commande = e.Commande;
    d.commandCheck = !e.Commande.isEmpty();

    const QString folder = RecordingFileName::FolderPart(e.Fichier);
    const QString moved = folder.isEmpty() || !m_context.platform.disks
                              ? QString()
                              : RecordingDrive::Moved(folder, m_driveRoot, *m_context.platform.disks);
    if (IsFolder(folder))
        d.folder = folder;
    else if (IsFolder(moved))
        d.folder = moved;
    else if (IsFolder(m_memory.dernierDossier))
        d.folder = m_memory.dernierDossier;
    else
        d.folder = m_driveRoot;
    const QString file = e.Fichier.mid(folder.size());
    d.fileName = file.left(file.size() - extension.size());

    d.fermer = e.Fermer;
    if (e.Veille || e.VeillePro || e.Eteindre) {
        d.fermer = true;
        d.veille = e.Veille;
        d.veillePro = e.VeillePro;
        d.eteindre = e.Eteindre;
    } else {
        d.veille = d.veillePro = d.eteindre = false;
    }
    d.nomAuto = d.fileName.left(d.name.size()).compare(d.name, Qt::CaseInsensitive) == 0;

    d.FollowEndDate();
    d.RefreshDuration();
}

RecordingEditor::ShowRequests RecordingEditor::AskAtShow()
{
    ShowRequests requests;
    Questions& q = *m_context.questions;
    q.Inform(QuestionId::ChannelListNotice);
    if (Channels().isEmpty())
        requests.openChannelImport = q.Ask(QuestionId::ImportChannels);
    const PreferenceProfile profile = ProfileOfDraft(m_draft);
    if (!m_store.HasDefault(profile) && q.Ask(QuestionId::DefineDefaults)) {
        requests.openPreferences = true;
        requests.repeatingPreferences = profile == PreferenceProfile::Repeating;
    }
    CheckFolder();
    return requests;
}

void RecordingEditor::ReloadChannels()
{
    const IniFile config(m_configPath);
    FavouritesList& list = m_favourites.List(EditorFavourites::Box::Chaine);
    list.Load(config);
    if (m_context.settings->Majuscules) {
        const QStringList entries = list.Entries();
        list.Clear();
        for (const QString& entry : entries)
            list.Add(CapitaliseFirst(entry));
    }
}

void RecordingEditor::ApplyChannelDefaults()
{
    const auto prefs =
        m_store.ReadEditorDefaults(ProfileOfDraft(m_draft), m_draft.channel.trimmed(), m_draft.folder);
    if (prefs)
        m_draft.TakePreferences(*prefs);
    if (m_draft.folder.trimmed().isEmpty())
        m_draft.folder = m_driveRoot;
    m_draft.folder = EditorFolder::OnProgramDrive(m_draft.folder, m_driveRoot);
}

void RecordingEditor::ApplyKindDefaults()
{
    if (m_loading)
        return;
    TEmission blank;
    blank.Programme = m_draft.name.trimmed();
    blank.Chaine = m_draft.channel.trimmed();
    // A repeating kind with no day chosen yet still takes the repeating defaults.
    blank.Repetition = m_draft.IsRepeatingKind() ? (m_draft.days ? m_draft.days : std::uint8_t(0x7F)) : 0;
    m_store.ApplyTo(blank);
    m_draft.addDate = blank.AjouterDate;
    m_draft.addHeure = blank.AjouterHeure;
    m_draft.addChaine = blank.AjouterChaine;
    m_draft.commande = blank.Commande;
    m_draft.commandCheck = !blank.Commande.isEmpty();
    const QString folder = RecordingFileName::FolderPart(blank.Fichier);
    if (!folder.isEmpty())
        m_draft.folder = folder;
    m_draft.fermer = blank.Fermer;
    m_draft.veille = blank.Veille;
    m_draft.veillePro = blank.VeillePro;
    m_draft.eteindre = blank.Eteindre;
}

void RecordingEditor::SyncFileName()
{
    if (m_draft.nomAuto)
        m_draft.fileName = CleanFileName(m_draft.name.trimmed());
}

void RecordingEditor::SetName(const QString& name)
{
    m_draft.name = name.left(64);
    SyncFileName();
}

void RecordingEditor::SetChannel(const QString& channel)
{
    if (channel == m_draft.channel)
        return;
    m_draft.channel = channel;
    if (!m_loading)
        ApplyChannelDefaults();
}

void RecordingEditor::LeaveChannel()
{
    const QString typed = m_draft.channel.trimmed();
    const FavouritesList& list = m_favourites.List(EditorFavourites::Box::Chaine);
    const int index = list.IndexOf(typed);
    if (index >= 0)
        m_draft.channel = list.Entries().at(index);
}

void RecordingEditor::ChooseQuickChannel(const QString& channel)
{
    m_draft.channel = channel;
    ApplyChannelDefaults();
}

void RecordingEditor::AfterStartChange(bool startTimeChanged)
{
    m_draft.FollowEndDate();
    if (m_newMode && startTimeChanged)
        m_draft.MoveToTomorrowWhenOver(Now());
    m_draft.RefreshDuration();
}

void RecordingEditor::SetStartDate(DateTime date)
{
    m_draft.startDate = date.DatePart();
    AfterStartChange(false);
}

void RecordingEditor::SetStartTime(DateTime time)
{
    m_draft.startTime = time.WithoutSeconds().TimePart();
    AfterStartChange(true);
}

void RecordingEditor::SetEndTime(DateTime time)
{
    m_draft.endTime = time.WithoutSeconds().TimePart();
    m_draft.FollowEndDate();
    m_draft.RefreshDuration();
}

void RecordingEditor::SetDuration(qint64 seconds)
{
    m_draft.ApplyDuration(seconds - seconds % 60);
}

void RecordingEditor::StartNow()
{
    SetStartTime(Now().WithoutSeconds().TimePart());
}

void RecordingEditor::StartToday()
{
    SetStartDate(Now().DatePart());
}

void RecordingEditor::StartTomorrow()
{
    SetStartDate(Now().DatePart().AddDays(1));
}

void RecordingEditor::MoveStartDays(int days)
{
    SetStartDate(m_draft.startDate.AddDays(days));
}

void RecordingEditor::KeypadPress(TimeField field, TimeKeypad::Button button, int tag, bool rightPress)
{
    const auto press = [&](DateTime time) {
        const QTime t = TimeKeypad::Apply(QTime(time.Hour(), time.Minute()), button, tag, rightPress);
        return DateTime::FromTime(t.hour(), t.minute());
    };
    switch (field) {
    case TimeField::Start:
        SetStartTime(press(m_draft.startTime));
        break;
    case TimeField::End:
        SetEndTime(press(m_draft.endTime));
        break;
    case TimeField::Duration:
        SetDuration(press(DateTime::FromSeconds(double(m_draft.durationSeconds))).TotalSeconds());
        break;
    }
}

void RecordingEditor::ChooseKind(int kind)
{
    if (kind < 0 || kind >= RepetitionKinds::kCount)
        return;
    m_draft.kind = kind;
    m_draft.days = RepetitionKinds::DaysOf(kind);
    ApplyKindDefaults();
}

void RecordingEditor::SetDay(int dayOfWeek, bool ticked)
{
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return;
    const std::uint8_t bit = WeekdayBitOf(dayOfWeek);
    m_draft.days = ticked ? (m_draft.days | bit) : (m_draft.days & ~bit);
    m_draft.kind = RepetitionKinds::KindOf(m_draft.days);
    ApplyKindDefaults();
}

void RecordingEditor::SetRepetitionEndChecked(bool ticked)
{
    m_draft.repEndChecked = ticked;
}

void RecordingEditor::SetRepetitionEnd(DateTime date)
{
    m_draft.repEnd = date.DatePart();
    m_draft.repEndChecked = true;
}

void RecordingEditor::MoveRepetitionEnd(int days)
{
    SetRepetitionEnd(m_draft.repEnd.AddDays(days));
}

void RecordingEditor::SetFolder(const QString& folder)
{
    m_draft.folder = folder;
}

void RecordingEditor::SetFileName(const QString& fileName)
{
    m_draft.fileName = fileName;
    m_draft.nomAuto = false;
}

void RecordingEditor::CheckFolder()
{
    m_draft.folder = EditorFolder::OnProgramDrive(m_draft.folder.trimmed(), m_driveRoot);
    if (m_draft.nomAuto || !m_context.platform.disks)
        return;
    const QString path = RecordingFolder::WithTrailingSeparator(m_draft.folder) + m_draft.fileName +
                         ExtensionOf(m_draft.format);
    if (m_draft.fileName.isEmpty() || !m_context.platform.disks->FileExists(path))
        return;
    if (!m_context.questions->Ask(QuestionId::OverwriteFile))
        m_draft.fileName = QStringLiteral("Enreg_") + QString::number(m_context.table->RandomNumber(999999));
}

void RecordingEditor::SetNomAuto(bool ticked)
{
    m_draft.nomAuto = ticked;
    SyncFileName();
}

void RecordingEditor::SetNameParts(bool date, bool time, bool channel)
{
    m_draft.addDate = date;
    m_draft.addHeure = time;
    m_draft.addChaine = channel;
}

void RecordingEditor::SetFormat(RecordingFormat format)
{
    m_draft.format = format;
}

void RecordingEditor::SetApplyToAll(bool ticked)
{
    m_draft.applyToAll = ticked;
}

void RecordingEditor::BrowsedFolder(const QString& chosen)
{
    if (chosen.trimmed().isEmpty())
        return;
    const QString previous = m_draft.folder;
    const QString folder = RecordingFolder::WithTrailingSeparator(chosen.trimmed());
    if (EditorFolder::MakeUsable(folder))
        m_draft.folder = folder;
    else if (EditorFolder::MakeUsable(previous))
        m_draft.folder = RecordingFolder::WithTrailingSeparator(previous);
    else
        m_draft.folder = RecordingFolder::WithTrailingSeparator(m_context.programFolder);
}

EditorFolder::FreeSpace RecordingEditor::FreeSpace() const
{
    if (!m_context.platform.disks)
        return EditorFolder::FreeSpace{};
    return EditorFolder::FreeSpaceOf(*m_context.platform.disks, m_draft.folder);
}

void RecordingEditor::SetFermer(bool ticked)
{
    m_draft.SetFermer(ticked);
}

void RecordingEditor::SetPowerAction(AfterRecordingBox box, bool ticked)
{
    m_draft.SetPowerAction(box, ticked);
}

void RecordingEditor::SetCommandCheck(bool ticked)
{
    m_draft.commandCheck = ticked;
}

void RecordingEditor::SetCommand(const QString& command)
{
    m_draft.commande = command;
}

void RecordingEditor::ChosenProgram(const QString& path)
{
    if (path.isEmpty())
        return;
    m_draft.commande = path;
    m_draft.commandCheck = true;
}

bool RecordingEditor::CanSuspend() const
{
    return m_context.platform.power && m_context.platform.power->CanSuspend();
}

bool RecordingEditor::CanHibernate() const
{
    return m_context.platform.power && m_context.platform.power->CanHibernate();
}

QString RecordingEditor::PreviewText() const
{
    FilePreview::Inputs in;
    in.now = Now();
    in.sansAnnee = m_context.settings->SansAnnee;
    in.viewerRecordingFolder = m_context.viewerRecordingFolder;
    in.driveRoot = m_driveRoot;
    return FilePreview::Text(m_draft, in);
}

void RecordingEditor::PreviewPress(bool rightPress)
{
    if (rightPress)
        FilePreview::NextNameParts(m_draft.addDate, m_draft.addHeure, m_draft.addChaine);
    else
        m_draft.format = FilePreview::NextFormat(m_draft.format);
}

QString RecordingEditor::EndSummary() const
{
    return EndActions::Summary(m_draft);
}

void RecordingEditor::SummaryPress(bool rightPress)
{
    if (rightPress)
        EndActions::RightPress(m_draft, CanSuspend(), CanHibernate());
    else
        EndActions::LeftPress(m_draft);
}

void RecordingEditor::TabShown(int tab)
{
    if (tab == int(EditorTab::File) || tab == int(EditorTab::End))
        m_loading = true;
}

EditorFavourites::AddResult RecordingEditor::AddFavourite(EditorFavourites::Box box, const QString& text)
{
    const EditorFavourites::AddResult result = m_favourites.Add(box, text);
    if (result == EditorFavourites::AddResult::Full)
        m_context.questions->Inform(EditorFavourites::FullListMessage(), false, 0, kNoticeSeconds);
    return result;
}

void RecordingEditor::RemoveCurrentChannel()
{
    m_favourites.Remove(EditorFavourites::Box::Chaine, m_draft.channel.trimmed());
    m_draft.channel.clear();
}

void RecordingEditor::ShowFailure(const ValidationFailure& failure)
{
    if (!failure.message.isEmpty())
        m_context.questions->Inform(failure.message, false, 0, kNoticeSeconds);
}

std::optional<ValidationFailure> RecordingEditor::RunChecks(bool& askedNo)
{
    askedNo = false;
    const int index = RecordIndex();
    EditorValidation::Timing timing;
    timing.now = Now();
    timing.delaiFin = m_context.settings->DelaiFin;
    timing.newMode = m_newMode;
    timing.beingRecorded = index > 0 && (*m_context.table)[index].Etat == 1;
    // A repeating entry turned one-off by the question goes through the one-off checks as well.
    for (;;) {
        if (auto f = EditorValidation::CheckFolder(m_draft))
            return f;
        if (auto f = EditorValidation::CheckFileName(m_draft))
            return f;
        if (auto f = EditorValidation::CheckOneOffEnd(m_draft, timing))
            return f;
        if (auto f = EditorValidation::CheckChannel(m_draft))
            return f;
        if (!EditorValidation::RepeatsWithoutDays(m_draft))
            break;
        if (!m_context.questions->Ask(QuestionId::RepeatWithoutDays)) {
            askedNo = true;
            return ValidationFailure{QString(), EditorTab::ChannelAndTimes, QStringLiteral("CTypeRep")};
        }
        m_draft.kind = RepetitionKinds::kSans;
        m_draft.days = 0;
    }
    return EditorValidation::CheckDuration(m_draft);
}

RecordingEditor::Result RecordingEditor::Validate(bool thenNew)
{
    ScheduleTable& table = *m_context.table;
    const Settings& settings = *m_context.settings;
    m_lastCommitted = false;
    LeaveChannel();
    m_draft.folder = RecordingFolder::WithTrailingSeparator(m_draft.folder.trimmed());
    SyncFileName();

    bool askedNo = false;
    if (auto failure = RunChecks(askedNo)) {
        ShowFailure(*failure);
        return {Status::Refused, failure};
    }

    const QVector<int> candidates = EditorMerge::Candidates(table, m_draft, RecordIndex(), m_pendingMerges,
                                                            settings.DelaiDeb, settings.DelaiFin);
    for (const int index : candidates) {
        QuestionArgs args;
        args.name = table[index].Programme;
        if (!m_context.questions->Ask(QuestionId::MergeProgrammes, args))
            continue;
        EditorMerge::Merge(m_draft, table[index], Now());
        m_pendingMerges.append(table[index].RecordId);
        SyncFileName();
        return {Status::MergeProposed, std::nullopt};
    }

    if (settings.AutoFavorites) {
        // Silently: a full list is simply not added to.
        if (!m_draft.name.trimmed().isEmpty())
            m_favourites.Add(EditorFavourites::Box::Nom, m_draft.name.trimmed());
        m_favourites.Add(EditorFavourites::Box::Chaine, m_draft.channel.trimmed());
        m_favourites.Add(EditorFavourites::Box::Dossier, m_draft.folder);
    }
    WriteValidationMemory();
    DeletePendingMerges();

    int index = RecordIndex();
    if (index < 0) {
        // The entry left the table while the editor was open; the values typed are not lost.
        index = table.Append(TEmission{});
        if (index < 0) {
            const ValidationFailure full{ScheduleTable::FullListMessage(), EditorTab::ChannelAndTimes,
                                         QStringLiteral("CNom")};
            ShowFailure(full);
            return {Status::Refused, full};
        }
        m_recordId = table[index].RecordId;
    }
    CommitInto(table[index]);
    ++m_committedCount;
    m_lastCommitted = true;
    m_newMode = false;

    if (!thenNew)
        return {Status::Committed, std::nullopt};
    if (table.IsFull()) {
        m_context.questions->Inform(ScheduleTable::FullListMessage(), false, 0, kNoticeSeconds);
        return {Status::ListFull, std::nullopt};
    }
    PrepareNewEntry();
    m_lastCommitted = false;
    return {Status::CommittedNew, std::nullopt};
}

void RecordingEditor::WriteValidationMemory()
{
    m_memory.chaine = m_draft.channel.trimmed();
    m_memory.nomAuto = m_draft.nomAuto;
    m_memory.dernierDossier = m_draft.folder;
    m_favouriteChannels.CountUse(m_draft.channel, Now());
    IniFile config(m_configPath);
    m_memory.WriteValidation(config);
    m_favouriteChannels.Save(config);
    config.Save();
    m_store.WriteBackFromEditor(ProfileOfDraft(m_draft), m_draft.channel.trimmed(), m_draft.AsPreferences(),
                                m_draft.applyToAll);
}

bool RecordingEditor::DeletePendingMerges()
{
    bool all = true;
    for (const std::int32_t id : std::as_const(m_pendingMerges)) {
        if (m_context.table->FindById(id) < 0)
            continue;
        all = RecordDeletion::DeleteById(*m_context.table, id, *m_context.stopper, false).deleted && all;
    }
    m_pendingMerges.clear();
    return all;
}

void RecordingEditor::CommitInto(TEmission& e) const
{
    const RecordingDraft& d = m_draft;
    const bool majuscules = m_context.settings->Majuscules;
    e.Programme = majuscules ? CapitaliseFirst(d.name.trimmed()) : d.name.trimmed();
    e.Chaine = majuscules ? CapitaliseFirst(d.channel.trimmed()) : d.channel.trimmed();
    e.Selected = true;
    const bool repeating = d.IsRepeatingKind() && d.days != 0;
    e.Repetition = repeating ? d.days : 0;
    e.RepetitionFin = repeating && d.repEndChecked ? d.repEnd.DatePart() : DateTime();
    if (e.Etat == 1) {
        e.HeureDebut = d.startTime;
        e.HeureFin = d.endTime;
        e.DateFin = e.HeureDebut >= e.HeureFin ? e.DateDebut.DatePart().AddDays(1) : e.DateDebut.DatePart();
    } else {
        e.DateDebut = d.startDate;
        e.HeureDebut = d.startTime;
        e.DateFin = d.endDate;
        e.HeureFin = d.endTime;
    }
    e.Fichier = RecordingFolder::WithTrailingSeparator(d.folder) + d.fileName + ExtensionOf(d.format);
    e.Commande = d.commandCheck ? d.commande.trimmed() : QString();
    e.Fermer = d.fermer;
    if (d.veille || d.veillePro || d.eteindre) {
        e.Fermer = true;
        e.Veille = d.veille;
        e.VeillePro = d.veillePro;
        e.Eteindre = d.eteindre;
    } else {
        e.Veille = e.VeillePro = e.Eteindre = false;
    }
    e.AjouterDate = d.addDate;
    e.AjouterHeure = d.addHeure;
    e.AjouterChaine = d.addChaine;
    e.Erreur = false;
    e.EPG = false;
    if (!repeating) {
        e.Actif = true;
        e.InactifPro = false;
    }
    if (e.DateDebut.DatePart() > e.DateStop.DatePart())
        e.Etat = 0;
}

void RecordingEditor::PrepareNewEntry()
{
    const int index = NewRecording::Prepare(*m_context.table, m_context.programFolder, Now());
    if (index < 0)
        return;
    m_recordId = (*m_context.table)[index].RecordId;
    m_newMode = true;
    m_loading = false;
    m_draft.name.clear();
    m_draft.kind = RepetitionKinds::kSans;
    m_draft.days = 0;
    SyncFileName();
}

void RecordingEditor::Cancel()
{
    m_lastCommitted = false;
    if (m_newMode) {
        for (int i = 1; i <= m_context.table->Count(); ++i)
            (*m_context.table)[i].Selected = false;
    }
}

void RecordingEditor::Close(int x, int y)
{
    m_memory.retenir = m_draft.applyToAll;
    m_memory.x = x;
    m_memory.y = y;
    IniFile config(m_configPath);
    m_favourites.Save(config);
    m_memory.WriteClosing(config);
    config.Save();
    if (m_newMode && !m_lastCommitted && RecordIndex() > 0)
        m_context.table->RemoveById(m_recordId);
    m_newMode = false;
}

} // namespace quorx
