#pragma once

#include <QString>

namespace quorx {

// Every character a file name may not hold on Windows becomes "_": / \ : ? * " < > | and the
// control characters, so a title taken from a guide always gives one plain file name.
QString CleanFileName(const QString& name);

// The first character in upper (title) case and the rest in lower case, with Unicode case rules:
// "émission" and "ÉMISSION" both give "Émission".
QString CapitaliseFirst(const QString& text);

// Digits grouped by three from the right, separated by one blank: "1 234 567", "-12 345".
QString GroupDigits(qint64 value);

// A text is a web address when, trimmed, it begins with "http" in any letter case.
bool IsWebAddress(const QString& text);

} // namespace quorx
