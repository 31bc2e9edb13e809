#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QUuid>

#include "platform/applog.h"

namespace {

TEST(AppLogTest, LineReachesTheLogBesideTheLibrary)
{
    const QString strLine = QStringLiteral("Open project file: /tmp/Grüße ✓ %1.plk")
                                .arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    WriteLog(strLine);

    // The logging library lies in the program folder, build/bin, beside the program.
    QFile log(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Jotwell/velomira.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << log.fileName().toStdString();
    const QString strLog = QString::fromUtf8(log.readAll());
    EXPECT_EQ(strLog.count(strLine), 1);
    EXPECT_TRUE(strLog.contains(strLine + QLatin1Char('\n')));
}

} // namespace
