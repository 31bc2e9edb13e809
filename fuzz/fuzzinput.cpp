#include "fuzz/fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

void InitFuzzing(int* pArgc, char*** pArgv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The readers log nothing worth keeping from millions of runs.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    // It lives as long as the process: destroyed at exit it would outlive Qt's own globals.
    static int nArgc = *pArgc;
    new QGuiApplication(nArgc, *pArgv);
}

QString WriteInput(const uint8_t* pData, size_t nSize, const char* pszExtension)
{
    const QString strPath = QDir::tempPath()
        + QStringLiteral("/velomira-fuzz-%1.%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QLatin1String(pszExtension));
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(pData), qint64(nSize));
    return strPath;
}
