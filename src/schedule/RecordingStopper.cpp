#include "schedule/RecordingStopper.h"

#include "i18n/LocalisedStrings.h"

namespace quorx {

QString RecordingStopper::QuestionText()
{
    return Ls(62);
}

} // namespace quorx
