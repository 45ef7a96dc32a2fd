#include "settings/SlotStatus.h"

#include "framework/RegKey.h"
#include "framework/StringFormat.h"
#include "settings/RegistryNames.h"

using namespace regnames;

namespace
{
constexpr char kLastingCheck[] = "lasting key check";

// "YYYY-MM-DD HH:MM..." as LocalTimeText writes it, to the minute.
bool ReadLocalTimeText(const std::string& text, SYSTEMTIME& time)
{
    const struct
    {
        size_t at, digits;
        WORD SYSTEMTIME::*part;
    } parts[] = {{0, 4, &SYSTEMTIME::wYear}, {5, 2, &SYSTEMTIME::wMonth}, {8, 2, &SYSTEMTIME::wDay},
                 {11, 2, &SYSTEMTIME::wHour}, {14, 2, &SYSTEMTIME::wMinute}};
    for (const auto& part : parts)
        for (size_t i = part.at; i < part.at + part.digits; ++i)
        {
            if (i >= text.size() || text[i] < '0' || text[i] > '9')
                return false;
            time.*part.part = static_cast<WORD>(time.*part.part * 10 + (text[i] - '0'));
        }
    return true;
}

// Whether an open Status key outlives the logon: a copied slot's, which an
// import made an ordinary key (only such a key takes a lasting key below it).
// One that cannot be tried (a slot key locked by policy) counts as volatile.
bool IsLasting(HKEY status)
{
    CRegKey check;
    if (check.Create(status, kLastingCheck, KEY_READ) != ERROR_SUCCESS)
        return false;
    ::RegDeleteKeyA(status, kLastingCheck);
    return true;
}

// The Status key, volatile; only below a slot key that is there, so that a
// removed slot is not made again. Where asked, a lasting one is replaced.
LONG OpenStatus(const std::string& slotKeyPath, CRegKey& status, bool replaceLasting = false)
{
    constexpr REGSAM access = KEY_SET_VALUE | KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY;
    CRegKey slot;
    LONG result = slot.Open(HKEY_CURRENT_USER, slotKeyPath.c_str(), KEY_CREATE_SUB_KEY);
    if (result == ERROR_SUCCESS)
        result = status.Create(slot, kStatusKey, access, REG_OPTION_VOLATILE);
    if (result == ERROR_SUCCESS && replaceLasting && IsLasting(status))
    {
        ::RegDeleteKeyA(slot, kStatusKey);
        result = status.Create(slot, kStatusKey, access, REG_OPTION_VOLATILE);
    }
    return result;
}

// The Status key of this logon, to read; a lasting one is none of it.
LONG OpenToRead(const std::string& slotKeyPath, CRegKey& status)
{
    const std::string path = FormatString("%s\\%s", slotKeyPath.c_str(), kStatusKey);
    CRegKey tried;
    if (tried.Open(HKEY_CURRENT_USER, path.c_str(), KEY_CREATE_SUB_KEY) == ERROR_SUCCESS && IsLasting(tried))
        return ERROR_FILE_NOT_FOUND;
    return status.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ);
}
} // namespace

CSlotStatus::CSlotStatus(std::string slotKeyPath) : keyPath(std::move(slotKeyPath))
{
    CRegKey status;
    if (OpenStatus(keyPath, status, true) == ERROR_SUCCESS)
        status.QueryDWORDValue(kStarts, starts);
}

std::string LocalTimeText()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return LocalTimeText(now);
}

std::string LocalTimeText(const SYSTEMTIME& at)
{
    return FormatString("%04u-%02u-%02u %02u:%02u:%02u", at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute,
                        at.wSecond);
}

std::string ShortTimeText(const SYSTEMTIME& at)
{
    static const char kDays[] = "Sun Mon Tue Wed Thu Fri Sat ";
    constexpr ULONGLONG kDayTicks = 864000000000ULL;
    SYSTEMTIME now, dated = at;
    ::GetLocalTime(&now);
    FILETIME from = {}, to = {};
    ::SystemTimeToFileTime(&now, &from);
    if (::SystemTimeToFileTime(&at, &to))
        ::FileTimeToSystemTime(&to, &dated);
    const auto ticks = [](const FILETIME& time) { return ULONGLONG{time.dwHighDateTime} << 32 | time.dwLowDateTime; };
    return FormatString("%.*s%02u:%02u", ticks(to) < ticks(from) + kDayTicks ? 0 : 4, kDays + dated.wDayOfWeek % 7 * 4,
                        at.wHour, at.wMinute);
}

void CSlotStatus::Enter(const char* entered, const std::string& lastsUntil)
{
    if (state == entered && until == lastsUntil)
        return;
    if (state != entered)
        since = LocalTimeText();
    state = entered;
    until = lastsUntil;
    Write();
}

void CSlotStatus::Started(DWORD id)
{
    processId = id;
    ++starts;
}

void CSlotStatus::Ended(DWORD exitCode)
{
    processId = 0;
    lastExitCode = exitCode;
    lastEnd = LocalTimeText();
}

void CSlotStatus::Write() const
{
    CRegKey status;
    if (OpenStatus(keyPath, status) != ERROR_SUCCESS)
        return;
    status.SetStringValue(kState, state);
    status.SetStringValue(kSince, since);
    if (!until.empty())
        status.SetStringValue(kUntil, until);
    else
        ::RegDeleteValueA(status, kUntil);
    if (processId != 0)
        status.SetDWORDValue(kProcessId, processId);
    else
        ::RegDeleteValueA(status, kProcessId);
    status.SetDWORDValue(kStarts, starts);
    if (!lastEnd.empty())
    {
        status.SetDWORDValue(kLastExitCode, lastExitCode);
        status.SetStringValue(kLastEnd, lastEnd);
    }
}

void CSlotStatus::SetHeartbeat(const std::string& result) const
{
    CRegKey status;
    if (OpenStatus(keyPath, status) == ERROR_SUCCESS)
        status.SetStringValue(kHeartbeat, result);
}

void CSlotStatus::SetAskedBy(const std::string& slotKeyPath, const std::string& asker)
{
    CRegKey status;
    const std::string path = FormatString("%s\\%s", slotKeyPath.c_str(), kStatusKey);
    if (status.Open(HKEY_CURRENT_USER, path.c_str(), KEY_SET_VALUE) == ERROR_SUCCESS)
        status.SetStringValue(kAskedBy, asker);
}

std::string CSlotStatus::TakeAskedBy(const std::string& slotKeyPath)
{
    CRegKey status;
    std::string asker;
    if (OpenStatus(slotKeyPath, status) == ERROR_SUCCESS && status.QueryStringValue(kAskedBy, asker) == ERROR_SUCCESS)
        ::RegDeleteValueA(status, kAskedBy);
    return asker;
}

DWORD CSlotStatus::Starts(const std::string& slotKeyPath)
{
    CRegKey status;
    DWORD starts = 0;
    if (OpenToRead(slotKeyPath, status) == ERROR_SUCCESS)
        status.QueryDWORDValue(kStarts, starts);
    return starts;
}

bool CSlotStatus::Read(const std::string& slotKeyPath, std::string& state, std::string& line)
{
    CRegKey status;
    if (OpenToRead(slotKeyPath, status) != ERROR_SUCCESS || status.QueryStringValue(kState, state) != ERROR_SUCCESS)
        return false;
    std::string since, until;
    DWORD processId = 0, starts = 0;
    status.QueryStringValue(kSince, since);
    SYSTEMTIME end = {};
    const bool ends = status.QueryStringValue(kUntil, until) == ERROR_SUCCESS && ReadLocalTimeText(until, end);
    until = ends ? ShortTimeText(end) : std::string();
    status.QueryDWORDValue(kStarts, starts);
    const bool runs = status.QueryDWORDValue(kProcessId, processId) == ERROR_SUCCESS;
    line = FormatString("%s%s%s since %s%s%.0lu, %lu start%s", state.c_str(), ends ? " until " : "", until.c_str(),
                        since.c_str(), runs ? ", process " : "", processId, starts, starts == 1 ? "" : "s");
    return true;
}
