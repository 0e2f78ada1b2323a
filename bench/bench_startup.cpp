// Start-up: the built program started offscreen on the demo sound, timed from the moment it is
// started to its frame's first paint and to the sound's graph drawn, beside a bare Qt window (a
// QMainWindow holding a QMdiArea) shown by this same benchmark in a child process of its own,
// started the same way. The two alternate run by run; each start gets a fresh, empty home folder
// so that no settings of an earlier run (or of the user) are read. Caches are not settings: one
// cache folder (XDG_CACHE_HOME) serves every start, filled by an untimed first start of each, as
// a user's second start finds it (a cold one rebuilds the media framework's plugin list, over a
// second). Goal: the sound drawn within 1.5 times the bare window's first paint.
//
// The program tells the moments itself when KIVRA_STARTUP_TIMES=1 ("frame shown <ms>", "sound
// drawn <ms>" on standard error) and quits after them with KIVRA_STARTUP_QUIT=1. The times taken
// here run from just before the child is started to the moment its line arrives, so they hold
// loading the program and its libraries too.
#include "BenchRun.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 7;
constexpr double kGoal = 1.5;
constexpr int kTimeoutMs = 60000;

const auto g_start = std::chrono::steady_clock::now();

// The reference window, in the child: shown, and its first paint reported as the program does.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_start).count();
            std::fprintf(stderr, "frame shown %.1f\n", ms);
            std::fflush(stderr);
            qApp->removeEventFilter(this);
            if (qgetenv("KIVRA_STARTUP_QUIT") == "1") QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }

private:
    QWidget* window_;
};

// With `withMenus`, the window also has a menu bar of eight titles: the first text shown costs a
// program the font database (fontconfig's list of the installed fonts), which a window without
// text never loads. Shown for information, beside the goal's reference.
int BareWindow(int argc, char** argv, bool withMenus)
{
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setCentralWidget(new QMdiArea(&frame));
    if (withMenus)
        for (const char* title : {"&File", "&Video", "&Sound", "&Image", "&Tools", "&Options", "&Window", "&Help"})
            frame.menuBar()->addMenu(title)->addAction("Open...");
    frame.resize(800, 600);
    FirstPaint watch(&frame);
    app.installEventFilter(&watch);
    frame.show();
    return QApplication::exec();
}

struct StartTimes {
    double frameShown = -1;   // ms from the start of the child to its line, as seen here
    double soundDrawn = -1;
};

// Starts `program` with `args` and the environment of a fresh start, and reads its standard
// error until the lines awaited have come (or it ends, or a minute passes).
std::optional<StartTimes> TimeStart(const std::string& program, const std::vector<std::string>& args,
                                    bool awaitSound, const std::string& cache)
{
    QTemporaryDir home;
    if (!home.isValid()) return std::nullopt;
    const std::string h = home.path().toStdString();
    std::vector<std::string> env;
    // Everything of this environment but where settings live, the platform and the timing.
    auto replaced = [](const std::string& v) {
        for (const char* name : {"HOME=", "XDG_CONFIG_HOME=", "XDG_CACHE_HOME=", "XDG_DATA_HOME=",
                                 "XDG_STATE_HOME=", "QT_QPA_PLATFORM=", "KIVRA_STARTUP_"})
            if (v.rfind(name, 0) == 0) return true;
        return false;
    };
    for (char** e = environ; *e; ++e)
        if (!replaced(*e)) env.push_back(*e);
    env.push_back("HOME=" + h);
    env.push_back("XDG_CACHE_HOME=" + cache);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("KIVRA_STARTUP_TIMES=1");
    env.push_back("KIVRA_STARTUP_QUIT=1");
    std::vector<char*> envp, argvp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string prog = program;
    argvp.push_back(prog.data());
    std::vector<std::string> a = args;
    for (std::string& v : a) argvp.push_back(v.data());
    argvp.push_back(nullptr);

    int pipeFd[2];
    if (pipe2(pipeFd, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFd[1], 2);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    const auto t0 = bench::Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, prog.c_str(), &actions, nullptr, argvp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFd[1]);
    if (spawned != 0) {
        ::close(pipeFd[0]);
        std::printf("  cannot start %s: %s\n", prog.c_str(), std::strerror(spawned));
        return std::nullopt;
    }

    StartTimes times;
    std::string pending;
    char buffer[4096];
    while (times.frameShown < 0 || (awaitSound && times.soundDrawn < 0)) {
        const double left = kTimeoutMs - bench::Milliseconds(t0, bench::Clock::now());
        pollfd p{pipeFd[0], POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, int(left)) <= 0) break;
        const ssize_t n = ::read(pipeFd[0], buffer, sizeof buffer);
        const double at = bench::Milliseconds(t0, bench::Clock::now());
        if (n <= 0) break;
        pending.append(buffer, std::size_t(n));
        for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos; pending.erase(0, eol + 1)) {
            const std::string line = pending.substr(0, eol);
            if (line.rfind("frame shown ", 0) == 0 && times.frameShown < 0) times.frameShown = at;
            if (line.rfind("sound drawn ", 0) == 0 && times.soundDrawn < 0) times.soundDrawn = at;
        }
    }
    // The child quits by itself after its lines; one that does not is ended.
    const bool complete = times.frameShown >= 0 && (!awaitSound || times.soundDrawn >= 0);
    if (!complete) ::kill(pid, SIGKILL);
    // Drain what is left so that the child never blocks on a full pipe while quitting.
    while (::read(pipeFd[0], buffer, sizeof buffer) > 0) {}
    ::close(pipeFd[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!complete) {
        std::printf("  %s did not report its start within %d s\n", prog.c_str(), kTimeoutMs / 1000);
        return std::nullopt;
    }
    return times;
}

std::string SelfPath()
{
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, std::size_t(n)) : std::string();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0) return BareWindow(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "--bare-window-menus") == 0) return BareWindow(argc, argv, true);

    const std::string self = SelfPath();
    const std::string program = self.substr(0, self.rfind('/')) + "/../kivra";
    const std::string sound = KIVRA_SOURCE_DIR "/samples/tuning-fork-440.wav";
    if (::access(program.c_str(), X_OK) != 0) {
        std::printf("the program is not built: %s\n", program.c_str());
        return 1;
    }

    bench::Begin("start-up offscreen: the program on the demo sound beside a bare Qt window (QMainWindow + QMdiArea)");
    QTemporaryDir cacheDir;
    const std::string cache = cacheDir.path().toStdString();
    // Once each first, untimed: the program and Qt's libraries into the page cache, the shared
    // cache folder filled.
    TimeStart(program, {sound}, true, cache);
    TimeStart(self, {"--bare-window"}, false, cache);
    TimeStart(self, {"--bare-window-menus"}, false, cache);

    std::vector<double> frameShown;
    bool failed = false;
    const bench::Step kivra{{}, {}, [&] {
        const auto t = TimeStart(program, {sound}, true, cache);
        if (!t) failed = true;
        frameShown.push_back(t ? t->frameShown : 0);
        return t ? t->soundDrawn : 0.0;
    }};
    const bench::Step bare{{}, {}, [&] {
        const auto t = TimeStart(self, {"--bare-window"}, false, cache);
        if (!t) failed = true;
        return t ? t->frameShown : 0.0;
    }};
    const bench::Step menus{{}, {}, [&] {
        const auto t = TimeStart(self, {"--bare-window-menus"}, false, cache);
        if (!t) failed = true;
        return t ? t->frameShown : 0.0;
    }};
    const std::vector<bench::Timings> t = bench::Rotate(kRuns, {kivra, bare, menus});
    bench::Comparison c;
    c.candidate = t[0];
    c.reference = t[1];
    bench::Comparison shown;
    shown.candidate.ms = frameShown;
    shown.reference = c.reference;
    std::printf("  %d runs each, alternating; ms from starting the process to its line; fresh settings, warm caches\n", kRuns);
    bench::PrintComparison("kivra: frame shown", shown, "bare window: frame shown", kGoal);
    const bool met = bench::PrintComparison("kivra: demo sound drawn", c, "bare window: frame shown", kGoal);
    std::printf("  for information: a bare window with a menu bar of text %.2f ms (best %.2f), %.2f x the bare window\n",
                t[2].median(), t[2].best(), t[1].median() > 0 ? t[2].median() / t[1].median() : 0.0);
    if (failed) std::printf("  some starts did not report: the figures are not valid\n");
    std::printf("  goal (demo sound drawn at most %.1f x the bare window): %s\n", kGoal,
                met && !failed ? "met" : "NOT MET");
    bench::End();
    return 0;
}
