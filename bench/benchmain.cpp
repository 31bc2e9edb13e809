#include "bench/bench.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QFile>

extern char** environ;

namespace {

struct BenchEntry {
    const char* pszName;
    std::function<void()> fn;
};

std::vector<BenchEntry>& Registry()
{
    static std::vector<BenchEntry> entries;
    return entries;
}

std::vector<std::pair<const char*, std::function<int()>>>& Children()
{
    static std::vector<std::pair<const char*, std::function<int()>>> children;
    return children;
}

} // namespace

void BenchReport(const std::string& strName, double dValue, const std::string& strUnit)
{
    std::printf("BENCH %s %.4g %s\n", strName.c_str(), dValue, strUnit.c_str());
    std::fflush(stdout);
}

BenchRegistrar::BenchRegistrar(const char* pszName, std::function<void()> fn)
{
    Registry().push_back({pszName, std::move(fn)});
}

BenchChild::BenchChild(const char* pszName, std::function<int()> fn)
{
    Children().emplace_back(pszName, std::move(fn));
}

double BestOf(int nRuns, const std::function<void()>& fn)
{
    double dBest = 1e30;
    for (int i = 0; i < nRuns; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        const std::chrono::duration<double> d = std::chrono::steady_clock::now() - t0;
        dBest = std::min(dBest, d.count());
    }
    return dBest;
}

// Runs every benchmark, or only those whose names are given on the command line, or one child helper.
ChildRun RunToEnd(const QString& strProgram, const QStringList& args, bool bQuiet)
{
    QList<QByteArray> vecArgs {QFile::encodeName(strProgram)};
    for (const QString& str : args)
        vecArgs.append(QFile::encodeName(str));
    std::vector<char*> argv;
    for (QByteArray& arg : vecArgs)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (bQuiet)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        std::abort();
    int nStatus = 0;
    rusage usage {};
    if (wait4(pid, &nStatus, 0, &usage) != pid)
        std::abort();
    const std::chrono::duration<double> d = std::chrono::steady_clock::now() - t0;
    posix_spawn_file_actions_destroy(&actions);
    ChildRun run;
    run.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
    run.dSeconds = d.count();
    run.dPeakMb = double(usage.ru_maxrss) / 1024;
    return run;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--child")) {
        for (const auto& [pszName, fn] : Children()) {
            if (args[1] == QLatin1String(pszName))
                return fn();
        }
        return 2;
    }
    for (const BenchEntry& entry : Registry()) {
        if (!args.isEmpty() && !args.contains(QString::fromLatin1(entry.pszName)))
            continue;
        entry.fn();
    }
    return 0;
}
