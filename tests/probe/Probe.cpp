// A stand-in for a started program: writes its own command line and current
// folder, one per line, to the file named by KESTRUP_PROBE_RECORD.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char record[MAX_PATH] = "";
    if (::GetEnvironmentVariableA("KESTRUP_PROBE_RECORD", record, MAX_PATH) == 0)
        return 2;
    char folder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, folder);

    // Written under a temporary name and renamed, so a reader never sees half a record.
    char partial[MAX_PATH + 8];
    wsprintfA(partial, "%s.part", record);
    HANDLE file = ::CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const char* commandLine = ::GetCommandLineA();
    ::WriteFile(file, commandLine, lstrlenA(commandLine), &written, nullptr);
    ::WriteFile(file, "\n", 1, &written, nullptr);
    ::WriteFile(file, folder, lstrlenA(folder), &written, nullptr);
    ::WriteFile(file, "\n", 1, &written, nullptr);
    ::CloseHandle(file);
    ::MoveFileExA(partial, record, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
