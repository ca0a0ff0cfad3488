#include "editor/EndActions.h"

#include "editor/RecordingDraft.h"
#include "i18n/LocalisedStrings.h"

namespace quorx {

QString EndActions::Summary(const RecordingDraft& draft)
{
    if (!draft.fermer)
        return Ls(137);
    switch (draft.PowerAction()) {
    case AfterRecordingBox::Veille:
        return Ls(133) + Ls(134);
    case AfterRecordingBox::VeillePro:
        return Ls(133) + Ls(135);
    case AfterRecordingBox::Eteindre:
        return Ls(133) + Ls(136);
    case AfterRecordingBox::None:
        break;
    }
    return Ls(133);
}

void EndActions::LeftPress(RecordingDraft& draft)
{
    draft.SetFermer(!draft.fermer);
}

void EndActions::RightPress(RecordingDraft& draft, bool canSuspend, bool canHibernate)
{
    draft.fermer = true;
    AfterRecordingBox next = AfterRecordingBox::None;
    switch (draft.PowerAction()) {
    case AfterRecordingBox::None:
        next = canHibernate ? AfterRecordingBox::VeillePro : AfterRecordingBox::Eteindre;
        break;
    case AfterRecordingBox::VeillePro:
        next = AfterRecordingBox::Eteindre;
        break;
    case AfterRecordingBox::Eteindre:
        next = canSuspend ? AfterRecordingBox::Veille
                          : (canHibernate ? AfterRecordingBox::VeillePro : AfterRecordingBox::None);
        break;
    case AfterRecordingBox::Veille:
        next = AfterRecordingBox::None;
        break;
    }
    draft.veille = draft.veillePro = draft.eteindre = false;
    if (next != AfterRecordingBox::None)
        draft.SetPowerAction(next, true);
}

bool EndActions::EteindreEnabled(const RecordingDraft& draft)
{
    return draft.fermer;
}

bool EndActions::VeilleEnabled(const RecordingDraft& draft, bool canSuspend)
{
    return draft.fermer && canSuspend;
}

bool EndActions::VeilleProEnabled(const RecordingDraft& draft, bool canHibernate)
{
    return draft.fermer && canHibernate;
}

} // namespace quorx
