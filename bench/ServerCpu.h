// CPU time of this process and of the X server it draws through (Xvfb): the figures the drawing
// benchmarks report, since the server does part of the drawing the program asks for.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

inline double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The Xvfb process whose command line names $DISPLAY; -1 when there is none.
inline int XServerPid() {
    static int pid = -2;
    if (pid != -2) return pid;
    pid = -1;
    const char* display = std::getenv("DISPLAY");
    if (!display) return pid;
    std::string name = display;
    name = name.substr(0, name.find('.'));
    DIR* proc = opendir("/proc");
    if (!proc) return pid;
    while (dirent* e = readdir(proc)) {
        const int candidate = std::atoi(e->d_name);
        if (candidate <= 0) continue;
        std::ifstream in("/proc/" + std::string(e->d_name) + "/cmdline");
        std::string cmd((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (cmd.find("Xvfb") == std::string::npos) continue;
        for (char& c : cmd)
            if (c == '\0') c = ' ';
        if ((cmd + " ").find(" " + name + " ") != std::string::npos) {
            pid = candidate;
            break;
        }
    }
    closedir(proc);
    return pid;
}

inline double XServerCpuSeconds() {
    const int pid = XServerPid();
    if (pid < 0) return 0;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string f;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i)
        if (i == 14 || i == 15) ticks += std::atof(f.c_str());
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}
