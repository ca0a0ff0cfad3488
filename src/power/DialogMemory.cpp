#include "power/DialogMemory.h"

#include "common/IniFile.h"

namespace quorx {

namespace {
constexpr int kHighestMarkedNumber = 256;
}

QString DialogMemory::Section()
{
    return QStringLiteral("Dialog");
}

QString DialogMemory::AnswerKey(int number)
{
    return QString::number(number);
}

QString DialogMemory::AskAgainKey(int number)
{
    return QStringLiteral("AskAgain") + QString::number(number);
}

bool DialogMemory::StoredAnswer(const IniFile& ini, int number, bool callerDefault)
{
    return ini.ReadBool(Section(), AnswerKey(number), callerDefault);
}

bool DialogMemory::AskAgain(const IniFile& ini, int number)
{
    return ini.ReadBool(Section(), AskAgainKey(number), true);
}

void DialogMemory::Remember(IniFile& ini, int number, bool answer)
{
    ini.WriteBool(Section(), AnswerKey(number), answer);
}

void DialogMemory::SetAskAgain(IniFile& ini, int number, bool askAgain)
{
    ini.WriteBool(Section(), AskAgainKey(number), askAgain);
}

void DialogMemory::AskAllAgain(IniFile& ini)
{
    for (int n = 0; n <= kHighestMarkedNumber; ++n)
        if (ini.HasKey(Section(), AskAgainKey(n)))
            SetAskAgain(ini, n, true);
}

} // namespace quorx
