#include "common/TextUtils.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorx {
namespace {

TEST(TextUtilsTest, CleanFileNameReplacesWhatWindowsForbids)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("Journal de 20h"), QStringLiteral("Journal de 20h")},
        {QStringLiteral("a/b\\c:d?e*f\"g<h>i|j"), QStringLiteral("a_b_c_d_e_f_g_h_i_j")},
        {QStringLiteral("Qui veut gagner des millions ?"), QStringLiteral("Qui veut gagner des millions _")},
        {QStringLiteral("line\nbreak\ttab"), QStringLiteral("line_break_tab")},
        {QStringLiteral("Télé: l'été"), QStringLiteral("Télé_ l'été")},
        {QStringLiteral("../../etc/passwd"), QStringLiteral(".._.._etc_passwd")},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(CleanFileName(c.in), c.out);
    }
}

TEST(TextUtilsTest, CapitaliseFirstUsesUnicodeCaseRules)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("émission"), QStringLiteral("Émission")},
        {QStringLiteral("ÉMISSION"), QStringLiteral("Émission")},
        {QStringLiteral("france 2"), QStringLiteral("France 2")},
        {QStringLiteral("ARTE HD"), QStringLiteral("Arte hd")},
        {QStringLiteral("1ÈRE CHAÎNE"), QStringLiteral("1ère chaîne")},
        {QStringLiteral("x"), QStringLiteral("X")},
        {QString(), QString()},
        // Title case, not upper case, for the letter pairs that have one.
        {QStringLiteral("ǆungla"), QStringLiteral("ǅungla")},
        // A first letter outside the basic plane (two UTF-16 units).
        {QStringLiteral("𐐨𐐨"), QStringLiteral("𐐀𐐨")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(CapitaliseFirst(c.in), c.out);
    }
}

TEST(TextUtilsTest, GroupDigitsByThreeFromTheRight)
{
    const struct
    {
        qint64 value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {12, "12"},
        {999, "999"},
        {1000, "1 000"},
        {1234567, "1 234 567"},
        {123456789012LL, "123 456 789 012"},
        {-5, "-5"},
        {-123, "-123"},
        {-1234, "-1 234"},
        {std::numeric_limits<qint64>::max(), "9 223 372 036 854 775 807"},
        {std::numeric_limits<qint64>::min(), "-9 223 372 036 854 775 808"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(GroupDigits(c.value), QString::fromUtf8(c.text));
    }
}

TEST(TextUtilsTest, WebAddressIsTrimmedTextStartingWithHttp)
{
    const struct
    {
        const char* text;
        bool web;
    } cases[] = {
        {"http://example.org/guide.xml.gz", true},
        {"  HTTPS://example.org  ", true},
        {"Http", true},
        {"htt", false},
        {"ftp://example.org", false},
        {"/home/user/http/guide.xml", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsWebAddress(QString::fromUtf8(c.text)), c.web);
    }
}

} // namespace
} // namespace quorx
