#pragma once

#include "framework/Handle.h"
#include "keep/WatchRules.h"

#include <windows.h>

#include <string>
#include <vector>

// What the started process handed the show over to once it ended: each
// process left in its job, judged by watch::RoleOf at every look, as it shows
// a window, as an update at work ends (what it leaves is then judged by it),
// as an update's time runs out.
class CHandOver
{
public:
    // The started process has ended; the watch found so at `nowMs` awake.
    CHandOver(HANDLE started, bool showedWindow, ULONGLONG nowMs);

    // Takes the processes now in the job, and those of them found with a
    // visible window (none where the windows were not looked at).
    void Look(const std::vector<DWORD>& ids, const std::vector<DWORD>& windowed, ULONGLONG nowMs);

    std::vector<DWORD> ShowIds() const;
    bool UpdateAtWork() const;
    // Neither a process of the show nor an update is left.
    bool ShowEnded() const;
    // The show's processes and the updates, as many as one wait can take
    // beside the thread's messages.
    std::vector<HANDLE> ToWait() const;
    // One of them cannot be waited on: it is looked for again soon.
    bool LookAgainSoon() const;

private:
    struct Left
    {
        DWORD id;
        CKernelHandle process;
        std::string program;
        watch::LeftProcess facts;
        watch::Role role;
    };
    struct Ended
    {
        watch::Ending ending;
        std::string program;
    };

    void Judge(Left& process, ULONGLONG nowMs) const;

    std::vector<Ended> endings;
    std::vector<Left> left;
};
