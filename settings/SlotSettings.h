#pragma once

#include <optional>
#include <utility>
#include <vector>
#include <string>

// Kinds of program a slot starts, stored as "Mode". Other stored numbers load
// unchanged and count as none of these.
enum class AppType : int
{
    Disable = 0,
    Zentor = 1,
    OrbxPlayer = 2,
    UserDefined = 3,
};

// The values of one slot, as stored below its key.
struct SlotSettings
{
    AppType appType = AppType::Disable;
    std::string appPath;
    std::string showPath;
    std::string parameter;
    // As stored: any value but 0 starts the program in kiosk mode, while the
    // settings show the box checked only for 1, and a save stores 1 or 0.
    int kiosk = 0;
    int delay = 0;  // seconds; a slot never saved loads as 20
    // Started again, after a countdown, whenever it ends.
    bool keepRunning = false;
    // How long a window of a kept program may stay not responding before the
    // program is ended and started again; 0 never. Not in the dialog: a save
    // leaves the stored value as it is.
    unsigned notRespondingSeconds = 60;
    // A crash of a kept program goes to Windows' own handling (its box, Windows
    // Error Reporting, LocalDumps) instead of ending it at once. Not in the
    // dialog either.
    bool windowsErrorReporting = false;
    // The time of a kept program's restart each day, "HH:MM", as stored;
    // empty: none.
    std::string restartDaily;
    // A file the kept program writes as it plays ("" none): one not written
    // for `aliveSeconds` means its show froze, and it is started again.
    // As stored: its %variables% are expanded (whatever the value's type) and
    // a relative path taken in the program's folder when it starts.
    std::string aliveFile;
    unsigned aliveSeconds = 60;  // see PeriodSeconds
    // The display and the system are kept on while a kept program runs.
    bool keepDisplayOn = false;
    // The slot whose start this slot's start waits for, at most 300 s.
    std::optional<int> startAfter;
    // Set where the settings changed the value beside: a save stores it then
    // only, so that a value nobody touched stays as stored.
    bool restartDailyChanged = false;
    bool notRespondingChanged = false;
    bool aliveChanged = false;  // aliveFile and aliveSeconds
    bool keepDisplayOnChanged = false;
    bool startAfterChanged = false;
    // Requested every heartbeatSeconds while a kept program runs and
    // responds; empty: none. The seconds as stored (60 where missing); see
    // PeriodSeconds for what counts.
    std::string heartbeatUrl;
    unsigned long heartbeatSeconds = 60;
    bool heartbeatChanged = false;
    // Where the slot's program does not show, a window covers its monitor:
    // black, or the picture (%variables% expanded, as the alive file's).
    bool cover = false;
    std::string coverPicture;
    bool coverChanged = false;  // cover and coverPicture
    // The display \\.\DISPLAYn the countdown, the cover and the program are
    // on; 0: the primary.
    int monitor = 0;
    bool monitorChanged = false;
    // The pointer is hidden while the program runs and nobody moves it.
    bool hideCursor = false;
    bool hideCursorChanged = false;
    // When the program runs, in local time, as stored ("Mon-Fri 07:00-19:00");
    // empty: always.
    std::string showHours;
    bool showHoursChanged = false;
    // The displays are turned off outside the show hours.
    bool offHoursDisplay = false;
    bool offHoursDisplayChanged = false;
};

// Whether the keeping's options were changed in the settings.
inline bool KeepOptionsChanged(const SlotSettings& values)
{
    return values.restartDailyChanged || values.notRespondingChanged || values.heartbeatChanged || values.aliveChanged
        || values.keepDisplayOnChanged || values.coverChanged || values.monitorChanged || values.hideCursorChanged
        || values.showHoursChanged || values.offHoursDisplayChanged;
}

// The seconds of the heartbeat's period and of an alive file's: 10 to 86400;
// another stored value counts as 60.
inline constexpr unsigned long kFewestPeriodSeconds = 10;
inline constexpr unsigned long kMostPeriodSeconds = 86400;
inline unsigned long PeriodSeconds(unsigned long seconds)
{
    return seconds >= kFewestPeriodSeconds && seconds <= kMostPeriodSeconds ? seconds : 60;
}

// The slots below the profile key: each one whose key is there, by number,
// and the lowest number of 0 and up that has none, for a new one.
struct SlotList
{
    // In number order.
    std::vector<std::pair<int, SlotSettings>> stored;
    int unused = 0;
};
