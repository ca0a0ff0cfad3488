#pragma once

#include "common/DateTime.h"
#include "schedule/TEmission.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace quorx {

class Questions;
class RecordingStopper;
class RecordingWindowTable;
class ScheduleTable;
struct Settings;

// What the list of recordings shows and how its commands change the records. The main window only
// displays what these functions decide, so the same rules run in the tests and on the command line.
namespace ListRules {

enum Column
{
    ColumnName = 0,
    ColumnChannel = 1,
    ColumnStart = 2,
    ColumnEnd = 3,
    ColumnRepetition = 4,
    ColumnCount = 5
};

// Display modes (Afficher).
enum Mode
{
    ModeAll = 0,
    ModeRecording = 1,
    ModeNext = 2,
    ModeToday = 3,
    ModeWeek = 10,
    ModeTomorrow = 11
};

// Sort orders (Tri).
enum Order
{
    ByStart = 0,
    ByName = 1,
    ByChannel = 2,
    ByRepetition = 3
};

QString ColumnTitle(int column);
// The sort order a click on a column title chooses.
int OrderForColumn(int column);
// Negative stored values read as 0.
int ModeOf(const Settings& settings);
int OrderOf(const Settings& settings);

// What a row's state depends on besides the record itself.
struct RowState
{
    bool isNext = false;      // the next recording to start
    bool isRecording = false; // the recording under way
};

bool IsShown(const TEmission& e, const RowState& state, const Settings& settings, DateTime now);

// Length of one occurrence in minutes with both margins; an end earlier than the start runs past
// midnight.
int OccurrenceMinutes(const TEmission& e, const Settings& settings);
// Counts towards the total duration label: active and not skipped.
bool CountsInTotal(const TEmission& e);
// "Durée totale de la programmation affichée : ..."; empty for 0 (the label hides).
QString TotalDurationText(int minutes);

QString StartText(const TEmission& e, const Settings& settings);
QString EndText(const TEmission& e, const Settings& settings);
QString RepetitionText(const TEmission& e, DateTime today);
QString CellText(const TEmission& e, int column, const Settings& settings, DateTime now);

// The stable order of the records for a sort order, as the old indexes in their new places.
std::vector<int> SortedOrder(const ScheduleTable& table, int order, DateTime now);
// Sorts the records and their recording windows together; false when nothing moved.
bool Sort(ScheduleTable& table, RecordingWindowTable& windows, int order, DateTime now);

// Colours are colour values with red in the low byte.
struct CellStyle
{
    quint32 text = 0;
    quint32 background = 0xFFFFFFu;
    bool bold = false;
    bool underline = false;
    bool strikeOut = false;
};

struct RowPictures
{
    bool skip = false;
    bool inactive = false;
    bool priority = false;
    bool guide = false;
};

quint32 RepeatingBackground(int repeatedDays);
CellStyle StyleOf(const TEmission& e, int column, const RowState& state, int mode, DateTime now);
RowPictures PicturesOf(const TEmission& e);

// The items of the list's context menu that show, and their checks.
struct MenuState
{
    bool modify = false;
    bool add = false;
    bool import = false;
    bool startStop = false;
    bool startStopStops = false; // "Interrompre" rather than "Démarrer"
    bool reset = false;
    bool inactive = false;
    bool skipNext = false;
    bool remove = false;
    bool copy = false;
    bool cut = false;
    bool priority = false;
    bool duplicate = false;
    bool paste = false;
    bool wholeList = false; // the "Activité/priorité" submenu and the export
    bool inactiveChecked = false;
    bool skipNextChecked = false;
    bool priorityChecked = false;
};

// selected: the indexes of the selected records in selection order; current: the record of the
// current row or -1; next: the next recording or -1.
MenuState MenuFor(const ScheduleTable& table, const std::vector<int>& selected, int current, int next,
                  const QString& clipboardText, DateTime now);

// The commands on one selected record. The recording under way keeps its state: clearing it
// would lose track of the recording while the viewer still records.
void ToggleInactive(TEmission& e);
void ToggleSkipNext(TEmission& e);
void TogglePriority(TEmission& e);
void Reset(TEmission& e);
// Sets priority on every one-off recording.
void PrioritiseOneOffs(ScheduleTable& table);

// Asks question 4 (44 when fromCut) once for all of them, then deletes them, last row first; a
// recording under way is deleted only when the stopper agrees. Returns how many left the table.
int DeleteRecords(ScheduleTable& table, std::vector<int> indexes, Questions& questions,
                  RecordingStopper& stopper, bool fromCut = false);

} // namespace ListRules
} // namespace quorx
