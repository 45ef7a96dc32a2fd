// A stand-in for a started program: writes its own command line and current
// folder, one per line in UTF-8 (whatever the code page), to the file named by
// KESTRUP_PROBE_RECORD. Where KESTRUP_PROBE_HOLD names an event, it runs on
// until that event lets it go.
#include <windows.h>

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
    wchar_t hold[MAX_PATH] = L"";
    if (::GetEnvironmentVariableW(L"KESTRUP_PROBE_HOLD", hold, MAX_PATH) != 0)
        ::WaitForSingleObject(::OpenEventW(SYNCHRONIZE, FALSE, hold), INFINITE);
    return 0;
}
