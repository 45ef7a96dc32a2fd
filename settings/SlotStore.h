#pragma once

#include "settings/RegistryWriter.h"
#include "settings/SlotSettings.h"

#include <string>
#include <vector>

class CRegKey;
class CWinApp;

// Slots live below the application's profile key, in
// HKEY_CURRENT_USER\software\vaxo\<title>\Slot<N>; a registered slot also has
// its value in the Run key.
class CSlotStore
{
public:
    CSlotStore(CWinApp& profile, CRegistryWriter& writer) : m_profile(profile), m_writer(writer) {}

    // Never fails: what cannot be read takes its default. The slot's key
    // exists afterwards; one locked for reading only is read all the same.
    // Paths stored as REG_EXPAND_SZ come with their variables expanded.
    SlotSettings Load(int slot) const;
    // The same for a slot that is still there, creating nothing; false where
    // its key is gone, the values then those Load gives a slot never saved.
    bool LoadExisting(int slot, SlotSettings& values) const;
    // Every key named as a slot's, read as LoadExisting reads it; keys of
    // other names, or a number written otherwise ("Slot01"), are not slots.
    SlotList List() const;
    // The slots with a value in the Run key, in its order.
    static std::vector<int> Registered();

    // Writes the values in the order AppPath, ShowPath, Parameter, Kiosk,
    // Delay, Mode, KeepRunning, then the keeping's options where the settings
    // changed them (NotRespondingSeconds, RestartDaily, AliveFile with
    // AliveSeconds, KeepDisplayOn, StartAfter, HeartbeatUrl with
    // HeartbeatSeconds, Cover with CoverPicture, Monitor, HideCursor,
    // ShowHours, OffHoursDisplay), and then registers the slot in the Run key (clearing a
    // "Disabled" mark of Task Manager's for it), or, for Disable, removes the
    // slot and its registration. Returns the text the user is shown for the
    // first failure, an empty text when all was saved. A failure after the
    // first write removes the slot and its registration, so that a slot is
    // never left half saved; a save that could write nothing (a slot key
    // locked for reading) leaves everything as it was. Paths
    // in one pair of double quotes are stored without them. An empty exePath
    // (this program's path cannot be written in the ANSI code page), or one of
    // MAX_PATH characters or more, refuses any registration. What was
    // written or removed is on disk when it returns.
    std::string Save(int slot, const SlotSettings& values, const std::string& exePath) const;

    // Deletes the slot's key, its Run value and a "Disabled" mark Task Manager
    // keeps for that value; tries each whatever the others give.
    // ERROR_SUCCESS, or the first failure.
    LONG RemoveAutostart(int slot) const;

    // The slot's key below HKEY_CURRENT_USER.
    std::string KeyPath(int slot) const;

private:
    static SlotSettings Read(const CRegKey& key);
    std::string Write(int slot, const SlotSettings& values, const std::string& exePath,
                      bool& wroteAny) const;
    // The slot's values, up to the first that cannot be written: what failed, or nullptr.
    const char* WriteValues(int slot, const SlotSettings& values, bool& wroteAny) const;

    CWinApp& m_profile;
    CRegistryWriter& m_writer;
};
