#pragma once

#include <functional>
#include <string>

// Requests a URL (GET, no body) every period while told to beat, on a thread
// of its own, so that a request never holds the watch, the countdown or a
// logoff up: WinHTTP, loaded by that thread, with the system's proxy
// settings, TLS 1.2 or later where the system has it, its certificate checks
// and a timeout of 10 s. The silence is the alarm: it never beats while not
// told to, nor in the first 10 s of being told to; a failed beat is tried once
// more 10 s later, and only then counts as failed.
class CHeartbeat
{
public:
    // Told on the heartbeat's thread at the first result and whenever one
    // differs from the one before: success, or failure (of a beat and its
    // retry) with the reason (the HTTP status, or the system's message).
    using ResultAction = std::function<void(bool succeeded, const std::string& reason)>;

    // Nothing is ever requested for an empty URL.
    CHeartbeat(const std::string& url, unsigned long seconds, const std::string& userAgent, ResultAction onResult);
    // Never waits for a request; no result is told afterwards.
    ~CHeartbeat();
    CHeartbeat(const CHeartbeat&) = delete;
    CHeartbeat& operator=(const CHeartbeat&) = delete;

    // A beat 10 s after it starts beating, then one every period.
    void SetBeating(bool beating);

private:
    struct Shared;
    Shared* shared = nullptr;
};

// The URL as records name it: its scheme, host and port, then "/" and an
// ellipsis where a path or query follows (a push monitor's token is its path).
std::string AddressWithoutPath(const std::string& url);
