#include "power/QuestionRequest.h"

#include "i18n/LocalisedStrings.h"
#include "schedule/Settings.h"

#include <algorithm>

namespace quorx {

namespace {
constexpr int kNoticeCaptionSlot = 142;
constexpr int kLongestCountdownSeconds = 24 * 3600;
} // namespace

QuestionRequest QuestionRequest::ForAsk(const QString& text, bool defaultYes, bool offerBox, int number)
{
    QuestionRequest r;
    r.look = QuestionAppearance::FromSettings(Settings());
    r.kind = QuestionKind::Ask;
    r.number = number;
    r.text = text;
    r.defaultYes = defaultYes;
    // Without a number the box could not be remembered; showing it would promise what cannot be kept.
    r.offerBox = offerBox && number > 0;
    r.cancelButton = QuestionButton::Non;
    r.firstInTabOrder = r.DefaultButton();
    return r;
}

QuestionRequest QuestionRequest::ForAskWithFallback(const QString& text, bool defaultYes, bool offerBox,
                                                    int number)
{
    QuestionRequest r = ForAsk(text, defaultYes, offerBox, number);
    r.kind = QuestionKind::AskWithFallback;
    r.cancelButton = r.OtherButton();
    return r;
}

QuestionRequest QuestionRequest::ForInform(const QString& text, bool offerBox, int number,
                                           int countdownSeconds)
{
    QuestionRequest r;
    r.look = QuestionAppearance::FromSettings(Settings());
    r.kind = QuestionKind::Inform;
    r.number = number;
    r.text = text;
    r.defaultYes = true;
    r.offerBox = offerBox && number > 0;
    r.yesCaption = QStringLiteral("&OK");
    r.boxCaption = Ls(kNoticeCaptionSlot);
    r.showNo = false;
    r.cancelButton = QuestionButton::None;
    r.firstInTabOrder = QuestionButton::Oui;
    r.picture = QuestionPicture::Exclamation;
    // A timer of 0 ms never fires, and a notice that never closes would hold up an unattended
    // program, so the countdown is at least one millisecond per tick.
    r.tickIntervalMs = std::max(1, 10 * std::clamp(countdownSeconds, 0, kLongestCountdownSeconds));
    return r;
}

} // namespace quorx
