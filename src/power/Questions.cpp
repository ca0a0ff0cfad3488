#include "power/Questions.h"

#include "common/IniFile.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "power/DialogMemory.h"
#include "power/InterfaceSounds.h"
#include "power/QuestionPresenter.h"
#include "schedule/Settings.h"

#include <QFileInfo>

namespace quorx {

int Questions::s_silentDepth = 0;

Questions::Questions(QuestionPresenter& presenter, const Settings& settings, const Platform& platform,
                     QString configIniPath)
    : m_presenter(presenter), m_settings(settings), m_clock(platform.clock), m_sound(platform.sound),
      m_configIniPath(std::move(configIniPath))
{
}

bool Questions::IsSilent()
{
    return s_silentDepth > 0;
}

bool Questions::Ask(const QString& text, bool defaultYes, bool offerBox, int number)
{
    return AskDetailed(text, defaultYes, offerBox, number).yes;
}

bool Questions::AskWithFallback(const QString& text, bool defaultYes, bool offerBox, int number,
                                bool fallbackYes)
{
    return AskWithFallbackDetailed(text, defaultYes, offerBox, number, fallbackYes).yes;
}

void Questions::Inform(const QString& text, bool offerBox, int number, int countdownSeconds)
{
    InformDetailed(text, offerBox, number, countdownSeconds);
}

QuestionOutcome Questions::AskDetailed(const QString& text, bool defaultYes, bool offerBox, int number)
{
    return Run(text, defaultYes, offerBox, number, QuestionKind::Ask, false);
}

QuestionOutcome Questions::AskWithFallbackDetailed(const QString& text, bool defaultYes, bool offerBox,
                                                   int number, bool fallbackYes)
{
    return Run(text, defaultYes, offerBox, number, QuestionKind::AskWithFallback, fallbackYes);
}

QuestionOutcome Questions::InformDetailed(const QString& text, bool offerBox, int number,
                                          int countdownSeconds)
{
    m_lastError.clear();
    const bool box = offerBox && number > 0;
    if (box && !DialogMemory::AskAgain(IniFile(m_configIniPath), number))
        return {};

    QuestionRequest request = QuestionRequest::ForInform(text, offerBox, number, countdownSeconds);
    request.look = QuestionAppearance::FromSettings(m_settings);
    PlaySounds(QuestionKind::Inform);
    const QuestionReply reply = m_presenter.Present(request);
    if (box)
        Keep(number, std::nullopt, !reply.boxTicked);
    return {reply.yes, true};
}

bool Questions::Ask(QuestionId id, const QuestionArgs& args)
{
    return Put(id, args).yes;
}

void Questions::Inform(QuestionId id, const QuestionArgs& args)
{
    Put(id, args);
}

QuestionOutcome Questions::Put(QuestionId id, const QuestionArgs& args)
{
    const QuestionEntry& e = QuestionTable::Of(id);
    const QString text = e.text(args);
    if (e.kind == QuestionKind::Inform)
        return InformDetailed(text, e.box, e.number, e.countdownSeconds);
    return Run(text, e.defaultYes, e.box, e.number, e.kind, e.fallbackYes);
}

QuestionOutcome Questions::Run(const QString& text, bool defaultYes, bool offerBox, int number,
                               QuestionKind kind, bool fallbackYes)
{
    m_lastError.clear();
    if (IsSilent())
        return {defaultYes, false};

    const bool box = offerBox && number > 0;
    if (number > 0) {
        const IniFile ini(m_configIniPath);
        const bool stored = DialogMemory::StoredAnswer(ini, number, defaultYes);
        if (box && !DialogMemory::AskAgain(ini, number))
            return {kind == QuestionKind::AskWithFallback ? fallbackYes : stored, false};
        defaultYes = stored;
    }

    QuestionRequest request = kind == QuestionKind::AskWithFallback
                                  ? QuestionRequest::ForAskWithFallback(text, defaultYes, offerBox, number)
                                  : QuestionRequest::ForAsk(text, defaultYes, offerBox, number);
    request.look = QuestionAppearance::FromSettings(m_settings);
    PlaySounds(kind);
    const QuestionReply reply = m_presenter.Present(request);

    if (number > 0)
        Keep(number, reply.yes, box ? std::optional<bool>(!reply.boxTicked) : std::nullopt);
    return {reply.yes, true};
}

void Questions::PlaySounds(QuestionKind kind)
{
    if (!m_sound || !m_clock || !InterfaceSounds::AllowedNow(m_settings, m_clock->Now()))
        return;
    if (kind == QuestionKind::Inform)
        InterfaceSounds::PlayNotice(*m_sound);
    else
        InterfaceSounds::PlayQuestion(*m_sound);
}

void Questions::Keep(int number, std::optional<bool> answer, std::optional<bool> askAgain)
{
    IniFile ini;
    if (!ini.Load(m_configIniPath) && QFileInfo::exists(m_configIniPath)) {
        // Saving over a file we could not read would lose every other setting in it.
        m_lastError =
            QStringLiteral("La réponse à la question %1 n'a pas été conservée : le fichier « %2 » ne peut "
                           "être lu.")
                .arg(number)
                .arg(m_configIniPath);
        return;
    }
    ini.SetPath(m_configIniPath);
    if (answer)
        DialogMemory::Remember(ini, number, *answer);
    if (askAgain)
        DialogMemory::SetAskAgain(ini, number, *askAgain);
    QString error;
    if (!ini.Save(&error))
        m_lastError =
            QStringLiteral("La réponse à la question %1 n'a pas été conservée. %2").arg(number).arg(error);
}

} // namespace quorx
