#include "app/RemoteRequest.h"

#include "app/StatusQuery.h"
#include "framework/Handle.h"
#include "framework/StringFormat.h"
#include "settings/RegistryNames.h"
#include "settings/SlotStatus.h"

#include <tlhelp32.h>

#include <vector>

namespace
{
constexpr DWORD kTakenWithinMs = 10000;

// The file name of the process that started this one ("" where it is gone).
std::string ParentName()
{
    const CKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    DWORD parent = 0;
    for (bool more = ::Process32First(snapshot.get(), &entry) != FALSE; more && parent == 0;
         more = ::Process32Next(snapshot.get(), &entry) != FALSE)
        if (entry.th32ProcessID == ::GetCurrentProcessId())
            parent = entry.th32ParentProcessID;
    entry.dwSize = sizeof(entry);
    for (bool more = parent != 0 && ::Process32First(snapshot.get(), &entry) != FALSE; more;
         more = ::Process32Next(snapshot.get(), &entry) != FALSE)
        if (entry.th32ProcessID == parent)
            return entry.szExeFile;
    return std::string();
}

// This process's user as "DOMAIN\user".
std::string UserName()
{
    HANDLE opened = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened))
        return std::string();
    const CKernelHandle token(opened);
    std::vector<BYTE> buffer(256);
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size))
        return std::string();
    char name[256] = "", domain[256] = "";
    DWORD nameSize = sizeof(name), domainSize = sizeof(domain);
    SID_NAME_USE use;
    if (!::LookupAccountSidA(nullptr, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, name, &nameSize,
                             domain, &domainSize, &use))
        return std::string();
    return FormatString("%s\\%s", domain, name);
}
} // namespace

std::string AskerOfThisRun()
{
    return FormatString("%s, %s", ParentName().c_str(), UserName().c_str());
}

int AskKeeper(const CSlotStore& store, int slot, bool stop, const std::string& relayedFor)
{
    const char* request = stop ? "stop" : "restart";
    const std::string askedName = stop ? regnames::StopEventName(slot) : regnames::RestartEventName(slot);
    const CKernelHandle asked(::OpenEventA(EVENT_MODIFY_STATE, FALSE, askedName.c_str()));
    const CKernelHandle taken(::OpenEventA(SYNCHRONIZE, FALSE, regnames::TakenEventName(slot).c_str()));
    if (!asked || !taken)
    {
        const CKernelHandle keeper(::OpenMutexA(SYNCHRONIZE, FALSE, regnames::RunMutexName(slot).c_str()));
        PrintLine(FormatString(keeper ? "slot %d: %s not taken: the keeper takes no requests\r\n"
                                      : "slot %d: %s not taken: not kept\r\n",
                               slot, request));
        return keeper ? 1 : 2;
    }
    CSlotStatus::SetAskedBy(store.KeyPath(slot), relayedFor.empty() ? AskerOfThisRun() : relayedFor + " via relay");
    ::SetEvent(asked.get());
    const bool answered = ::WaitForSingleObject(taken.get(), kTakenWithinMs) == WAIT_OBJECT_0;
    if (!answered)
        ::ResetEvent(asked.get());
    PrintLine(FormatString(answered ? "slot %d: %s taken\r\n" : "slot %d: %s not taken: the keeper did not answer\r\n",
                           slot, request));
    return answered ? 0 : 1;
}
