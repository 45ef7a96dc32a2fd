// Start-up time of a program: from process creation to its first visible
// window, over a number of runs; each run's window is then closed.
//
//   startup_timing.exe RUNS LABEL COMMAND_LINE [LABEL COMMAND_LINE ...]
// Prints one line per program: the median and the quartiles in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Find
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context)
{
    Find* find = reinterpret_cast<Find*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == find->processId && ::IsWindowVisible(window))
    {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

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
    Find find{process.dwProcessId, nullptr};
    while (find.found == nullptr && Now() - start < 60000
           && ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&find));
    const double elapsed = find.found != nullptr ? Now() - start : -1;
    if (find.found != nullptr)
        ::PostMessageA(find.found, WM_COMMAND, IDCANCEL, 0);
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
