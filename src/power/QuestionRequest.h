#pragma once

#include "power/QuestionAppearance.h"

#include <QString>

namespace quorx {

enum class QuestionKind
{
    Ask,
    AskWithFallback,
    Inform
};
enum class QuestionButton
{
    None,
    Oui,
    Non
};
enum class QuestionPicture
{
    Question,
    Exclamation
};

// Everything a presenter needs to show one question or notice: the window applies it as it
// stands and decides nothing itself.
struct QuestionRequest
{
    static constexpr int kCountdownTicks = 100;
    static constexpr int kDesignedTickMs = 300;

    QuestionKind kind = QuestionKind::Ask;
    int number = 0;
    QString text;
    bool defaultYes = false; // which of Oui and Non is the default button
    bool offerBox = false;   // the box is shown (and its answer kept) only for a numbered question
    QString yesCaption;      // empty: the designed "&Oui"
    QString boxCaption;      // empty: the designed "&Ne plus poser la question"
    bool showNo = true;
    QuestionButton cancelButton = QuestionButton::Non; // pressed by Escape; None: Escape does nothing
    QuestionButton firstInTabOrder = QuestionButton::Non;
    QuestionPicture picture = QuestionPicture::Question;
    int tickIntervalMs = kDesignedTickMs;
    QuestionAppearance look; // the default settings' look until the caller applies its own

    QuestionButton DefaultButton() const { return defaultYes ? QuestionButton::Oui : QuestionButton::Non; }
    QuestionButton OtherButton() const { return defaultYes ? QuestionButton::Non : QuestionButton::Oui; }
    // How long the window stays before it presses its default button by itself.
    qint64 CountdownMs() const { return static_cast<qint64>(kCountdownTicks) * tickIntervalMs; }

    static QuestionRequest ForAsk(const QString& text, bool defaultYes, bool offerBox, int number);
    static QuestionRequest ForAskWithFallback(const QString& text, bool defaultYes, bool offerBox,
                                              int number);
    static QuestionRequest ForInform(const QString& text, bool offerBox, int number, int countdownSeconds);
};

// What the user (or the countdown) did.
struct QuestionReply
{
    bool yes = false; // Oui (or "&OK") was pressed; any other way of closing answers no
    bool boxTicked = false;
};

} // namespace quorx
