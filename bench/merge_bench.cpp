// Mail merge: a card per row against rendering the card once, cards a second, and the peak memory of a
// long list against a short one. Each runs velomira-render as the user would.
#include <chrono>
#include <cstdlib>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench/bench.h"
#include "bench/benchpictures.h"
#include "document/carddocument.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"

extern char** environ;

namespace {

// A finished run of the renderer: its wall time and the peak resident memory of that process alone.
struct RenderRun {
    double dSeconds = 0;
    double dPeakMb = 0;
};

RenderRun RunRenderer(const QStringList& args)
{
    QList<QByteArray> vecArgs {QFile::encodeName(QCoreApplication::applicationDirPath() + "/velomira-render")};
    for (const QString& str : args)
        vecArgs.append(QFile::encodeName(str));
    std::vector<char*> argv;
    for (QByteArray& arg : vecArgs)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Progress lines are not part of the figure.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        std::abort();
    int nStatus = 0;
    rusage usage {};
    if (wait4(pid, &nStatus, 0, &usage) != pid || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
        std::abort();
    const std::chrono::duration<double> d = std::chrono::steady_clock::now() - t0;
    posix_spawn_file_actions_destroy(&actions);
    return {d.count(), double(usage.ru_maxrss) / 1024};
}

// The shipped wedding invitation ({Name}, {Date}, {Place}) with a camera photo in its frame and a
// second one laid over a corner, saved as a project.
QString InvitationWithPhotos(const QTemporaryDir& dir)
{
    CardDocument doc;
    const QString strTemplate = QCoreApplication::applicationDirPath() + "/Template/cards/Wedding/temp6.xml";
    if (!OpenCardFile(strTemplate, doc, nullptr, GetAppDir(), CardUse::Output))
        std::abort();
    const auto coverWith = [](TheData& obj, const QString& strPhoto) {
        obj.m_strPhoto = strPhoto;
        const RectF& rc = obj.m_rcObject;
        const float w = std::max(rc.Width, rc.Height * 4 / 3);
        const float h = w * 3 / 4;
        obj.m_rcPhoto = {rc.X - (w - rc.Width) / 2, rc.Y - (h - rc.Height) / 2, w, h};
        obj.m_rcPhotoLocal = obj.m_rcPhoto;
    };
    int nPhotos = 0;
    for (const auto& pObject : doc.m_vecObjects) {
        if (pObject->m_nType == OBJ_PHOTO && nPhotos == 0)
            coverWith(*pObject, WriteCameraPhoto(dir.filePath(QStringLiteral("photo%1.jpg").arg(nPhotos++))));
    }
    auto pCorner = std::make_unique<TheData>();
    pCorner->m_rcObject = {20, 20, float(doc.m_szClient.width() / 4), float(doc.m_szClient.width() / 4) * 3 / 4};
    coverWith(*pCorner, WriteCameraPhoto(dir.filePath(QStringLiteral("photo%1.jpg").arg(nPhotos++))));
    doc.AddObject(std::move(pCorner), 0);
    if (nPhotos != 2)
        std::abort();
    const QString strProject = dir.filePath(QStringLiteral("invitation.plk"));
    if (!SaveProjectFile(doc, strProject, nullptr))
        std::abort();
    return strProject;
}

QString GuestList(const QTemporaryDir& dir, int nRows)
{
    const QString strPath = dir.filePath(QStringLiteral("guests%1.csv").arg(nRows));
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write("Name,Date,Place\n");
    for (int i = 0; i < nRows; ++i)
        file.write(QStringLiteral("Guest %1 & Partner,\"Saturday, %2 June\",\"Hall %1, Oakford\"\n")
                       .arg(i)
                       .arg(1 + i % 28)
                       .toUtf8());
    return strPath;
}

const BenchRegistrar perCardRegistrar("merge_per_card_vs_single_render", [] {
    QTemporaryDir dir;
    const QString strCard = InvitationWithPhotos(dir);
    const QString strSingle = dir.filePath(QStringLiteral("single.jpg"));
    double dSingle = 1e30;
    for (int i = 0; i < 3; ++i)
        dSingle = std::min(dSingle, RunRenderer({strCard, strSingle, "--width", "1500"}).dSeconds);
    const RenderRun merge = RunRenderer({strCard, "--merge", GuestList(dir, 200), "--output",
        dir.filePath(QStringLiteral("cards/{Name}.jpg")), "--width", "1500"});
    BenchReport("merge_single_render_ms", dSingle * 1000, "ms");
    BenchReport("merge_200_cards_s", merge.dSeconds, "s");
    BenchReport("merge_per_card_vs_single_render", merge.dSeconds / 200 / dSingle, "x");
});

const BenchRegistrar throughputRegistrar("merge_1000_cards_per_s", [] {
    QTemporaryDir dir;
    const QString strCard = InvitationWithPhotos(dir);
    const auto merge = [&](int nRows) {
        return RunRenderer({strCard, "--merge", GuestList(dir, nRows), "--output",
            dir.filePath(QStringLiteral("cards%1/{Name}.jpg").arg(nRows)), "--width", "1500", "--jobs", "2"});
    };
    const RenderRun ten = merge(10);
    const RenderRun thousand = merge(1000);
    BenchReport("merge_1000_cards_per_s", 1000 / thousand.dSeconds, "cards/s");
    BenchReport("merge_peak_mb_10", ten.dPeakMb, "MB");
    BenchReport("merge_peak_mb_1000", thousand.dPeakMb, "MB");
    BenchReport("merge_peak_mb_1000_vs_10", thousand.dPeakMb / ten.dPeakMb, "x");
});

} // namespace
