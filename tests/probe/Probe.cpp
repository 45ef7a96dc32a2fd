// A stand-in for a started program: writes its own command line and current
// folder, one per line in UTF-8 (whatever the code page), to the file named by
// KESTRUP_PROBE_RECORD. Where KESTRUP_PROBE_HOLD names an event, it runs on
// until that event lets it go. KESTRUP_PROBE_MODE makes it a show: "window<N>"
// shows a window ("Kestrup probe") that answers for N seconds or until it is
// closed (none for 0), "frozen" one that stops answering (until the hold event
// lets it go), "hidden<N>" one that answers for N seconds, then hides and
// stops answering, "deaf<N>" one that answers for N seconds but ignores
// WM_CLOSE, "launch<N>[/<M>]" a launcher that starts a copy of itself as
// "window<N>" (recording beside the record) and ends (after M seconds),
// "relaunch<N>/<M>" a program that shows a window for M seconds, then starts
// such a copy and ends, "crash<N>/<M>" one that does so and ends with an
// access violation's code, "update<N>/<M>/<K>" one that shows a window for M
// seconds, then starts a copy of itself as another program ("updater.exe"
// beside it) in mode "install<N>/<K>", which runs K seconds without a window,
// then starts such a copy of itself and ends, "alive<N>/<M>" one that answers
// for M seconds and writes the file named by KESTRUP_PROBE_ALIVE each second
// for the first N, "saver" one that ends at once with 1 where the screen
// saver is active, 0 where not.
#include <windows.h>

#include <shlwapi.h>

namespace
{
void WriteUtf8(HANDLE file, const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    char* buffer = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), 0, size > 0 ? size : 1));
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, size, nullptr, nullptr);
    DWORD written = 0;
    if (length > 0)
        ::WriteFile(file, buffer, static_cast<DWORD>(length - 1), &written, nullptr);
    ::WriteFile(file, "\n", 1, &written, nullptr);
    ::HeapFree(::GetProcessHeap(), 0, buffer);
}

// A visible window that answers for a while; then, frozen, it stops answering
// (until the hold event, if any, lets it go), hidden first where asked.
void ShowWindowFor(DWORD answerMs, bool frozen, bool hidden, bool deaf = false, DWORD writeMs = 0)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "Kestrup probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                    100, nullptr, nullptr, nullptr, nullptr);
    char alive[MAX_PATH] = "";
    if (writeMs != 0 && ::GetEnvironmentVariableA("KESTRUP_PROBE_ALIVE", alive, MAX_PATH) != 0)
        ::SetTimer(window, 1, 1000, nullptr);
    const DWORD writeUntil = ::GetTickCount() + writeMs;
    MSG message;
    for (const DWORD until = ::GetTickCount() + answerMs;
         static_cast<int>(until - ::GetTickCount()) > 0 && ::IsWindow(window);)
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, until - ::GetTickCount(), QS_ALLINPUT);
        else if (message.message == WM_TIMER && static_cast<int>(writeUntil - ::GetTickCount()) > 0)
        {
            const HANDLE file = ::CreateFileA(alive, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
            DWORD written = 0;
            ::SetFilePointer(file, 0, nullptr, FILE_END);
            ::WriteFile(file, "+", 1, &written, nullptr);
            ::CloseHandle(file);
        }
        else if (!deaf || message.message != WM_CLOSE)
            ::DispatchMessageA(&message);
    if (hidden)
        ::ShowWindow(window, SW_HIDE);
    if (frozen && ::GetEnvironmentVariableA("KESTRUP_PROBE_HOLD", nullptr, 0) == 0)
        ::Sleep(INFINITE);
}

// The hand-over modes (see above): `partial` names this probe's record's
// temporary file, beside which the copy records.
int HandOver(const char* mode, const char* kind, wchar_t* partial)
{
    const char* times = mode + ::lstrlenA(kind);
    const char* slash = ::StrChrA(times, '/');
    const DWORD runMs = slash != nullptr ? ::StrToIntA(slash + 1) * 1000 : 0;
    if (kind[0] == 'i')
        ::Sleep(runMs);
    else if (kind[0] != 'l')
        ShowWindowFor(runMs, false, false);
    char self[MAX_PATH] = "", copy[MAX_PATH + 2] = "", copyMode[32] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::wsprintfA(copyMode, "window%d", ::StrToIntA(times));
    if (kind[0] == 'u')
    {
        ::wsprintfA(copyMode, "install%d/%d", ::StrToIntA(times), ::StrToIntA(::StrChrA(slash + 1, '/') + 1));
        ::lstrcpyA(::StrRChrA(self, nullptr, '\\') + 1, "updater.exe");
        ::GetModuleFileNameA(nullptr, copy, MAX_PATH);
        ::CopyFileA(copy, self, FALSE);
    }
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", copyMode);
    ::SetEnvironmentVariableW(L"KESTRUP_PROBE_RECORD", ::lstrcatW(partial, L".copy"));
    // Not WinExec, which waits up to 30 s for a copy without a window to go idle.
    ::wsprintfA(copy, "\"%s\"", self);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started;
    const BOOL made = ::CreateProcessA(nullptr, copy, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
    if (kind[0] == 'l')
        ::Sleep(runMs);
    if (kind[0] == 'c')
        ::ExitProcess(0xC0000005);
    return made ? 0 : 1;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t record[MAX_PATH] = L"";
    if (::GetEnvironmentVariableW(L"KESTRUP_PROBE_RECORD", record, MAX_PATH) == 0)
        return 2;
    wchar_t folder[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, folder);

    // Written under a temporary name and renamed, so a reader never sees half a record.
    wchar_t partial[MAX_PATH + 8];
    wsprintfW(partial, L"%s.part", record);
    HANDLE file = ::CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    WriteUtf8(file, ::GetCommandLineW());
    WriteUtf8(file, folder);
    ::CloseHandle(file);
    ::MoveFileExW(partial, record, MOVEFILE_REPLACE_EXISTING);
    char mode[32] = "";
    ::GetEnvironmentVariableA("KESTRUP_PROBE_MODE", mode, sizeof(mode));
    const char* kinds[] = {"launch", "relaunch", "crash", "update", "install"};
    for (const char* kind : kinds)
        if (::StrCmpNA(mode, kind, ::lstrlenA(kind)) == 0)
            return HandOver(mode, kind, partial);
    BOOL saverActive = FALSE;
    if (::lstrcmpA(mode, "saver") == 0)
        return ::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &saverActive, 0) && saverActive ? 1 : 0;
    if (::lstrcmpA(mode, "frozen") == 0)
        ShowWindowFor(500, true, false);
    if ((::StrCmpNA(mode, "window", 6) == 0 && ::StrToIntA(mode + 6) > 0) || ::StrCmpNA(mode, "hidden", 6) == 0)
        ShowWindowFor(::StrToIntA(mode + 6) * 1000, mode[0] == 'h', mode[0] == 'h');
    if (::StrCmpNA(mode, "alive", 5) == 0 && ::StrChrA(mode, '/') != nullptr)
        ShowWindowFor(::StrToIntA(::StrChrA(mode, '/') + 1) * 1000, false, false, false, ::StrToIntA(mode + 5) * 1000);
    if (::StrCmpNA(mode, "deaf", 4) == 0)
        ShowWindowFor(::StrToIntA(mode + 4) * 1000, false, false, true);
    wchar_t hold[MAX_PATH] = L"";
    if (::GetEnvironmentVariableW(L"KESTRUP_PROBE_HOLD", hold, MAX_PATH) != 0)
        ::WaitForSingleObject(::OpenEventW(SYNCHRONIZE, FALSE, hold), INFINITE);
    return 0;
}
