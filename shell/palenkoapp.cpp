#include "shell/palenkoapp.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QStyleFactory>

#include "session/commandline.h"
#include "session/version.h"
#include "shell/palenkodlg.h"

CPalenkoApp theApp;

namespace {

const char kUsage[] = "Usage: velomira [PROJECT.plk]\n"
                      "\n"
                      "Makes greeting cards from templates, photos, clip art and text.\n"
                      "\n"
                      "  PROJECT.plk  a card saved earlier, opened at start-up; without it the program\n"
                      "               starts with the template chooser\n"
                      "  --help       show this text\n"
                      "  --version    show the version\n";

// The signal handler's end of the socket pair; the user-interface thread reads the other.
int g_fdSignalWrite = -1;

void OnStopSignal(int)
{
    const char ch = 1;
    // Only async-signal-safe calls here; a full pipe still wakes the reader.
    [[maybe_unused]] const ssize_t n = ::write(g_fdSignalWrite, &ch, 1);
}

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C) into one call on the user-interface
// thread, so that the program can end in order instead of being cut off.
class StopSignalWatch {
public:
    explicit StopSignalWatch(std::function<void()> onStop)
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            return;
        g_fdSignalWrite = fds[0];
        m_fdRead = fds[1];
        m_pNotifier = std::make_unique<QSocketNotifier>(m_fdRead, QSocketNotifier::Read);
        QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, [this, onStop = std::move(onStop)] {
            char ch = 0;
            [[maybe_unused]] const ssize_t n = ::read(m_fdRead, &ch, 1);
            onStop();
        });
        struct sigaction action { };
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int nSignal : kSignals)
            ::sigaction(nSignal, &action, nullptr);
    }

    ~StopSignalWatch()
    {
        if (m_fdRead < 0)
            return;
        for (const int nSignal : kSignals)
            std::signal(nSignal, SIG_DFL);
        m_pNotifier.reset();
        ::close(m_fdRead);
        ::close(g_fdSignalWrite);
        g_fdSignalWrite = -1;
    }

    StopSignalWatch(const StopSignalWatch&) = delete;
    StopSignalWatch& operator=(const StopSignalWatch&) = delete;

private:
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    int m_fdRead = -1;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
};

} // namespace

CPalenkoApp::CPalenkoApp() = default;

std::optional<int> CPalenkoApp::InfoSwitch(const QStringList& listArgs)
{
    for (const QString& strArg : listArgs) {
        if (strArg == QLatin1String("--version")) {
            std::printf("Velomira %s\n", GetFileVersionText().toLocal8Bit().constData());
            return 0;
        }
        if (strArg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

bool CPalenkoApp::InitInstance()
{
    // The per-user names under which the toolkit keeps its own state; the program keeps nothing there.
    QCoreApplication::setOrganizationName(QStringLiteral("Velomira"));
    QCoreApplication::setApplicationName(QStringLiteral("Velomira"));
    QCoreApplication::setApplicationVersion(GetFileVersionText());
    // The desktop entry velomira.desktop: the task bar shows its name and icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("velomira"));
    // One look for the toolkit-drawn controls, whatever the desktop.
    if (QStyle* pStyle = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(pStyle);

    m_strCurrentFile = CommandLineFile(QCoreApplication::arguments().mid(1));

    // Watched from the start. A signal while the window is still being set up (a question it asks
    // then, such as the recovery offer) ends that question; the session is ended once the window exists.
    CPalenkoDlg* pDlg = nullptr;
    bool bStopped = false;
    const StopSignalWatch watch([&pDlg, &bStopped] {
        bStopped = true;
        if (pDlg)
            pDlg->OnSessionEnd();
        // Every modal loop ends too (the template chooser, a message box), not only the main window's.
        QCoreApplication::exit(0);
    });
    CPalenkoDlg dlg(*this);
    pDlg = &dlg;
    if (bStopped) {
        dlg.OnSessionEnd();
        return false;
    }
    dlg.Run();
    return false;
}

int CPalenkoApp::ExitInstance()
{
    return 0;
}
