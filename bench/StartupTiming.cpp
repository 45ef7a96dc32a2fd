// Start-up time of a program: from process creation to its first visible
// window, over a number of runs; each run's window is then closed.
//
//   startup_timing.exe RUNS LABEL COMMAND_LINE [LABEL COMMAND_LINE ...]
// Prints one line per program: the median and the quartiles in milliseconds.
#include "Timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using bench::Now;
using bench::VisibleWindowOf;

// Milliseconds to the first visible window, or a negative number on failure.
double TimeOneStart(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    HWND window = nullptr;
    while (window == nullptr && Now() - start < 60000
           && ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        window = VisibleWindowOf(process.dwProcessId);
    const double elapsed = window != nullptr ? Now() - start : -1;
    if (window != nullptr)
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

double Quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * (values.size() - 1) + 0.5)];
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc % 2 != 0)
    {
        std::fprintf(stderr, "usage: startup_timing RUNS LABEL COMMAND_LINE [LABEL COMMAND_LINE ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<std::vector<double>> times(static_cast<size_t>((argc - 2) / 2));
    // Interleaved, so that a slow moment of the machine falls on every program alike.
    for (int run = 0; run < runs; ++run)
        for (size_t p = 0; p < times.size(); ++p)
        {
            const double ms = TimeOneStart(argv[3 + 2 * p]);
            if (ms >= 0)
                times[p].push_back(ms);
        }
    for (size_t p = 0; p < times.size(); ++p)
    {
        if (times[p].empty())
        {
            std::printf("%-22s no window appeared\n", argv[2 + 2 * p]);
            continue;
        }
        std::printf("%-22s median %7.1f ms  (quartiles %7.1f .. %7.1f ms, %zu runs)\n",
                    argv[2 + 2 * p], Quantile(times[p], 0.5), Quantile(times[p], 0.25),
                    Quantile(times[p], 0.75), times[p].size());
    }
    return 0;
}
