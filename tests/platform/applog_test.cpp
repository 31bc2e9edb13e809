#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QUuid>

#include "jotwell/jotwell.h"
#include "platform/applog.h"

namespace {

TEST(AppLogTest, LineReachesTheLogBesideTheLibrary)
{
    const QString strLine = QStringLiteral("Open project file: /tmp/Grüße ✓ %1.plk")
                                .arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    WriteLog(strLine);

    // The logging library lies beside the test program, whose folder is writable.
    EXPECT_EQ(GetLogDir(), QCoreApplication::applicationDirPath() + QStringLiteral("/Jotwell/"));
    EXPECT_EQ(GetLogDir(), QString::fromUtf8(JotwellLogFolder()) + QLatin1Char('/'));
    QFile log(GetLogDir() + QStringLiteral("velomira.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << log.fileName().toStdString();
    const QString strLog = QString::fromUtf8(log.readAll());
    EXPECT_EQ(strLog.count(strLine), 1);
    EXPECT_TRUE(strLog.contains(strLine + QLatin1Char('\n')));
}

} // namespace
