#pragma once

#include <QString>

namespace quorx {

class IniFile;

// What Config.Ini keeps of the questions, in section Dialog: the last answer under the
// question's number, and under "AskAgain" and the number whether it is still asked.
class DialogMemory final
{
public:
    static QString Section();
    static QString AnswerKey(int number);
    static QString AskAgainKey(int number);

    static bool StoredAnswer(const IniFile& ini, int number, bool callerDefault);
    static bool AskAgain(const IniFile& ini, int number);
    static void Remember(IniFile& ini, int number, bool answer);
    static void SetAskAgain(IniFile& ini, int number, bool askAgain);
    // Every question the user silenced is asked again (the marks of numbers 0 to 256 that exist).
    static void AskAllAgain(IniFile& ini);
};

} // namespace quorx
