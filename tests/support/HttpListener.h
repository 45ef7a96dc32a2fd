#pragma once

#include <windows.h>

#include <atomic>
#include <string>
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
    // The first line of the request counted last ("GET /path?query HTTP/1.1"), until the next comes.
    const std::string& RequestLine() const { return requestLine; }

private:
    void Serve();

    bool deaf;
    UINT_PTR listening;
    int port = 0;
    std::atomic<int> requests{0};
    std::string requestLine;
    std::thread server;
};
