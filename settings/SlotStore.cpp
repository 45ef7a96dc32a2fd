#include "settings/SlotStore.h"

#include "framework/Handle.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"
#include "framework/WinApp.h"
#include "settings/RegistryNames.h"
#include "settings/SaveError.h"

using namespace regnames;

namespace
{
void Check(LONG result, const char* failureText)
{
    if (result != ERROR_SUCCESS)
        throw CSaveError(failureText);
}

void Check(LONG result)
{
    if (result != ERROR_SUCCESS)
        throw CSaveError(SystemMessageOrCode(static_cast<DWORD>(result)));
}

bool IsKnown(AppType type)
{
    return type == AppType::Disable || type == AppType::Zentor || type == AppType::OrbxPlayer
           || type == AppType::UserDefined;
}

// A value already gone counts as deleted.
LONG DeleteValue(HKEY root, const char* path, const char* name)
{
    CRegKey key;
    LONG result = key.Open(root, path, KEY_WRITE);
    if (result != ERROR_SUCCESS)
        return result;
    result = ::RegDeleteValueA(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

// Saving or removing is the user's newer choice than a "Disabled" in Task
// Manager. Most profiles have no such mark, nor its key.
LONG ClearDisabledMark(int slot)
{
    const LONG result =
        DeleteValue(HKEY_CURRENT_USER, kStartupApprovedRunKey, RunValueName(slot).c_str());
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
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
} // namespace

SlotSettings CSlotStore::Load(int slot) const
{
    const std::string section = SlotSection(slot);
    SlotSettings values;
    values.appPath = m_profile.GetProfileString(section.c_str(), kAppPath);
    values.showPath = m_profile.GetProfileString(section.c_str(), kShowPath);
    values.parameter = m_profile.GetProfileString(section.c_str(), kParameter);
    values.kiosk = static_cast<int>(m_profile.GetProfileInt(section.c_str(), kKiosk, 0));
    values.delay = static_cast<int>(m_profile.GetProfileInt(section.c_str(), kDelay, 20));
    values.appType = static_cast<AppType>(m_profile.GetProfileInt(section.c_str(), kMode, 0));
    return values;
}

void CSlotStore::Save(int slot, const SlotSettings& values, const std::string& exePath) const
{
    const CSlotLock lock(slot);
    try
    {
        Write(slot, values, exePath);
    }
    catch (...)
    {
        RemoveAutostart(slot);
        throw;
    }
}

void CSlotStore::Write(int slot, const SlotSettings& values, const std::string& exePath) const
{
    {
        static const char kAppPathFailed[] = "Could not save application path\n";
        CRegKey key;
        // A slot key that cannot be opened fails the first write.
        Check(m_profile.OpenSectionKey(SlotSection(slot).c_str(), key), kAppPathFailed);
        Check(m_writer.SetString(key, kAppPath, values.appPath), kAppPathFailed);
        Check(m_writer.SetString(key, kShowPath, values.showPath), "Could not save showfile path");
        Check(m_writer.SetString(key, kParameter, values.parameter), "Could not save paramter");
        Check(m_writer.SetDword(key, kKiosk, values.kiosk != 0 ? 1 : 0),
              "Could not save kiosk flag");
        Check(m_writer.SetDword(key, kDelay, static_cast<DWORD>(values.delay)),
              "Could not save delay time");
        Check(m_writer.SetDword(key, kMode, static_cast<DWORD>(values.appType)),
              "Could not save mode flag");
    }

    if (values.appType == AppType::Disable)
    {
        Check(RemoveAutostart(slot));
        return;
    }
    if (!IsKnown(values.appType))
        throw CSaveError("Unexpected AppType");
    if (exePath.empty())
        throw CSaveError("Could not register the autostart: the path of this program cannot be "
                         "written in the system's code page. Move the program to a folder whose "
                         "name uses only characters of that code page and save again.");
    CRegKey run;
    Check(run.Create(HKEY_CURRENT_USER, kRunKey, KEY_WRITE));
    Check(m_writer.SetString(run, RunValueName(slot).c_str(), RunCommand(exePath, slot)));
    Check(ClearDisabledMark(slot));
}

LONG CSlotStore::RemoveAutostart(int slot) const
{
    const CSlotLock lock(slot);
    CRegKey profile;
    const LONG opened = profile.Open(HKEY_CURRENT_USER, m_profile.GetProfileKeyPath().c_str(), KEY_WRITE);
    // A slot key already gone counts as deleted.
    if (opened == ERROR_SUCCESS)
        ::RegDeleteKeyA(profile, SlotSection(slot).c_str());
    const LONG unregistered = DeleteValue(HKEY_CURRENT_USER, kRunKey, RunValueName(slot).c_str());
    const LONG unmarked = ClearDisabledMark(slot);
    for (LONG result : {opened, unregistered, unmarked})
        if (result != ERROR_SUCCESS)
            return result;
    return ERROR_SUCCESS;
}
