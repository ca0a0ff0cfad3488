#pragma once

#include "power/QuestionTable.h"

#include <QString>

#include <optional>

namespace quorx {

struct Platform;
struct Settings;
class Clock;
class QuestionPresenter;
class Sound;

// The answer of a question, and whether it was put to the user at all (a silenced question or
// silent mode answers without showing anything).
struct QuestionOutcome
{
    bool yes = false;
    bool shown = false;
};

// The program's questions and notices. Numbered questions remember their last answer, which
// becomes the default next time, and the box that stops them from being asked; both live in
// Config.Ini. Main thread only; every call is modal.
class Questions final
{
public:
    // settings are read at every question, so changes made in the preferences apply at once.
    Questions(QuestionPresenter& presenter, const Settings& settings, const Platform& platform,
              QString configIniPath);

    bool Ask(const QString& text, bool defaultYes, bool offerBox, int number);
    // As Ask, but once the user has silenced the question it answers fallbackYes, whatever was
    // answered last.
    bool AskWithFallback(const QString& text, bool defaultYes, bool offerBox, int number, bool fallbackYes);
    void Inform(const QString& text, bool offerBox, int number, int countdownSeconds);

    QuestionOutcome AskDetailed(const QString& text, bool defaultYes, bool offerBox, int number);
    QuestionOutcome AskWithFallbackDetailed(const QString& text, bool defaultYes, bool offerBox, int number,
                                            bool fallbackYes);
    // yes when the notice was closed with its button (or its countdown).
    QuestionOutcome InformDetailed(const QString& text, bool offerBox, int number, int countdownSeconds);

    // The questions of the table, with their number, text, default and box.
    bool Ask(QuestionId id, const QuestionArgs& args = {});
    void Inform(QuestionId id, const QuestionArgs& args = {});
    QuestionOutcome Put(QuestionId id, const QuestionArgs& args = {});

    // Why the last answer could not be kept in Config.Ini; empty when it was.
    const QString& LastError() const { return m_lastError; }

    // Silent mode: while on, Ask and Ask with fallback return their caller's default without
    // showing anything or reading what was stored. Nested scopes are allowed.
    static bool IsSilent();

private:
    QuestionOutcome Run(const QString& text, bool defaultYes, bool offerBox, int number, QuestionKind kind,
                        bool fallbackYes);
    void PlaySounds(QuestionKind kind);
    // Loads the file again just before writing, so that what others wrote while the question
    // was on the screen (a nested question, a window that closed) is kept.
    void Keep(int number, std::optional<bool> answer, std::optional<bool> askAgain);

    QuestionPresenter& m_presenter;
    const Settings& m_settings;
    const Clock* m_clock;
    Sound* m_sound;
    QString m_configIniPath;
    QString m_lastError;

    friend class SilentQuestions;
    static int s_silentDepth;
};

// Puts the questions in silent mode for its lifetime.
class SilentQuestions final
{
public:
    SilentQuestions() { ++Questions::s_silentDepth; }
    ~SilentQuestions() { --Questions::s_silentDepth; }
    SilentQuestions(const SilentQuestions&) = delete;
    SilentQuestions& operator=(const SilentQuestions&) = delete;
};

} // namespace quorx
