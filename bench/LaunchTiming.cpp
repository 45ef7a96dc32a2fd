// Measures launch mode under real conditions: for each delay, the tool is
// started as its Run value starts it; the figures are taken from the moment
// its countdown window appears to the moment the window is hidden (the start
// of the program) and to the moment the started program has written its
// record, against the nominal delay + 1 seconds; and the CPU time the tool
// used between its window appearing and its end.
//
//   launch_timing.exe KESTRUP_EXE PROBE_EXE WORK_FOLDER
#include "Timing.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace
{
using bench::CpuMs;
using bench::Now;
using bench::StoreSlot;
using bench::VisibleWindowOf;

const char kCompanyKey[] = "software\\vaxo";

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: launch_timing KESTRUP_EXE PROBE_EXE WORK_FOLDER\n");
        return 2;
    }
    const std::string tool = argv[1];
    const std::string probe = argv[2];
    const std::string record = std::string(argv[3]) + "\\probe-record.txt";
    ::SetEnvironmentVariableA("KESTRUP_PROBE_RECORD", record.c_str());

    std::printf("%-6s %10s %12s %10s %12s %10s %12s\n", "delay", "nominal", "hidden", "error",
                "started", "error", "tool CPU");
    for (DWORD delay : {1u, 3u, 5u})
    {
        ::DeleteFileA(record.c_str());
        StoreSlot(probe, delay);
        std::string commandLine = "\"" + tool + "\" /run 9";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process))
        {
            std::fprintf(stderr, "cannot start %s: %lu\n", tool.c_str(), ::GetLastError());
            return 1;
        }

        HWND window = nullptr;
        while (window == nullptr && ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        {
            window = VisibleWindowOf(process.dwProcessId);
            ::Sleep(1);
        }
        const double shown = Now();
        const double cpuAtShown = CpuMs(process.hProcess);
        double hidden = 0;
        double started = 0;
        while (started == 0 && Now() - shown < 60000)
        {
            if (hidden == 0 && !::IsWindowVisible(window))
                hidden = Now();
            if (FileExists(record))
                started = Now();
            ::Sleep(1);
        }
        ::WaitForSingleObject(process.hProcess, 60000);
        const double cpu = CpuMs(process.hProcess) - cpuAtShown;
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);

        const double nominal = (delay + 1) * 1000.0;
        std::printf("%-6lu %8.0f ms %9.0f ms %+7.0f ms %9.0f ms %+7.0f ms %9.1f ms\n", delay, nominal,
                    hidden - shown, hidden - shown - nominal, started - shown,
                    started - shown - nominal, cpu);
        std::fflush(stdout);
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey);
    return 0;
}
