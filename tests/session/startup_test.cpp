#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "session/commandline.h"
#include "session/version.h"
#include "tests/testsupport.h"

namespace {

TEST(VersionTest, ReportsTheBuildVersion)
{
    EXPECT_EQ(GetFileVersionText(), QStringLiteral("2.0.0.0"));
    EXPECT_EQ(FileVersionText(QString()), QStringLiteral("None VerSion Supprot"));
    EXPECT_EQ(QStringLiteral("Start Velomira %1").arg(FileVersionText(QString())),
        QStringLiteral("Start Velomira None VerSion Supprot"));
}

struct CommandLineCase {
    QStringList listArgs;
    QString strExpected;
};

void PrintTo(const CommandLineCase& c, std::ostream* pOut)
{
    *pOut << (c.listArgs.isEmpty() ? QStringLiteral("no arguments")
                                   : QLatin1Char('[') + c.listArgs.join(QStringLiteral("] [")) + QLatin1Char(']'));
}

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> { };

TEST_P(CommandLineTest, TakesTheFirstPlainArgument)
{
    EXPECT_EQ(CommandLineFile(GetParam().listArgs), GetParam().strExpected)
        << GetParam().listArgs.join(QLatin1Char(' ')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest,
    ::testing::Values(CommandLineCase {{}, QString()},
        CommandLineCase {{QStringLiteral("-nologo"), QStringLiteral("--x")}, QString()},
        CommandLineCase {{QStringLiteral("/cards/one.plk")}, QStringLiteral("/cards/one.plk")},
        CommandLineCase {{QStringLiteral("-p"), QStringLiteral("/cards/one.plk"), QStringLiteral("/cards/two.plk")},
            QStringLiteral("/cards/one.plk")},
        CommandLineCase {{QString(), QStringLiteral("-"), QStringLiteral("one.plk"), QStringLiteral("two.plk")},
            QDir::current().absoluteFilePath(QStringLiteral("one.plk"))},
        CommandLineCase {
            {QStringLiteral("sub/../Grüße ✓.plk")}, QDir::current().absoluteFilePath(QStringLiteral("Grüße ✓.plk"))}));

} // namespace
