// Start-up of the program as a user sees it: from launching the process to its main window's
// first drawing and to the splash's, measured by the program itself under the start-up probe
// (see app/gui/StartupProbe.h) and read from its output. Run under Xvfb; each iteration is one
// start of a fresh process with an empty home folder.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Start {
    double windowMs = -1;
    double splashMs = -1;
};

Start StartOnce(const std::string& home) {
    int out[2];
    if (pipe(out) != 0) return {};
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::string probe = "QUILLMORE_STARTUP_PROBE=" +
                              std::to_string(static_cast<long long>(now.tv_sec) * 1000000000LL +
                                             now.tv_nsec);
    std::vector<std::string> env{probe, "HOME=" + home};
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("HOME=", 0) != 0 && v.rfind("QUILLMORE_STARTUP_PROBE=", 0) != 0)
            env.push_back(v);
    }
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string exe = QUILLMORE_EXE;
    char* argv[] = {exe.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(out[0]);
    if (spawned != 0) return {};
    int status = 0;
    waitpid(pid, &status, 0);
    Start s;
    std::istringstream lines(text);
    std::string what;
    double ms = 0;
    while (lines >> what >> ms) {
        if (what == "window") s.windowMs = ms;
        if (what == "splash") s.splashMs = ms;
    }
    return s;
}

void BM_StartUp(benchmark::State& state) {
    char pattern[] = "/tmp/quillmore-start-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (!home) {
        state.SkipWithError("no temporary home folder");
        return;
    }
    double window = 0, splash = 0, worstWindow = 0, worstSplash = 0;
    int n = 0;
    for (auto _ : state) {
        const Start s = StartOnce(home);
        if (s.windowMs < 0 || s.splashMs < 0) {
            state.SkipWithError("the program did not report its first frames (no display?)");
            break;
        }
        window += s.windowMs;
        splash += s.splashMs;
        worstWindow = std::max(worstWindow, s.windowMs);
        worstSplash = std::max(worstSplash, s.splashMs);
        ++n;
    }
    if (n == 0) return;
    state.counters["window_ms"] = window / n;
    state.counters["splash_ms"] = splash / n;
    state.counters["worst_window_ms"] = worstWindow;
    state.counters["worst_splash_ms"] = worstSplash;
}

}  // namespace

BENCHMARK(BM_StartUp)->Iterations(10)->Unit(benchmark::kMillisecond);
