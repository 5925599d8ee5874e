// The first frame of a fresh process, for the benchmark cases named Cold:
// such a case runs its own program again with only itself selected and
// BRANTEL_BENCH_COLD naming a pipe; that process draws its one frame, writes
// the milliseconds into the pipe and its case ends. The case in the calling
// process reports them as its time, so every other case stays warm and a
// cold figure never depends on what ran before it.
#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace bench
{

// The pipe of the process that started this one for a cold frame, or -1
// when this process was not started for one.
inline int ColdPipe()
{
    const char* value = std::getenv("BRANTEL_BENCH_COLD");
    return value ? std::atoi(value) : -1;
}

// The milliseconds of the cold frame, written by the fresh process.
inline void ReportColdFrame(int pipe, double ms)
{
    dprintf(pipe, "%.6f\n", ms);
}

// Runs the case `name` (as Google Benchmark names it, with its argument,
// before the suffixes of its options) in
// a fresh process of this program and returns the milliseconds it reports;
// negative when it reports none.
inline double ColdFrame(const std::string& name)
{
    int ends[2];
    if (pipe(ends) != 0)
        return -1.0;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("BRANTEL_BENCH_COLD=", 0) != 0)
            env.emplace_back(*e);
    env.push_back("BRANTEL_BENCH_COLD=" + std::to_string(ends[1]));
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = "/proc/self/exe", filter = "--benchmark_filter=^" + name + "/";
    char* argv[] = {exe.data(), filter.data(), nullptr};
    // The fresh process's own table is not wanted: its time is this case's.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    std::string text;
    char buffer[64];
    ssize_t got = 0;
    while (!failed && (got = read(ends[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    close(ends[0]);
    int status = 0;
    if (!failed)
        waitpid(pid, &status, 0);
    if (failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return -1.0;
    return std::atof(text.c_str());
}

// The body of a Cold case: in the fresh process, frame() gives the
// milliseconds of its first frame (negative: the reason is set on the
// state); in the calling process, each iteration runs a fresh one.
template <class F> void ColdCase(benchmark::State& state, const std::string& name, F&& frame)
{
    const int pipe = ColdPipe();
    if (pipe >= 0) {
        for (auto _ : state) {
            const double ms = frame();
            if (ms >= 0.0) {
                ReportColdFrame(pipe, ms);
                state.SetIterationTime(ms / 1000.0);
            }
        }
        return;
    }
    std::vector<double> frames;
    for (auto _ : state) {
        const double ms = ColdFrame(name + "/" + std::to_string(state.range(0)));
        if (ms < 0.0) {
            state.SkipWithError("the fresh process reported no frame");
            return;
        }
        state.SetIterationTime(ms / 1000.0);
        frames.push_back(ms);
    }
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames.empty() ? 0.0 : frames[frames.size() / 2];
}

} // namespace bench
