#include "app/StatusQuery.h"

#include "framework/Handle.h"
#include "framework/StringFormat.h"
#include "settings/RegistryNames.h"
#include "settings/SlotStatus.h"

#include <algorithm>

void PrintLine(const std::string& text)
{
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    CFileHandle console;
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS))
    {
        console.reset(::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        out = console.get();
    }
    DWORD written = 0;
    ::WriteFile(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
}

namespace
{
int SlotAnswer(const CSlotStore& store, int slot)
{
    const CKernelHandle keeper(::OpenMutexA(SYNCHRONIZE, FALSE, regnames::RunMutexName(slot).c_str()));
    std::string state, words;
    const bool stored = CSlotStatus::Read(store.KeyPath(slot), state, words);
    // A program not kept was started in this logon: its /run has ended, by design.
    const bool started = state == "started";
    // A state left by a keeper that is gone is no state of now.
    PrintLine(FormatString(!keeper && !started ? "slot %d: not kept (last: %s)\r\n" : "slot %d: %s\r\n", slot,
                           stored ? words.c_str() : "none"));
    if (started)
        return 0;
    return !keeper || state == "stopped" ? 2 : state == "running" || state == "off hours" ? 0 : 1;
}
} // namespace

int AnswerStatus(const CSlotStore& store, bool allSlots, int slot)
{
    if (!allSlots)
        return SlotAnswer(store, slot);
    int answer = -1;
    for (int each : CSlotStore::Registered())
        answer = std::max(answer, SlotAnswer(store, each));
    return answer < 0 ? 2 : answer;
}
