#include "keep/HandOver.h"

#include <algorithm>

namespace
{
constexpr DWORD kQueryAndWait = SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;

ULONGLONG AsCount(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::string ProgramFile(HANDLE process)
{
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    return process != nullptr && ::QueryFullProcessImageNameA(process, 0, path, &size) ? path : "";
}

// An end that cannot be read counts as now, after a run of no time.
watch::Ending EndingOf(HANDLE process, bool showedWindow, ULONGLONG nowMs)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        ::GetSystemTimeAsFileTime(&exited), created = exited;
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process, &exitCode);
    return {AsCount(created), AsCount(exited), showedWindow, exitCode, nowMs};
}
} // namespace

CHandOver::CHandOver(HANDLE started, bool showedWindow, ULONGLONG nowMs)
    : endings{{EndingOf(started, showedWindow, nowMs), ProgramFile(started)}}
{
}

void CHandOver::Look(const std::vector<DWORD>& ids, const std::vector<DWORD>& windowed, ULONGLONG nowMs)
{
    for (auto gone = left.begin(); gone != left.end();)
        if (watch::Holds(ids, gone->id))
            ++gone;
        else
        {
            if (gone->role == watch::Role::Update && gone->process
                && ::WaitForSingleObject(gone->process.get(), 0) == WAIT_OBJECT_0)
                endings.push_back({EndingOf(gone->process.get(), gone->facts.showedWindow, nowMs), gone->program});
            gone = left.erase(gone);
        }
    for (DWORD id : ids)
        if (std::none_of(left.begin(), left.end(), [id](const Left& known) { return known.id == id; }))
        {
            CKernelHandle process(::OpenProcess(kQueryAndWait, FALSE, id));
            FILETIME created = {}, exited, kernel, user;
            if (process && !::GetProcessTimes(process.get(), &created, &exited, &kernel, &user))
                created = {};
            const std::string program = ProgramFile(process.get());
            left.push_back({id, std::move(process), program, {AsCount(created), false, false}, watch::Role::Show});
        }
    for (Left& process : left)
    {
        process.facts.showedWindow = process.facts.showedWindow || watch::Holds(windowed, process.id);
        Judge(process, nowMs);
    }
}

// By the last process to end of those started before it.
void CHandOver::Judge(Left& process, ULONGLONG nowMs) const
{
    const Ended* judge = &endings.front();
    for (const Ended& ended : endings)
        if (process.facts.createdAt != 0 && ended.ending.createdAt <= process.facts.createdAt)
            judge = &ended;
    process.facts.sameProgram =
        !process.program.empty() && ::lstrcmpiA(process.program.c_str(), judge->program.c_str()) == 0;
    process.role = watch::RoleOf(judge->ending, process.facts, nowMs);
}

std::vector<DWORD> CHandOver::ShowIds() const
{
    std::vector<DWORD> ids;
    for (const Left& process : left)
        if (process.role == watch::Role::Show)
            ids.push_back(process.id);
    return ids;
}

bool CHandOver::UpdateAtWork() const
{
    return std::any_of(left.begin(), left.end(),
                       [](const Left& process) { return process.role == watch::Role::Update; });
}

bool CHandOver::ShowEnded() const
{
    return std::all_of(left.begin(), left.end(),
                       [](const Left& process) { return process.role == watch::Role::Leftover; });
}

std::vector<HANDLE> CHandOver::ToWait() const
{
    std::vector<HANDLE> waited;
    for (const Left& process : left)
        if (process.role != watch::Role::Leftover && process.process && waited.size() < MAXIMUM_WAIT_OBJECTS - 1)
            waited.push_back(process.process.get());
    return waited;
}

bool CHandOver::LookAgainSoon() const
{
    size_t waitedOn = 0;
    for (const Left& process : left)
        if (process.role != watch::Role::Leftover)
        {
            if (!process.process)
                return true;
            ++waitedOn;
        }
    return waitedOn > MAXIMUM_WAIT_OBJECTS - 1;
}
