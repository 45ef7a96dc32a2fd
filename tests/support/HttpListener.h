#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

// An HTTP server on 127.0.0.1 of the test's own, on a port the system picks:
// it counts the requests it takes and answers each with 200, or, deaf,
// accepts them and never answers (they stay open until it goes).
class HttpListener
{
public:
    explicit HttpListener(bool deaf = false);
    ~HttpListener();

    int Port() const { return port; }
    int Requests() const { return requests; }

private:
    void Serve();

    bool deaf;
    UINT_PTR listening;
    int port = 0;
    std::atomic<int> requests{0};
    std::thread server;
};
