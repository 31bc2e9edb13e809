#include "fuzz/fuzzinput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include "document/carddocument.h"

namespace {

// The scratch files live in memory when the machine has a tmpfs for it: every input is written once.
QString ScratchFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

struct ScratchFile {
    std::string strPath;
    int fd = -1;
};

// One scratch file per extension, opened once and rewritten in place for every input. Never destroyed:
// the exit handler that removes the files runs after static destructors.
std::map<std::string, ScratchFile>& ScratchFiles()
{
    static auto& files = *new std::map<std::string, ScratchFile>;
    return files;
}

void RemoveScratchFiles()
{
    for (const auto& [strExtension, file] : ScratchFiles())
        ::unlink(file.strPath.c_str());
}

} // namespace

void InitFuzzing(int* pArgc, char*** pArgv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The readers log nothing worth keeping from millions of runs.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    // It lives as long as the process: destroyed at exit it would outlive Qt's own globals.
    static int nArgc = *pArgc;
    new QGuiApplication(nArgc, *pArgv);
    std::atexit(RemoveScratchFiles);
}

QString WriteInput(const uint8_t* pData, size_t nSize, const char* pszExtension)
{
    ScratchFile& file = ScratchFiles()[pszExtension];
    if (file.fd < 0) {
        file.strPath = QFile::encodeName(ScratchFolder()
            + QStringLiteral("/velomira-fuzz-%1.%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QLatin1String(pszExtension)))
                           .toStdString();
        file.fd = ::open(file.strPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (file.fd < 0)
            std::abort();
    }
    // The reader opens the file by its name, as the program does; only the writing is cut short.
    if (::ftruncate(file.fd, off_t(nSize)) != 0 || ::pwrite(file.fd, pData, nSize, 0) != ssize_t(nSize))
        std::abort();
    return QFile::decodeName(file.strPath.c_str());
}

void KeepPictures(const CardDocument& doc)
{
    // A copy shares the pixels, so the shared picture cache keeps its entry as in use.
    static auto& kept = *new std::map<QString, QImage>;
    for (const auto& pObject : doc.m_vecObjects) {
        for (const auto& [strPath, pImage] : {std::pair {&pObject->m_strPhoto, pObject->m_pPhoto.get()},
                 std::pair {&pObject->m_strFrame, pObject->m_pFrame.get()}}) {
            if (pImage && !pImage->isNull())
                kept.try_emplace(*strPath, *pImage);
        }
    }
}
