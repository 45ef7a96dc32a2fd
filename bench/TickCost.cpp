// CPU time the countdown costs per tick, against a floor: each program counts
// down a short and a long delay to its end; the difference of the CPU times
// divided by the difference of the delays leaves the ticks alone (start-up
// and the end are the same in both).
//
//   tick_cost.exe KESTRUP_EXE FLOOR_EXE PROGRAM_EXE RUNS
// Kestrup counts down slot 9, which starts PROGRAM_EXE at its end; the floor
// takes the delay as its argument.
#include "Timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using bench::CpuMs;
using bench::StoreSlot;

const DWORD kShort = 1;
const DWORD kLong = 31;

// CPU time from the window's appearance to the last moment the process was
// seen alive (Wine forgets the times of a process that has ended).
double CpuMsOfRun(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    const double start = bench::Now();
    while (bench::VisibleWindowOf(process.dwProcessId) == nullptr && bench::Now() - start < 60000
           && ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        ::Sleep(1);
    const double shown = CpuMs(process.hProcess);
    double last = shown;
    while (::WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT)
    {
        const double now = CpuMs(process.hProcess);
        if (now >= last)
            last = now;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return last - shown;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf(stderr, "usage: tick_cost KESTRUP_EXE FLOOR_EXE PROGRAM_EXE RUNS\n");
        return 2;
    }
    const std::string tool = std::string("\"") + argv[1] + "\" /run 9";
    const std::string floor = std::string("\"") + argv[2] + "\" ";
    std::vector<double> toolPerTick, floorPerTick;
    for (int run = 0; run < std::atoi(argv[4]); ++run)
    {
        StoreSlot(argv[3], kShort);
        const double toolShort = CpuMsOfRun(tool);
        StoreSlot(argv[3], kLong);
        const double toolLong = CpuMsOfRun(tool);
        const double floorShort = CpuMsOfRun(floor + std::to_string(kShort));
        const double floorLong = CpuMsOfRun(floor + std::to_string(kLong));
        toolPerTick.push_back((toolLong - toolShort) / (kLong - kShort));
        floorPerTick.push_back((floorLong - floorShort) / (kLong - kShort));
    }
    const double toolMs = Median(toolPerTick);
    const double floorMs = Median(floorPerTick);
    std::printf("CPU per tick: countdown %.2f ms, floor %.2f ms (medians of %zu runs)\n", toolMs,
                floorMs, toolPerTick.size());
    if (floorMs > 0)
        std::printf("ratio to the floor: countdown per tick %.2f (target 1.10 at most)\n",
                    toolMs / floorMs);
    return 0;
}
