// What Kestrup costs while it keeps a program running: its CPU time over a
// span while the program runs with a window, which Kestrup checks for not
// responding every few seconds, with a daily restart set (half a day away),
// for which it looks at the clock once a minute, and with the cover and the
// monitor set. Meanwhile the countdown's floor shows its
// window, so that the memory of both can be read from outside (Wine tells a
// process nothing of another's memory).
//
//   resident_cost.exe KESTRUP_EXE FLOOR_EXE PROGRAM_EXE SECONDS [HEARTBEAT_URL | ALIVE_FILE | screen | offhours]
// Kestrup runs slot 9 with KeepRunning, which starts PROGRAM_EXE (the test
// probe, showing a window) at once; the floor counts down 100 s. With a URL,
// the slot sends a heartbeat there every 10 s, and a second floor requests
// it as often on a thread of its own; with a file, it looks at that alive
// file at its checks (it may go a day unwritten). With "screen", the slot
// also covers its monitor while the show does not show, moves the show to
// display 1, and hides the pointer (still, it is hidden after 5 s, then
// looked at); with "offhours", its show hours begin half a day away: it
// starts nothing and rests off hours, waking once a minute.
#include "Timing.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
PROCESS_INFORMATION Start(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    return process;
}

void End(PROCESS_INFORMATION& process)
{
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 5000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 6)
    {
        std::fprintf(stderr, "usage: resident_cost KESTRUP_EXE FLOOR_EXE PROGRAM_EXE SECONDS "
                             "[HEARTBEAT_URL | ALIVE_FILE | screen | offhours]\n");
        return 2;
    }
    const int seconds = std::atoi(argv[4]);
    bench::StoreSlot(argv[3], 0);
    HKEY key;
    const DWORD on = 1;
    ::RegOpenKeyExA(HKEY_CURRENT_USER, "software\\vaxo\\vaxo Kestrup V3.6\\Slot9", 0, KEY_WRITE, &key);
    ::RegSetValueExA(key, "KeepRunning", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), 4);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char restart[8] = "";
    std::snprintf(restart, sizeof(restart), "%02d:%02d", (now.wHour + 12) % 24, now.wMinute);
    ::RegSetValueExA(key, "RestartDaily", 0, REG_SZ, reinterpret_cast<const BYTE*>(restart), 6);
    const DWORD beatSeconds = 10, aliveSeconds = 86400;
    const bool heartbeat = argc == 6 && std::strncmp(argv[5], "http", 4) == 0;
    const bool screen = argc == 6 && std::strcmp(argv[5], "screen") == 0;
    // The cover, the show moved to its monitor (the primary, display 1), the pointer hidden.
    for (const char* name : {"Cover", "Monitor", "HideCursor"})
        if (screen)
            ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), 4);
    const bool offHours = argc == 6 && std::strcmp(argv[5], "offhours") == 0;
    if (offHours)
    {
        char hours[16] = "";
        std::snprintf(hours, sizeof(hours), "%02d:%02d-%02d:%02d", (now.wHour + 12) % 24, now.wMinute,
                      (now.wHour + 13) % 24, now.wMinute);
        ::RegSetValueExA(key, "ShowHours", 0, REG_SZ, reinterpret_cast<const BYTE*>(hours), 12);
    }
    if (argc == 6 && !heartbeat && !offHours && !screen)
    {
        ::RegSetValueExA(key, "AliveFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[5]),
                         static_cast<DWORD>(std::strlen(argv[5]) + 1));
        ::RegSetValueExA(key, "AliveSeconds", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&aliveSeconds), 4);
    }
    if (heartbeat)
    {
        ::RegSetValueExA(key, "HeartbeatUrl", 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[5]),
                         static_cast<DWORD>(std::strlen(argv[5]) + 1));
        ::RegSetValueExA(key, "HeartbeatSeconds", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&beatSeconds), 4);
    }
    ::RegCloseKey(key);
    const HANDLE hold = ::CreateEventA(nullptr, TRUE, FALSE, "KestrupBenchHold");
    char record[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, record);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_RECORD", (std::string(record) + "kestrup-bench.txt").c_str());
    ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", "KestrupBenchHold");
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", ("window" + std::to_string(seconds + 20)).c_str());

    PROCESS_INFORMATION tool = Start(std::string("\"") + argv[1] + "\" /run 9");
    PROCESS_INFORMATION floor = Start(std::string("\"") + argv[2] + "\" 100");
    // With a heartbeat, a second floor makes the same requests on a thread.
    PROCESS_INFORMATION beatingFloor = {};
    if (heartbeat)
        beatingFloor = Start(std::string("\"") + argv[2] + "\" 100 " + argv[5]);
    ::Sleep(5000);  // the start, and the settling after it
    const double cpuBefore = bench::CpuMs(tool.hProcess);
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    const double cpu = bench::CpuMs(tool.hProcess) - cpuBefore;
    const bool waited = ::WaitForSingleObject(tool.hProcess, 0) == WAIT_TIMEOUT;
    End(tool);
    End(floor);
    if (heartbeat)
        End(beatingFloor);
    ::SetEvent(hold);
    DWORD program = 0;
    ::GetWindowThreadProcessId(::FindWindowA(nullptr, "Kestrup probe"), &program);
    if (const HANDLE shown = ::OpenProcess(PROCESS_TERMINATE, FALSE, program))
    {
        ::TerminateProcess(shown, 0);
        ::CloseHandle(shown);
    }
    if (offHours)
        std::printf("resident off hours, the show hours half a day away (%s): CPU %.1f ms over %d s (target 20 a "
                    "minute at most)\n", waited ? "resting" : "ENDED", cpu, seconds);
    else
        std::printf("resident while the program runs with a window, a daily restart set%s (%s): CPU %.1f ms over %d s (target 20 at most)\n",
                heartbeat ? ", a heartbeat every 10 s" : screen ? ", the cover, the monitor and the pointer hidden" : argc == 6 ? ", an alive file" : "", waited ? "watching" : "ENDED, not watching", cpu, seconds);
    return 0;
}
