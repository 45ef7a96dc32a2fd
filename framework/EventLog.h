#pragma once

#include "framework/Handle.h"

#include <initializer_list>
#include <string>
#include <vector>

// Entries of one event source in the Application event log, each naming the
// user the process runs as. The source is registered with the first entry, so
// a process that writes none never touches the log. Nothing here fails: an
// entry that cannot be written is dropped, since logging must never stand in
// the way of what it records.
class CEventLog
{
public:
    explicit CEventLog(const char* source) : m_source(source) {}

    // type: EVENTLOG_INFORMATION_TYPE, EVENTLOG_WARNING_TYPE or
    // EVENTLOG_ERROR_TYPE; eventId from the message table; the strings fill its
    // inserts %1, %2, ... in order.
    void Report(WORD type, DWORD eventId, std::initializer_list<const char*> strings);

private:
    const char* m_source;
    bool m_registered = false;
    CEventSourceHandle m_handle;
    std::vector<BYTE> m_user;  // TOKEN_USER of this process
};
