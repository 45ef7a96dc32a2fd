#pragma once

// The current session's logon time and the time now, as the system's session
// information gives them (100-nanosecond steps since 1601, UTC). False where
// the system gives none; the terminal services library is loaded only here.
bool QuerySessionTimes(long long& logonTime, long long& currentTime);
