#pragma once

#include <functional>
#include <string>

// Requests a URL (GET, no body) every period while told to beat, on a thread
// of its own, so that a request never holds the watch, the countdown or a
// logoff up: WinHTTP, loaded by that thread, with the system's proxy
// settings, its certificate checks and a timeout of 10 s. The silence is the
// alarm: it never beats while not told to, and never tries again between
// beats.
class CHeartbeat
{
public:
    // Told on the heartbeat's thread at the first result and whenever one
    // differs from the one before: success, or failure with the reason (the
    // HTTP status, or the system's message).
    using ResultAction = std::function<void(bool succeeded, const std::string& reason)>;

    // Nothing is ever requested for an empty URL.
    CHeartbeat(const std::string& url, unsigned long seconds, const std::string& userAgent, ResultAction onResult);
    // Never waits for a request; no result is told afterwards.
    ~CHeartbeat();
    CHeartbeat(const CHeartbeat&) = delete;
    CHeartbeat& operator=(const CHeartbeat&) = delete;

    // A beat at once when it starts beating, then one every period.
    void SetBeating(bool beating);

private:
    struct Shared;
    Shared* shared = nullptr;
};
