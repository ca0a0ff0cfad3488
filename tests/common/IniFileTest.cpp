#include "common/IniFile.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorx {
namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    QString WriteBytes(const QString& name, const QByteArray& bytes) const
    {
        const QString path = PathOf(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    static QByteArray ReadBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static IniFile FromText(const char* text)
    {
        IniFile ini;
        ini.LoadFromBytes(QByteArray(text));
        return ini;
    }

    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, SectionsAndKeysIgnoreLetterCaseAndSurroundingBlanks)
{
    IniFile ini = FromText("[Config]\r\nCouleur=15\r\n  Langue  = Français\r\n[config]\r\nExtra=1\r\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("CONFIG"), QStringLiteral("couleur")), 15);
    EXPECT_EQ(ini.ReadString(QStringLiteral("config"), QStringLiteral("LANGUE")), QStringLiteral("Français"));
    // A second header of the same section continues it.
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Config"), QStringLiteral("extra")));
    EXPECT_EQ(ini.Sections(), QStringList{QStringLiteral("Config")});

    ini.WriteInteger(QStringLiteral("CONFIG"), QStringLiteral(" COULEUR "), 7);
    EXPECT_EQ(ini.Keys(QStringLiteral("config")),
              (QStringList{QStringLiteral("Couleur"), QStringLiteral("Langue"), QStringLiteral("Extra")}));
    // The spelling already in the file is kept.
    EXPECT_TRUE(ini.ToBytes().contains("[Config]\r\nCouleur=7\r\n"));

    IniFile dup = FromText("[A]\nKey=first\nKEY=second\n");
    EXPECT_EQ(dup.ReadString(QStringLiteral("a"), QStringLiteral("key")), QStringLiteral("first"));
    dup.DeleteKey(QStringLiteral("A"), QStringLiteral("key"));
    EXPECT_FALSE(dup.HasKey(QStringLiteral("A"), QStringLiteral("Key")));
    EXPECT_TRUE(dup.HasSection(QStringLiteral("a")));
    dup.EraseSection(QStringLiteral("a"));
    EXPECT_FALSE(dup.HasSection(QStringLiteral("A")));
}

TEST_F(IniFileTest, OrderCommentsAndUnknownLinesSurviveAChange)
{
    IniFile ini = FromText("; written by hand\r\n"
                           "[Config]\r\n"
                           "; the panel colour\r\n"
                           "Couleur=15\r\n"
                           "UnknownKey=kept\r\n"
                           "a line without equals\r\n"
                           "[Broken\r\n"
                           "[Chaines]\r\n"
                           "NbChaines=0\r\n"
                           "Chaine0=Arte\r\n");
    ini.WriteInteger(QStringLiteral("config"), QStringLiteral("couleur"), 16);
    ini.WriteString(QStringLiteral("Config"), QStringLiteral("NewKey"), QStringLiteral("v"));
    ini.WriteString(QStringLiteral("Journal"), QStringLiteral("Taille"), QStringLiteral("3"));
    EXPECT_EQ(ini.ToBytes(), QByteArray("; written by hand\r\n"
                                        "\r\n"
                                        "[Config]\r\n"
                                        "; the panel colour\r\n"
                                        "Couleur=16\r\n"
                                        "UnknownKey=kept\r\n"
                                        "a line without equals\r\n"
                                        "[Broken\r\n"
                                        "NewKey=v\r\n"
                                        "\r\n"
                                        "[Chaines]\r\n"
                                        "NbChaines=0\r\n"
                                        "Chaine0=Arte\r\n"
                                        "\r\n"
                                        "[Journal]\r\n"
                                        "Taille=3\r\n"));
}

TEST_F(IniFileTest, DeletingKeysKeepsTheOthersInPlace)
{
    QByteArray text("[Programmes]\r\n; header\r\n");
    for (int i = 0; i < 100; ++i)
        text += "Programme" + QByteArray::number(i) + "=p" + QByteArray::number(i) + "\r\n";
    text += "PROGRAMME50=repeated\r\n";
    IniFile ini;
    ini.LoadFromBytes(text);
    const QString section = QStringLiteral("Programmes");
    for (int i = 0; i < 100; i += 2)
        ini.DeleteKey(section, QStringLiteral("programme%1").arg(i));
    ini.DeleteKey(section, QStringLiteral("Programme0")); // already gone
    ini.DeleteKey(QStringLiteral("Absent"), QStringLiteral("Programme1"));
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ini.HasKey(section, QStringLiteral("Programme%1").arg(i)), i % 2 == 1);
        if (i % 2 == 1) {
            EXPECT_EQ(ini.ReadString(section, QStringLiteral("Programme%1").arg(i)),
                      QStringLiteral("p%1").arg(i));
        }
    }
    ini.WriteString(section, QStringLiteral("Programme2"), QStringLiteral("again"));
    ini.DeleteKey(section, QStringLiteral("Programme99"));
    ini.WriteString(section, QStringLiteral("Programme97"), QStringLiteral("changed"));

    QByteArray expected("[Programmes]\r\n; header\r\n");
    for (int i = 1; i < 97; i += 2)
        expected += "Programme" + QByteArray::number(i) + "=p" + QByteArray::number(i) + "\r\n";
    expected += "Programme97=changed\r\nProgramme2=again\r\n";
    EXPECT_EQ(ini.ToBytes(), expected);
    EXPECT_EQ(ini.Keys(section).size(), 50);
}

TEST_F(IniFileTest, AwkwardValuesSurviveSaveAndLoad)
{
    const QString values[] = {
        QStringLiteral(" leading"),
        QStringLiteral("trailing "),
        QStringLiteral("  both  "),
        QStringLiteral("\"quoted\""),
        QStringLiteral("\""),
        QStringLiteral("\"\""),
        QStringLiteral("\"half"),
        QStringLiteral("half\""),
        QStringLiteral(" \"quoted with blanks\" "),
        QStringLiteral("a=b=c"),
        QStringLiteral("=starts with equals"),
        QString(),
        QStringLiteral("télévisé € ü 日本 🎬"),
        QStringLiteral("\ttab"),
        QStringLiteral("no-break\u00A0"),
        QStringLiteral("; not a comment"),
        QStringLiteral("[not a section]"),
    };
    IniFile ini(PathOf(QStringLiteral("Values.Ini")));
    int i = 0;
    for (const QString& v : values)
        ini.WriteString(QStringLiteral("Values"), QStringLiteral("V%1").arg(i++), v);
    QString error;
    ASSERT_TRUE(ini.Save(&error)) << error.toStdString();

    const IniFile back(PathOf(QStringLiteral("Values.Ini")));
    i = 0;
    for (const QString& v : values) {
        SCOPED_TRACE(v.toStdString());
        EXPECT_EQ(
            back.ReadString(QStringLiteral("Values"), QStringLiteral("V%1").arg(i++), QStringLiteral("?")),
            v);
    }
    // A value is one line: a line break cannot be stored, so it becomes a blank.
    ini.WriteString(QStringLiteral("Values"), QStringLiteral("Lines"), QStringLiteral("one\r\ntwo\nthree"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Values"), QStringLiteral("Lines")),
              QStringLiteral("one two three"));
}

TEST_F(IniFileTest, WindowsFileIsReadAndWrittenBackAsUtf8)
{
    const QByteArray windows("[Saisie]\r\nProg0=Journal t\xE9l\xE9vis\xE9\r\nPrix=5 \x80\r\n"
                             "Titre=\x93"
                             "Cin\xE9ma\x94 \x81\r\n");
    const QString path = WriteBytes(QStringLiteral("Config.Ini"), windows);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("saisie"), QStringLiteral("prog0")),
              QStringLiteral("Journal télévisé"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Saisie"), QStringLiteral("Prix")), QStringLiteral("5 €"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Saisie"), QStringLiteral("Titre")),
              QStringLiteral("“Cinéma” \u0081"));

    ASSERT_TRUE(ini.Save());
    const QByteArray written = ReadBytes(path);
    EXPECT_TRUE(written.contains("Prog0=Journal t\xC3\xA9l\xC3\xA9vis\xC3\xA9\r\n"));
    EXPECT_TRUE(written.contains("Prix=5 \xE2\x82\xAC\r\n"));
    EXPECT_FALSE(written.contains('\xE9'));
    const IniFile again(path);
    EXPECT_EQ(again.ReadString(QStringLiteral("Saisie"), QStringLiteral("Titre")),
              QStringLiteral("“Cinéma” \u0081"));
}

TEST_F(IniFileTest, ByteOrderMarksAndCutOffFilesDecode)
{
    const IniFile bom = FromText("\xEF\xBB\xBF[Config]\r\nNom=\xC3\x89mission\r\n");
    EXPECT_EQ(bom.Sections(), QStringList{QStringLiteral("Config")});
    EXPECT_EQ(bom.ReadString(QStringLiteral("Config"), QStringLiteral("Nom")), QStringLiteral("Émission"));

    const QString text = QStringLiteral("[Config]\r\nNom=Émission\r\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    IniFile unicode;
    unicode.LoadFromBytes(utf16);
    EXPECT_EQ(unicode.ReadString(QStringLiteral("Config"), QStringLiteral("Nom")),
              QStringLiteral("Émission"));

    // Cut off inside the last "é": the rest is still UTF-8, not Windows-1252.
    QByteArray cut("[Config]\r\nNom=T\xC3\xA9l\xC3\xA9\r\nAutre=\xC3");
    IniFile truncated;
    truncated.LoadFromBytes(cut);
    EXPECT_EQ(truncated.ReadString(QStringLiteral("Config"), QStringLiteral("Nom")), QStringLiteral("Télé"));
    EXPECT_EQ(truncated.ReadString(QStringLiteral("Config"), QStringLiteral("Autre"), QStringLiteral("?")),
              QString());

    // A Windows file whose only accented letter is its last byte is not a cut UTF-8 file.
    IniFile windows;
    windows.LoadFromBytes(QByteArray("[Chaines]\r\nChaine1=Caf\xE9"));
    EXPECT_EQ(windows.ReadString(QStringLiteral("Chaines"), QStringLiteral("Chaine1")), QStringLiteral("Café"));
}

TEST_F(IniFileTest, MissingFilesKeysAndUnreadableValuesGiveDefaults)
{
    IniFile missing;
    EXPECT_FALSE(missing.Load(PathOf(QStringLiteral("Absent.Ini"))));
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.Path(), PathOf(QStringLiteral("Absent.Ini")));
    EXPECT_EQ(missing.ReadString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("def")),
              QStringLiteral("def"));
    EXPECT_EQ(missing.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), -1), -1);

    const IniFile ini = FromText("[N]\nText=abc\nEmpty=\nBig=99999999999\nComma=1,5\nDot= 2.25 \n"
                                 "NaN=nan\nInf=inf\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("N"), QStringLiteral("Text"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("N"), QStringLiteral("Empty"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("N"), QStringLiteral("Big"), 7), 7);
    EXPECT_EQ(ini.ReadInt64(QStringLiteral("N"), QStringLiteral("Big"), 7), 99999999999LL);
    EXPECT_EQ(ini.ReadString(QStringLiteral("N"), QStringLiteral("Empty"), QStringLiteral("def")), QString());
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("N"), QStringLiteral("Comma")), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("N"), QStringLiteral("Dot")), 2.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("N"), QStringLiteral("Text"), 4.0), 4.0);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("N"), QStringLiteral("NaN"), 4.0), 4.0);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("N"), QStringLiteral("Inf"), 4.0), 4.0);

    // Garbage is not a crash; the keys around it still read.
    QByteArray garbage("[G]\nBefore=1\n");
    for (int b = 0; b < 256; ++b)
        garbage.append(static_cast<char>(b));
    garbage.append("\nAfter=2\n");
    IniFile damaged;
    damaged.LoadFromBytes(garbage);
    EXPECT_EQ(damaged.ReadInteger(QStringLiteral("G"), QStringLiteral("Before")), 1);
    EXPECT_EQ(damaged.ReadInteger(QStringLiteral("G"), QStringLiteral("After")), 2);
}

TEST_F(IniFileTest, BooleansAndIntegersReadAsWindowsWritesThem)
{
    const IniFile ini =
        FromText("[B]\nOne=1\nZero=0\nTwo=2\nMinus=-1\nPadded= 1 \nWord=yes\nEmpty=\n"
                 "Couleur=$FF00001C\nDecimal=4278190108\nSigned=-16777188\nHex=0x10\nBadHex=$ZZ\n");
    const struct
    {
        const char* key;
        bool expected;
    } bools[] = {{"One", true},    {"Zero", false}, {"Two", true},   {"Minus", true},
                 {"Padded", true}, {"Word", true},  {"Empty", true}, {"Missing", true}};
    for (const auto& c : bools) {
        SCOPED_TRACE(c.key);
        // Unreadable and missing values give the default, here true.
        EXPECT_EQ(ini.ReadBool(QStringLiteral("B"), QString::fromUtf8(c.key), true), c.expected);
    }
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("B"), QStringLiteral("Word"), false));

    const int colour = static_cast<int>(0xFF00001Cu);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("B"), QStringLiteral("Couleur")), colour);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("B"), QStringLiteral("Decimal")), colour);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("B"), QStringLiteral("Signed")), colour);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("B"), QStringLiteral("Hex")), 16);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("B"), QStringLiteral("BadHex"), 5), 5);
    EXPECT_EQ(ini.ReadInt64(QStringLiteral("B"), QStringLiteral("Couleur")), 0xFF00001CLL);

    IniFile out;
    out.WriteBool(QStringLiteral("B"), QStringLiteral("On"), true);
    out.WriteBool(QStringLiteral("B"), QStringLiteral("Off"), false);
    EXPECT_EQ(out.ToBytes(), QByteArray("[B]\r\nOn=1\r\nOff=0\r\n"));
}

TEST_F(IniFileTest, SaveCreatesItsFolderAndReplacesTheFileWhole)
{
    const QString path = PathOf(QStringLiteral("new/deeper/Programmes.Ini"));
    IniFile ini(path);
    ini.WriteInteger(QStringLiteral("Programmes"), QStringLiteral("Nombre"), 2);
    ASSERT_TRUE(ini.Save());
    ini.WriteInteger(QStringLiteral("Programmes"), QStringLiteral("Nombre"), 3);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(path), QByteArray("[Programmes]\r\nNombre=3\r\n"));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(PathOf(QStringLiteral("new/deeper"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Programmes.Ini")});
}

TEST_F(IniFileTest, InterruptedSaveLeavesThePreviousFileWhole)
{
    const QByteArray original("[Programmes]\r\nNombre=1\r\nProgramme1=Journal\r\n");
    const QString path = WriteBytes(QStringLiteral("Programmes.Ini"), original);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        IniFile ini(path);
        ini.WriteInteger(QStringLiteral("Programmes"), QStringLiteral("Nombre"), 2);
        ini.WriteString(QStringLiteral("Programmes"), QStringLiteral("Programme2"), QStringLiteral("Film"));
        IniFile::SetBeforeCommitHookForTests([] { _exit(3); });
        ini.Save();
        _exit(0); // the hook did not run: the parent sees a wrong status
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 3);

    EXPECT_EQ(ReadBytes(path), original);
    const IniFile after(path);
    EXPECT_EQ(after.ReadInteger(QStringLiteral("Programmes"), QStringLiteral("Nombre")), 1);
    EXPECT_FALSE(after.HasKey(QStringLiteral("Programmes"), QStringLiteral("Programme2")));
}

TEST_F(IniFileTest, SaveThatCannotCreateItsFolderFailsAndWritesNothing)
{
    // A plain file stands where the folder would have to be.
    WriteBytes(QStringLiteral("blocker"), "x");
    const QString path = PathOf(QStringLiteral("blocker/sub/Config.Ini"));
    IniFile ini(path);
    ini.WriteInteger(QStringLiteral("Config"), QStringLiteral("Couleur"), 1);
    QString error;
    EXPECT_FALSE(ini.Save(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("blocker"))) << error.toStdString();
    EXPECT_EQ(ReadBytes(PathOf(QStringLiteral("blocker"))), QByteArray("x"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("blocker")});

    IniFile unnamed;
    unnamed.WriteInteger(QStringLiteral("A"), QStringLiteral("B"), 1);
    error.clear();
    EXPECT_FALSE(unnamed.Save(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(IniFileTest, EveryChangeAfterASerialisationShowsInTheNextOne)
{
    IniFile ini = FromText("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    EXPECT_EQ(ini.ToBytes(), QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"));

    ini.WriteString(QStringLiteral("b"), QStringLiteral("Z"), QStringLiteral("été"));
    EXPECT_EQ(ini.ToBytes(), QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=\xC3\xA9t\xC3\xA9\r\n"));
    ini.DeleteKey(QStringLiteral("A"), QStringLiteral("x"));
    ini.WriteInteger(QStringLiteral("C"), QStringLiteral("n"), 4);
    EXPECT_EQ(ini.ToBytes(),
              QByteArray("[A]\r\ny=2\r\n\r\n[B]\r\nz=\xC3\xA9t\xC3\xA9\r\n\r\n[C]\r\nn=4\r\n"));
    ini.EraseSection(QStringLiteral("B"));
    EXPECT_EQ(ini.ToBytes(), QByteArray("[A]\r\ny=2\r\n\r\n[C]\r\nn=4\r\n"));

    // A copy changed afterwards leaves the original's text alone, and the reverse.
    IniFile copy = ini;
    copy.WriteString(QStringLiteral("A"), QStringLiteral("y"), QStringLiteral("9"));
    EXPECT_EQ(ini.ToBytes(), QByteArray("[A]\r\ny=2\r\n\r\n[C]\r\nn=4\r\n"));
    EXPECT_EQ(copy.ToBytes(), QByteArray("[A]\r\ny=9\r\n\r\n[C]\r\nn=4\r\n"));

    ini.LoadFromBytes("[A]\nq=0\n");
    EXPECT_EQ(ini.ToBytes(), QByteArray("[A]\r\nq=0\r\n"));

    // A section of many lines, changed far from its start, at its start and at its end.
    IniFile large;
    for (int n = 0; n < 300; ++n)
        large.WriteInteger(QStringLiteral("L"), QStringLiteral("k%1").arg(n), n);
    large.ToBytes();
    large.WriteString(QStringLiteral("L"), QStringLiteral("k250"), QStringLiteral("changé"));
    large.DeleteKey(QStringLiteral("L"), QStringLiteral("k3"));
    large.WriteInteger(QStringLiteral("L"), QStringLiteral("k300"), 300);
    QByteArray expected = "[L]\r\n";
    for (int n = 0; n <= 300; ++n) {
        if (n != 3)
            expected += "k" + QByteArray::number(n) + "=" +
                        (n == 250 ? QByteArray("chang\xC3\xA9") : QByteArray::number(n)) + "\r\n";
    }
    EXPECT_EQ(large.ToBytes(), expected);
}

TEST_F(IniFileTest, SmallFileCutShortByAFullDiskFailsAndKeepsThePreviousFile)
{
    const QByteArray original("[Config]\r\nCouleur=1\r\n");
    const QString path = WriteBytes(QStringLiteral("Config.Ini"), original);
    IniFile ini(path);
    ini.WriteString(QStringLiteral("Config"), QStringLiteral("Langue"), QString(200, QLatin1Char('x')));

    // A file-size limit makes the write stop short as a full disk does, whoever runs the test.
    struct rlimit old
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 120;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = ini.Save(&error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.contains(QStringLiteral("Config.Ini"))) << error.toStdString();
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Config.Ini")});
}

} // namespace
} // namespace quorx
