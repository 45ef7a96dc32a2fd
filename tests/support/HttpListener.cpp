#include <winsock2.h>

#include "tests/support/HttpListener.h"

#include <cstring>
#include <vector>

HttpListener::HttpListener(bool deaf) : deaf(deaf)
{
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listening = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof(address);
    ::bind(listening, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(listening, 8);
    ::getsockname(listening, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    server = std::thread([this] { Serve(); });
}

HttpListener::~HttpListener()
{
    ::closesocket(listening);
    server.join();
    ::WSACleanup();
}

// At most 200 requests, each read up to its blank line.
void HttpListener::Serve()
{
    std::vector<SOCKET> held;
    for (int served = 0; served < 200; ++served)
    {
        const SOCKET client = ::accept(listening, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            break;
        const DWORD timeoutMs = 5000;
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
        std::string request;
        char buffer[1024];
        for (int got; request.find("\r\n\r\n") == std::string::npos
                      && (got = ::recv(client, buffer, sizeof(buffer), 0)) > 0;)
            request.append(buffer, static_cast<size_t>(got));
        requestLine = request.substr(0, request.find("\r\n"));
        ++requests;
        if (deaf)
        {
            held.push_back(client);
            continue;
        }
        const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        ::send(client, answer, static_cast<int>(std::strlen(answer)), 0);
        ::closesocket(client);
    }
    for (SOCKET client : held)
        ::closesocket(client);
}
