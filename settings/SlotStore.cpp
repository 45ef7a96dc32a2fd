#include "settings/SlotStore.h"

#include "framework/AnsiText.h"
#include "framework/Handle.h"
#include "framework/NativeView.h"
#include "framework/Paths.h"
#include "framework/RegKey.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"
#include "framework/WinApp.h"
#include "settings/RegistryNames.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

using namespace regnames;

namespace
{
// The user's text for a refused registry call; empty for success.
std::string SystemFailure(LONG result)
{
    return result == ERROR_SUCCESS ? std::string() : SystemMessageOrCode(static_cast<DWORD>(result));
}

bool IsKnown(AppType type)
{
    return type == AppType::Disable || type == AppType::Zentor || type == AppType::OrbxPlayer
           || type == AppType::UserDefined;
}

// A value already gone, or its whole key, counts as deleted.
LONG DeleteValue(HKEY root, const char* path, const char* name)
{
    CRegKey key;
    LONG result = key.Open(root, path, KEY_WRITE);
    if (result == ERROR_SUCCESS)
        result = ::RegDeleteValueA(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

// Saving or removing is the user's newer choice than a "Disabled" in Task
// Manager. Most profiles have no such mark, nor its key.
LONG ClearDisabledMark(int slot)
{
    return DeleteValue(HKEY_CURRENT_USER, kStartupApprovedRunKey, RunValueName(slot).c_str());
}

// A path stored as REG_EXPAND_SZ may name environment variables
// (%ProgramFiles%), as values of the Run key itself may; it is read as
// Explorer reads such a value for this user. A REG_SZ is taken literally.
std::string ReadPath(const CRegKey& key, const char* name)
{
    std::string path;
    DWORD type = REG_SZ;
    if (key.QueryStringValue(name, path, &type) != ERROR_SUCCESS || type != REG_EXPAND_SZ)
        return path;
    return ExpandAsExplorer(path);
}

int ReadNumber(const CRegKey& key, const char* name, int defaultValue)
{
    DWORD value = 0;
    return key.QueryDWORDValue(name, value) == ERROR_SUCCESS ? static_cast<int>(value) : defaultValue;
}

// The slot a key's or value's name stands for, as the prefix and a number;
// false for any other name.
bool SlotOfName(const char* name, const char* prefix, int& slot)
{
    const size_t length = std::strlen(prefix);
    if (_strnicmp(name, prefix, length) != 0)
        return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(name + length, &end, 10);
    if (end == name + length || *end != '\0' || errno == ERANGE)
        return false;
    slot = static_cast<int>(number);
    // Names compare without regard to case; any other spelling of the number
    // would not be the name of the slot's.
    return _stricmp(FormatString("%s%d", prefix, slot).c_str(), name) == 0;
}

// Saves and removals of one slot never interleave, in this process or
// another, so that a slot and its Run value are both there or both gone.
class CSlotLock
{
public:
    explicit CSlotLock(int slot)
        : m_mutex(::CreateMutexA(nullptr, FALSE, FormatString("Local\\vaxoKestrupSlot%d", slot).c_str()))
    {
        if (m_mutex)
            ::WaitForSingleObject(m_mutex.get(), INFINITE);
    }
    ~CSlotLock()
    {
        if (m_mutex)
            ::ReleaseMutex(m_mutex.get());
    }

private:
    CKernelHandle m_mutex;
};

// What refuses a save before anything is written, so that the slot stays as
// it was; empty where the save may go ahead.
std::string Refusal(const SlotSettings& values, const std::string& exePath)
{
    if (values.appType == AppType::Disable)
        return std::string();
    if (!IsKnown(values.appType))
        return "Unexpected AppType";
    if (exePath.empty())
        return "Could not register the autostart: the path of this program cannot be written in "
               "the system's code page. Move the program to a folder whose name uses only "
               "characters of that code page and save again.";
    if (CountCharacters(exePath) >= MAX_PATH)
        return "Could not register the autostart: the path of this program is too long for "
               "Windows to start it at logon, and it has no short form. Move the program to a "
               "folder with a shorter path and save again.";
    return std::string();
}
} // namespace

SlotSettings CSlotStore::Load(int slot) const
{
    CRegKey key;
    m_profile.OpenSectionKeyToRead(SlotSection(slot).c_str(), key);
    return Read(key);
}

bool CSlotStore::LoadExisting(int slot, SlotSettings& values) const
{
    CRegKey key;
    const LONG opened = key.Open(HKEY_CURRENT_USER, KeyPath(slot).c_str(), KEY_READ);
    values = Read(key);
    return opened == ERROR_SUCCESS;
}

SlotList CSlotStore::List() const
{
    SlotList list;
    CRegKey profile;
    if (profile.Open(HKEY_CURRENT_USER, m_profile.GetProfileKeyPath().c_str(), KEY_READ) == ERROR_SUCCESS)
    {
        char name[256];
        for (DWORD i = 0;; ++i)
        {
            DWORD length = sizeof(name);
            const LONG result = ::RegEnumKeyExA(profile, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            // A name too long for the buffer is no slot's.
            if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
                break;
            int slot = 0;
            SlotSettings values;
            if (result == ERROR_SUCCESS && SlotOfName(name, kSlotPrefix, slot) && LoadExisting(slot, values))
            {
                auto at = list.stored.begin();
                while (at != list.stored.end() && at->first < slot)
                    ++at;
                list.stored.insert(at, {slot, values});
            }
        }
    }
    for (const auto& entry : list.stored)
        if (entry.first == list.unused)
            ++list.unused;
    return list;
}

SlotSettings CSlotStore::Read(const CRegKey& key)
{
    SlotSettings values;
    values.appPath = ReadPath(key, kAppPath);
    values.showPath = ReadPath(key, kShowPath);
    key.QueryStringValue(kParameter, values.parameter);
    values.kiosk = ReadNumber(key, kKiosk, 0);
    values.delay = ReadNumber(key, kDelay, 20);
    values.appType = static_cast<AppType>(ReadNumber(key, kMode, 0));
    values.keepRunning = ReadNumber(key, kKeepRunning, 0) != 0;
    DWORD seconds = values.notRespondingSeconds;
    key.QueryDWORDValue(kNotRespondingSeconds, seconds);
    // Fewer seconds than a few checks would end a program that is only busy.
    values.notRespondingSeconds = seconds == 0 ? 0 : std::max<DWORD>(seconds, 10);
    values.windowsErrorReporting = ReadNumber(key, kWindowsErrorReporting, 0) != 0;
    key.QueryStringValue(kHeartbeatUrl, values.heartbeatUrl);
    DWORD beat = values.heartbeatSeconds;
    key.QueryDWORDValue(kHeartbeatSeconds, beat);
    values.heartbeatSeconds = beat;
    // A value of another type shows as what it holds, which is no time.
    if (key.QueryStringValue(kRestartDaily, values.restartDaily) == ERROR_INVALID_DATA)
    {
        DWORD number = 0;
        values.restartDaily = key.QueryDWORDValue(kRestartDaily, number) == ERROR_SUCCESS
                                  ? FormatString("%lu", number)
                                  : std::string("(not a text)");
    }
    // Its variables are expanded where the program runs, whatever the type.
    key.QueryStringValue(kAliveFile, values.aliveFile);
    values.aliveSeconds = PeriodSeconds(static_cast<unsigned long>(ReadNumber(key, kAliveSeconds, 60)));
    values.keepDisplayOn = ReadNumber(key, kKeepDisplayOn, 0) != 0;
    values.cover = ReadNumber(key, kCover, 0) != 0;
    key.QueryStringValue(kCoverPicture, values.coverPicture);
    values.monitor = std::max(ReadNumber(key, kMonitor, 0), 0);
    values.hideCursor = ReadNumber(key, kHideCursor, 0) != 0;
    key.QueryStringValue(kShowHours, values.showHours);
    values.offHoursDisplay = ReadNumber(key, kOffHoursDisplay, 0) != 0;
    DWORD startAfter = 0;
    if (key.QueryDWORDValue(kStartAfter, startAfter) == ERROR_SUCCESS)
        values.startAfter = static_cast<int>(startAfter);
    return values;
}

std::string CSlotStore::Save(int slot, const SlotSettings& values, const std::string& exePath) const
{
    const CSlotLock lock(slot);
    bool wroteAny = false;
    const std::string failure = Write(slot, values, exePath, wroteAny);
    if (!failure.empty() && wroteAny)
        RemoveAutostart(slot);
    // Windows writes the registry to disk when it sees fit, and a show PC is
    // often switched off at the wall right after it was set up. The slot and
    // the Run key lie in the user's one hive.
    ::RegFlushKey(HKEY_CURRENT_USER);
    return failure;
}

const char* CSlotStore::WriteValues(int slot, const SlotSettings& values, bool& wroteAny) const
{
    CRegKey key;
    // A slot key that cannot be opened fails the first write.
    if (m_profile.OpenSectionKey(SlotSection(slot).c_str(), key) != ERROR_SUCCESS
        || m_writer.SetString(key, kAppPath, Unquoted(values.appPath)) != ERROR_SUCCESS)
        return "Could not save application path\n";
    wroteAny = true;
    if (m_writer.SetString(key, kShowPath, Unquoted(values.showPath)) != ERROR_SUCCESS)
        return "Could not save showfile path";
    if (m_writer.SetString(key, kParameter, values.parameter) != ERROR_SUCCESS)
        return "Could not save paramter";
    if (m_writer.SetDword(key, kKiosk, values.kiosk != 0 ? 1 : 0) != ERROR_SUCCESS)
        return "Could not save kiosk flag";
    if (m_writer.SetDword(key, kDelay, static_cast<DWORD>(values.delay)) != ERROR_SUCCESS)
        return "Could not save delay time";
    if (m_writer.SetDword(key, kMode, static_cast<DWORD>(values.appType)) != ERROR_SUCCESS)
        return "Could not save mode flag";
    if (m_writer.SetDword(key, kKeepRunning, values.keepRunning ? 1 : 0) != ERROR_SUCCESS)
        return "Could not save keep running flag";
    if (values.notRespondingChanged
        && m_writer.SetDword(key, kNotRespondingSeconds, values.notRespondingSeconds) != ERROR_SUCCESS)
        return "Could not save the seconds a window may not respond";
    if (values.restartDailyChanged && m_writer.SetString(key, kRestartDaily, values.restartDaily) != ERROR_SUCCESS)
        return "Could not save the time of the daily restart";
    // A path typed with variables says so by its type, as `reg add` would.
    const DWORD aliveType = values.aliveFile.find('%') == std::string::npos ? REG_SZ : REG_EXPAND_SZ;
    if (values.aliveChanged
        && (m_writer.SetString(key, kAliveFile, values.aliveFile, aliveType) != ERROR_SUCCESS
            || m_writer.SetDword(key, kAliveSeconds, values.aliveSeconds) != ERROR_SUCCESS))
        return "Could not save the alive file";
    if (values.keepDisplayOnChanged && m_writer.SetDword(key, kKeepDisplayOn, values.keepDisplayOn) != ERROR_SUCCESS)
        return "Could not save the display setting";
    if (values.startAfterChanged
        && (!values.startAfter ? m_writer.DeleteValue(key, kStartAfter)
                               : m_writer.SetDword(key, kStartAfter, static_cast<DWORD>(*values.startAfter)))
               != ERROR_SUCCESS)
        return "Could not save the slot to start after";
    if (values.heartbeatChanged
        && (m_writer.SetString(key, kHeartbeatUrl, values.heartbeatUrl) != ERROR_SUCCESS
            || m_writer.SetDword(key, kHeartbeatSeconds, values.heartbeatSeconds) != ERROR_SUCCESS))
        return "Could not save the heartbeat";
    const DWORD pictureType = values.coverPicture.find('%') == std::string::npos ? REG_SZ : REG_EXPAND_SZ;
    if (values.coverChanged
        && (m_writer.SetDword(key, kCover, values.cover) != ERROR_SUCCESS
            || m_writer.SetString(key, kCoverPicture, values.coverPicture, pictureType) != ERROR_SUCCESS))
        return "Could not save the cover";
    if (values.monitorChanged && m_writer.SetDword(key, kMonitor, static_cast<DWORD>(values.monitor)) != ERROR_SUCCESS)
        return "Could not save the monitor";
    if (values.hideCursorChanged && m_writer.SetDword(key, kHideCursor, values.hideCursor) != ERROR_SUCCESS)
        return "Could not save the pointer setting";
    if (values.showHoursChanged && m_writer.SetString(key, kShowHours, values.showHours) != ERROR_SUCCESS)
        return "Could not save the show hours";
    if (values.offHoursDisplayChanged
        && m_writer.SetDword(key, kOffHoursDisplay, values.offHoursDisplay) != ERROR_SUCCESS)
        return "Could not save the display setting";
    return nullptr;
}

std::string CSlotStore::Write(int slot, const SlotSettings& values, const std::string& exePath,
                              bool& wroteAny) const
{
    const std::string refusal = Refusal(values, exePath);
    if (!refusal.empty())
        return refusal;
    if (const char* failed = WriteValues(slot, values, wroteAny))
        return failed;
    if (values.appType == AppType::Disable)
        return SystemFailure(RemoveAutostart(slot));
    CRegKey run;
    LONG result = run.Create(HKEY_CURRENT_USER, kRunKey, KEY_WRITE);
    if (result == ERROR_SUCCESS)
        result = m_writer.SetString(run, RunValueName(slot).c_str(), RunCommand(exePath, slot));
    if (result == ERROR_SUCCESS)
        result = ClearDisabledMark(slot);
    return SystemFailure(result);
}

LONG CSlotStore::RemoveAutostart(int slot) const
{
    const CSlotLock lock(slot);
    CRegKey profile;
    LONG deleted = profile.Open(HKEY_CURRENT_USER, m_profile.GetProfileKeyPath().c_str(), KEY_WRITE);
    if (deleted == ERROR_SUCCESS)
    {
        // The state of a keeper that still runs goes with the slot.
        ::RegDeleteKeyA(profile, StatusSection(slot).c_str());
        deleted = ::RegDeleteKeyA(profile, SlotSection(slot).c_str());
        // A slot key already gone counts as deleted.
        if (deleted == ERROR_FILE_NOT_FOUND)
            deleted = ERROR_SUCCESS;
    }
    const LONG unregistered = DeleteValue(HKEY_CURRENT_USER, kRunKey, RunValueName(slot).c_str());
    const LONG unmarked = ClearDisabledMark(slot);
    for (LONG result : {deleted, unregistered, unmarked})
        if (result != ERROR_SUCCESS)
            return result;
    return ERROR_SUCCESS;
}

std::vector<int> CSlotStore::Registered()
{
    std::vector<int> registered;
    CRegKey run;
    if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_READ) != ERROR_SUCCESS)
        return registered;
    char name[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD length = sizeof(name);
        const LONG result = ::RegEnumValueA(run, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        // A name too long for the buffer is no slot's.
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
            return registered;
        int slot = 0;
        if (result == ERROR_SUCCESS && SlotOfName(name, kRunValuePrefix, slot))
            registered.push_back(slot);
    }
}

std::string CSlotStore::KeyPath(int slot) const
{
    return FormatString("%s\\%s%d", m_profile.GetProfileKeyPath().c_str(), kSlotPrefix, slot);
}
