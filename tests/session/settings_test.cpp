#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/applog.h"
#include "session/printchoices.h"
#include "session/settings.h"
#include "tests/testsupport.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString path(const QString& strName = QStringLiteral("config.ini")) const { return m_dir.filePath(strName); }

    QString writeIni(const QByteArray& text, const QString& strName = QStringLiteral("config.ini")) const
    {
        QFile file(path(strName));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    QByteArray readIni(const QString& strName = QStringLiteral("config.ini")) const
    {
        QFile file(path(strName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

// ---- Reading ----------------------------------------------------------------------------------------

struct FlagCase {
    const char* pszIni;
    bool bExpected;
};

void PrintTo(const FlagCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszIni);
}

class ReadFlagTest : public IniFileTest, public ::testing::WithParamInterface<FlagCase> { };

TEST_P(ReadFlagTest, ReadsTheFlagKey)
{
    const CIni ini(writeIni(GetParam().pszIni));
    EXPECT_EQ(ini.ReadFlag(), GetParam().bExpected) << GetParam().pszIni;
}

INSTANTIATE_TEST_SUITE_P(Values, ReadFlagTest,
    ::testing::Values(FlagCase {"[system]\nflag=Yes\n", true}, FlagCase {"[system]\nflag=2\n", true},
        FlagCase {"[system]\nflag=TRUE\n", true}, FlagCase {"[system]\nflag=-1\n", true},
        FlagCase {"[system]\nflag=0010\n", true}, FlagCase {"[system]\nflag=1abc\n", true},
        FlagCase {"[system]\nflag=0\n", false}, FlagCase {"[system]\nflag=no\n", false},
        FlagCase {"[system]\nflag=\n", false}, FlagCase {"[system]\nflag=+0\n", false},
        FlagCase {"[system]\nflag=abc\n", false}, FlagCase {"[system]\nflag=yes please\n", false},
        FlagCase {"[system]\ntemp_num=1\n", false}, FlagCase {"[other]\nflag=1\n", false}));

struct IntCase {
    const char* pszValue;
    unsigned nExpected;
};

void PrintTo(const IntCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszValue);
}

class ReadIntTest : public IniFileTest, public ::testing::WithParamInterface<IntCase> { };

TEST_P(ReadIntTest, ParsesLeadingDigits)
{
    const CIni ini(writeIni(QByteArray("[system]\ntemp_num=") + GetParam().pszValue + "\n"));
    EXPECT_EQ(ini.ReadInt(QStringLiteral("temp_num")), GetParam().nExpected) << GetParam().pszValue;
}

INSTANTIATE_TEST_SUITE_P(Values, ReadIntTest,
    ::testing::Values(IntCase {"007", 7}, IntCase {"12abc", 12}, IntCase {"abc", 0}, IntCase {"", 0}, IntCase {"-5", 0},
        IntCase {"4294967295", UINT_MAX}, IntCase {"99999999999", UINT_MAX}));

TEST_F(IniFileTest, ReadIntOfMissingKeyOrFileIsZero)
{
    EXPECT_EQ(CIni(writeIni("[system]\nfirst=2\n")).ReadInt(QStringLiteral("temp_num")), 0u);
    EXPECT_EQ(CIni(path(QStringLiteral("missing.ini"))).ReadInt(QStringLiteral("temp_num")), 0u);
}

class ReadLongValueTest : public IniFileTest, public ::testing::WithParamInterface<int> { };

TEST_P(ReadLongValueTest, ReadsTheWholeValue)
{
    QString strValue;
    for (int i = 0; i < GetParam(); ++i)
        strValue += QChar(u'a' + i % 26);
    const CIni ini(writeIni("[system]\nexportpath=" + strValue.toUtf8() + "\n"));
    EXPECT_EQ(ini.ReadRaw(QStringLiteral("exportpath"), QString()), strValue);
    EXPECT_EQ(ini.ReadString(QStringLiteral("nokey"), strValue), strValue);
}

// Lengths around the steps of 512 characters in which the reading buffer grows.
INSTANTIATE_TEST_SUITE_P(Lengths, ReadLongValueTest, ::testing::Values(1, 510, 511, 512, 1023, 1024, 1500, 5000));

TEST_F(IniFileTest, ProfileReaderCutsWhatDoesNotFit)
{
    const QString strPath = writeIni("[system]\nkey=abcdefghijklmnop\n");
    std::vector<QChar> buffer(8, QChar(u'#'));
    EXPECT_EQ(GetPrivateProfileString(QStringLiteral("system"), QStringLiteral("key"), QString(), buffer.data(),
                  qsizetype(buffer.size()), strPath),
        7);
    EXPECT_EQ(QString(buffer.data(), 7), QStringLiteral("abcdefg"));
    EXPECT_EQ(buffer[7], QChar(0));

    EXPECT_EQ(GetPrivateProfileString(QStringLiteral("system"), QStringLiteral("none"), QStringLiteral("dflt  "),
                  buffer.data(), qsizetype(buffer.size()), strPath),
        4);
    EXPECT_EQ(QString(buffer.data(), 4), QStringLiteral("dflt"));
    EXPECT_EQ(buffer[4], QChar(0));
}

TEST_F(IniFileTest, MatchesSectionsAndKeysIgnoringCaseAndBlanks)
{
    const CIni ini(writeIni("; settings\n"
                            "[other]\n"
                            "temp_name=Wrong\n"
                            "  [ SYSTEM ]  \n"
                            "  TEMP_NAME   =   Easter Day  \n"
                            "\tTemp_Num\t=\t12\n"
                            "temp_name=Second\n"
                            "# first=9\n"
                            "no equals sign here\n"
                            "exportpath=\"/quoted path/\"\n"
                            "[later]\n"
                            "first=4\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("temp_name"), QStringLiteral("Christmas")), QStringLiteral("Easter Day"));
    EXPECT_EQ(ini.ReadInt(QStringLiteral("temp_num")), 12u);
    EXPECT_EQ(ini.ReadInt(QStringLiteral("first")), 0u);
    EXPECT_EQ(ini.ReadString(QStringLiteral("exportpath"), QString()), QStringLiteral("/quoted path/"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("missing"), QStringLiteral("Christmas")), QStringLiteral("Christmas"));
}

TEST_F(IniFileTest, ReadsUtf8WithByteOrderMarkAndCrLf)
{
    const CIni ini(writeIni("\xEF\xBB\xBF[system]\r\ntemp_name=Gr\xC3\xBC\xC3\x9F"
                            "e \xE2\x9C\x93\r\nflag=yes\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("temp_name"), QString()), QStringLiteral("Grüße ✓"));
    EXPECT_TRUE(ini.ReadFlag());
}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    const CIni ini(path(QStringLiteral("missing.ini")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("temp_name"), QStringLiteral("Christmas")), QStringLiteral("Christmas"));
    EXPECT_FALSE(ini.ReadFlag());
}

// ---- Writing ----------------------------------------------------------------------------------------

TEST_F(IniFileTest, WriteReplacesTheKeyInPlaceAndKeepsEverythingElse)
{
    const QString strPath = writeIni("; made by hand\n"
                                     "[other]\n"
                                     "flag=keep\n"
                                     "\n"
                                     "[System]\n"
                                     "  FLAG = 7   \n"
                                     "; a comment in the section\n"
                                     "first=1\n"
                                     "\n"
                                     "[last]\n"
                                     "x=y");
    ASSERT_TRUE(
        WritePrivateProfileString(QStringLiteral("system"), QStringLiteral("flag"), QStringLiteral("0"), strPath));
    EXPECT_EQ(readIni(),
        QByteArray("; made by hand\n"
                   "[other]\n"
                   "flag=keep\n"
                   "\n"
                   "[System]\n"
                   "flag=0\n"
                   "; a comment in the section\n"
                   "first=1\n"
                   "\n"
                   "[last]\n"
                   "x=y"));
}

TEST_F(IniFileTest, WriteAddsANewKeyAfterTheSectionsLastLine)
{
    const QString strPath = writeIni("[system]\nfirst=1\n\n\n[last]\nx=y\n");
    ASSERT_TRUE(
        WritePrivateProfileString(QStringLiteral("system"), QStringLiteral("temp_num"), QStringLiteral("3"), strPath));
    EXPECT_EQ(readIni(), QByteArray("[system]\nfirst=1\ntemp_num=3\n\n\n[last]\nx=y\n"));
}

TEST_F(IniFileTest, WriteAddsAMissingSectionAtTheEnd)
{
    const QString strPath = writeIni("[other]\nx=y");
    ASSERT_TRUE(
        WritePrivateProfileString(QStringLiteral("system"), QStringLiteral("temp_num"), QStringLiteral("3"), strPath));
    EXPECT_EQ(readIni(), QByteArray("[other]\nx=y\n[system]\ntemp_num=3\n"));
}

TEST_F(IniFileTest, WriteCreatesAMissingFile)
{
    ASSERT_TRUE(WritePrivateProfileString(
        QStringLiteral("system"), QStringLiteral("temp_name"), QStringLiteral("Grüße ✓"), path()));
    EXPECT_EQ(readIni(),
        QByteArray("[system]\ntemp_name=Gr\xC3\xBC\xC3\x9F"
                   "e \xE2\x9C\x93\n"));
    EXPECT_EQ(CIni(path()).ReadString(QStringLiteral("temp_name"), QString()), QStringLiteral("Grüße ✓"));
}

TEST_F(IniFileTest, WriteKeepsByteOrderMarkLineEndsAndUndecodableBytes)
{
    const QByteArray other = "[other]\r\nraw=\xFF\xFE latin \xE9\r\n";
    const QString strPath = writeIni("\xEF\xBB\xBF" + other + "[system]\r\nfirst=1\r\n");
    ASSERT_TRUE(
        WritePrivateProfileString(QStringLiteral("system"), QStringLiteral("flag"), QStringLiteral("1"), strPath));
    EXPECT_EQ(readIni(), "\xEF\xBB\xBF" + other + "[system]\r\nfirst=1\r\nflag=1\r\n");
}

TEST_F(IniFileTest, WriteRefusesWhatWouldBreakTheFile)
{
    const QByteArray original = "[system]\nexportpath=/old\n";
    const QString strPath = writeIni(original);
    EXPECT_FALSE(WritePrivateProfileString(
        QStringLiteral("system"), QStringLiteral("exportpath"), QStringLiteral("/new\n[other]\nx=1"), strPath));
    EXPECT_FALSE(
        WritePrivateProfileString(QStringLiteral("system"), QStringLiteral("a=b"), QStringLiteral("1"), strPath));
    EXPECT_FALSE(
        WritePrivateProfileString(QStringLiteral("system"), QStringLiteral(" "), QStringLiteral("1"), strPath));
    EXPECT_FALSE(
        WritePrivateProfileString(QStringLiteral("sys]tem"), QStringLiteral("k"), QStringLiteral("1"), strPath));
    EXPECT_EQ(readIni(), original);

    // A folder in place of the file is not replaced.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.ini")));
    EXPECT_FALSE(WritePrivateProfileString(
        QStringLiteral("system"), QStringLiteral("k"), QStringLiteral("1"), path(QStringLiteral("folder.ini"))));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("folder.ini"))).isDir());
}

// ---- LoadSettings and SaveSettings ------------------------------------------------------------------

// Points the home folder at a temporary folder, so that the documents folder is not the user's, and keeps
// the shared settings of the rest of the process.
class SettingsTest : public IniFileTest {
protected:
    void SetUp() override
    {
        m_home = qgetenv("HOME");
        m_bHadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        m_configHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(m_homeDir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_homeDir.filePath(QStringLiteral(".config"))));

        g_strExportPath = QStringLiteral("unset");
        g_strTemplateCategory = QStringLiteral("unset");
        g_nTemplateNumber = -1;
        g_nTemplateGroup = -1;
        g_bTemplateFlag = true;
    }

    void TearDown() override
    {
        qputenv("HOME", m_home);
        if (m_bHadConfigHome)
            qputenv("XDG_CONFIG_HOME", m_configHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString defaultExportPath() const { return m_homeDir.filePath(QStringLiteral("Documents/Velomira")); }

    QTemporaryDir m_homeDir;

private:
    SettingsGuard m_settings;
    QByteArray m_home;
    QByteArray m_configHome;
    bool m_bHadConfigHome = false;
};

TEST_F(SettingsTest, DefaultsWithoutAFile)
{
    ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Velomira"),
        defaultExportPath());
    LoadSettings(path(QStringLiteral("missing.ini")));
    EXPECT_EQ(g_strExportPath, defaultExportPath());
    EXPECT_TRUE(QFileInfo(defaultExportPath()).isDir());
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Christmas"));
    EXPECT_EQ(g_nTemplateNumber, 0);
    EXPECT_EQ(g_nTemplateGroup, 0);
    EXPECT_FALSE(g_bTemplateFlag);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing.ini"))));
}

TEST_F(SettingsTest, ReadsEveryKey)
{
    const QString strFolder = m_dir.filePath(QStringLiteral("exports"));
    ASSERT_TRUE(QDir().mkpath(strFolder));
    LoadSettings(writeIni(
        "[system]\nexportpath=" + strFolder.toUtf8() + "\ntemp_name=Wedding\ntemp_num=007\nfirst=1\nflag=Yes\n"));
    EXPECT_EQ(g_strExportPath, strFolder);
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Wedding"));
    EXPECT_EQ(g_nTemplateNumber, 7);
    EXPECT_EQ(g_nTemplateGroup, 1);
    EXPECT_TRUE(g_bTemplateFlag);
}

TEST_F(SettingsTest, KeepsAnExportPathNamingAFile)
{
    const QString strFile = writeIni("not a folder", QStringLiteral("picture.jpg"));
    LoadSettings(writeIni("[system]\nexportpath=" + strFile.toUtf8() + "\n"));
    EXPECT_EQ(g_strExportPath, strFile);
    EXPECT_FALSE(QFileInfo::exists(defaultExportPath()));
}

TEST_F(SettingsTest, ReplacesAnExportPathNamingNothing)
{
    LoadSettings(writeIni("[system]\nexportpath=" + m_dir.filePath(QStringLiteral("gone/away")).toUtf8() + "\n"));
    EXPECT_EQ(g_strExportPath, defaultExportPath());
    EXPECT_TRUE(QFileInfo(defaultExportPath()).isDir());
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("gone"))));
}

TEST_F(SettingsTest, NumbersTooLargeStayPositive)
{
    LoadSettings(writeIni("[system]\ntemp_num=99999999999\nfirst=2147483648\n"));
    EXPECT_EQ(g_nTemplateNumber, INT_MAX);
    EXPECT_EQ(g_nTemplateGroup, INT_MAX);
}

TEST_F(SettingsTest, SaveCreatesTheFileWithTheFiveKeys)
{
    g_strExportPath = QStringLiteral("/home/someone/Velomira");
    g_strTemplateCategory = QStringLiteral("Birthday");
    g_nTemplateNumber = 3;
    g_nTemplateGroup = 1;
    g_bTemplateFlag = true;
    SaveSettings(path());
    EXPECT_EQ(readIni(),
        QByteArray("[system]\n"
                   "exportpath=/home/someone/Velomira\n"
                   "temp_name=Birthday\n"
                   "temp_num=3\n"
                   "first=1\n"
                   "flag=1\n"));

    g_bTemplateFlag = false;
    g_nTemplateNumber = 12;
    SaveSettings(path());
    EXPECT_EQ(readIni(),
        QByteArray("[system]\n"
                   "exportpath=/home/someone/Velomira\n"
                   "temp_name=Birthday\n"
                   "temp_num=12\n"
                   "first=1\n"
                   "flag=0\n"));
}

TEST_F(SettingsTest, SaveKeepsOtherSectionsAndKeysAndLoadReadsItBack)
{
    const QString strFolder = m_dir.filePath(QStringLiteral("Ex ports"));
    ASSERT_TRUE(QDir().mkpath(strFolder));
    writeIni("; kept\n[window]\nwidth=800\n\n[system]\nTemp_Num = 1\nextra=yes\n\n[tail]\nz=1\n");
    g_strExportPath = strFolder;
    g_strTemplateCategory = QStringLiteral("Valentine's Day");
    g_nTemplateNumber = 5;
    g_nTemplateGroup = 0;
    g_bTemplateFlag = false;
    SaveSettings(path());
    EXPECT_EQ(readIni(),
        "; kept\n[window]\nwidth=800\n\n[system]\ntemp_num=5\nextra=yes\nexportpath=" + strFolder.toUtf8()
            + "\ntemp_name=Valentine's Day\nfirst=0\nflag=0\n\n[tail]\nz=1\n");

    g_strExportPath.clear();
    g_strTemplateCategory.clear();
    g_nTemplateNumber = -1;
    g_bTemplateFlag = true;
    LoadSettings(path());
    EXPECT_EQ(g_strExportPath, strFolder);
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Valentine's Day"));
    EXPECT_EQ(g_nTemplateNumber, 5);
    EXPECT_EQ(g_nTemplateGroup, 0);
    EXPECT_FALSE(g_bTemplateFlag);
}

} // namespace

TEST_F(SettingsTest, PrintChoicesAreWrittenOnceMadeAndReadBackOrLeftAtTheirDefaults)
{
    g_printChoices = PrintChoices {};
    SaveSettings(path());
    EXPECT_FALSE(readIni().contains("print")) << "no print keys before the print dialog was used";

    const PrintChoices chosen {
        QPageSize::Letter, QPageLayout::Landscape, true, QMarginsF(5, 7.5, 12, 0), 3, PrintLayout::QuarterFold, true};
    g_printChoices = chosen;
    SaveSettings(path());
    g_printChoices = PrintChoices {};
    LoadSettings(path());
    EXPECT_EQ(g_printChoices, chosen);
    EXPECT_TRUE(readIni().contains("printpaper=Letter\n")) << readIni().toStdString();

    // Back at the defaults, the earlier choices are overwritten rather than read again.
    g_printChoices = PrintChoices {};
    SaveSettings(path());
    g_printChoices = chosen;
    LoadSettings(path());
    EXPECT_EQ(g_printChoices, PrintChoices {});

    // Values nobody could have chosen read as the defaults.
    writeIni("[system]\nprintpaper=A17\nprintorient=sideways\nprintmargins=1,2,3\nprintcopies=0\n"
             "printlayout=8-up\nprintunit=cubits\n");
    g_printChoices = chosen;
    LoadSettings(path());
    EXPECT_EQ(g_printChoices, PrintChoices {});
    writeIni("[system]\nprintmargins=1,-2,3,4\nprintcopies=100000\n");
    LoadSettings(path());
    EXPECT_EQ(g_printChoices, PrintChoices {});
}

TEST_F(SettingsTest, SettingsAndLogLeaveAProgramFolderThatCannotBeWritten)
{
    const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
    const bool bHadStateHome = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    const QString strHome = m_homeDir.path();
    const QString strWritable = strHome + QStringLiteral("/built/");
    ASSERT_TRUE(QDir().mkpath(strWritable));
    // A folder that does not exist cannot be written even by root, as an installed one cannot by a user.
    const QString strInstalled = strHome + QStringLiteral("/usr/lib/velomira/");
    const struct {
        QString strAppDir;
        const char* pszStateHome; // null: unset
        QString strConfig;
        QString strLog;
    } cases[] = {
        {strWritable, "/elsewhere", strWritable + QStringLiteral("config.ini"),
            strWritable + QStringLiteral("Jotwell/")},
        {strInstalled, "/state", strHome + QStringLiteral("/.config/velomira/config.ini"),
            QStringLiteral("/state/velomira/Jotwell/")},
        {strInstalled, nullptr, strHome + QStringLiteral("/.config/velomira/config.ini"),
            strHome + QStringLiteral("/.local/state/velomira/Jotwell/")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strAppDir.toStdString());
        if (c.pszStateHome)
            qputenv("XDG_STATE_HOME", c.pszStateHome);
        else
            qunsetenv("XDG_STATE_HOME");
        EXPECT_EQ(GetConfigPath(c.strAppDir), c.strConfig);
        EXPECT_EQ(GetLogDir(c.strAppDir), c.strLog);
    }
    // The user's config folder is made on the first save.
    g_strTemplateCategory = QStringLiteral("Wedding");
    SaveSettings(GetConfigPath(strInstalled));
    g_strTemplateCategory.clear();
    LoadSettings(GetConfigPath(strInstalled));
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Wedding"));
    EXPECT_TRUE(QFileInfo::exists(strHome + QStringLiteral("/.config/velomira/config.ini")));
    EXPECT_FALSE(QFileInfo::exists(strInstalled));

    if (bHadStateHome)
        qputenv("XDG_STATE_HOME", stateHome);
    else
        qunsetenv("XDG_STATE_HOME");
}
