// Lexamo's start against a bare Qt main window: both programs are started in turn as child
// processes on the offscreen platform, each quitting at the first turn of its event loop, and
// the medians of their wall time, processor time and peak memory are printed with the ratios
// Lexamo / bare. Lexamo runs as installed, in an empty temporary folder with its own settings.
//
//   bench_start_ratio [PAIRS [PROGRAM]]
//
// 30 pairs unless told, and one more pair first that is not counted. PROGRAM is the Lexamo to
// measure, the one of this build unless told (an older build, to compare).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMiB = 0;
};

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double ms(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Starts the program in the folder, waits for it and measures it; ends the driver if the
// program cannot start or fails.
Run runOnce(const char* program, const std::string& folder)
{
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        // Qt's offscreen platform notes on standard error what it cannot do; a failure shows
        // in the exit status. The notes go to a file of the run's own folder.
        if (chdir(folder.c_str()) != 0 || !std::freopen("output.txt", "w", stdout) ||
            !std::freopen("output.txt", "a", stderr))
            _exit(126);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_start_ratio: %s did not run to its end\n", program);
        std::exit(1);
    }
    Run run;
    run.wallMs = nowMs() - start;
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return run;
}

double median(std::vector<Run> runs, double Run::*field)
{
    std::sort(runs.begin(), runs.end(),
              [field](const Run& a, const Run& b) { return a.*field < b.*field; });
    const std::size_t n = runs.size();
    return n % 2 ? runs[n / 2].*field : (runs[n / 2 - 1].*field + runs[n / 2].*field) / 2;
}

// Both programs see the same environment: the offscreen platform, the library that quits at
// the first event-loop turn, and their XDG folders inside the temporary folder.
void setEnvironment(const std::string& folder)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("LD_PRELOAD", LEXAMO_QUIT_LIBRARY, 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (folder + "/cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    unsetenv("QT_DEBUG_PLUGINS");
}

void printRow(const char* what, const char* unit, double bare, double lexamo)
{
    std::printf("%-16s %10.2f %10.2f %8.3f   (%s)\n", what, bare, lexamo, lexamo / bare, unit);
}

} // namespace

int main(int argc, char* argv[])
{
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const char* const program = argc > 2 ? argv[2] : LEXAMO_PROGRAM;
    char pattern[] = "/tmp/lexamo-start-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("bench_start_ratio: mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    setEnvironment(folder);

    std::vector<Run> bare, lexamo;
    // The first pair writes Lexamo's options file and warms the file cache; it is not counted.
    runOnce(LEXAMO_BARE_WINDOW, folder);
    runOnce(program, folder);
    for (int i = 0; i < pairs; ++i) {
        // Each program goes first in every other pair, so neither gains by its place.
        if (i % 2 == 0)
            bare.push_back(runOnce(LEXAMO_BARE_WINDOW, folder));
        lexamo.push_back(runOnce(program, folder));
        if (i % 2 != 0)
            bare.push_back(runOnce(LEXAMO_BARE_WINDOW, folder));
    }
    std::filesystem::remove_all(folder);

    std::printf("Medians of %d paired runs, offscreen, quitting at the first event-loop turn\n",
                pairs);
    std::printf("%-16s %10s %10s %8s\n", "", "bare", "Lexamo", "ratio");
    printRow("wall time", "ms", median(bare, &Run::wallMs), median(lexamo, &Run::wallMs));
    printRow("processor time", "ms", median(bare, &Run::cpuMs), median(lexamo, &Run::cpuMs));
    printRow("peak memory", "MiB", median(bare, &Run::peakMiB), median(lexamo, &Run::peakMiB));
    return 0;
}
