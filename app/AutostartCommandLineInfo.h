#pragma once

#include "framework/CommandLineInfo.h"

#include <memory>
#include <string>

// Splits a command line into (switch name, value) pairs, one pair per read.
// Tokens are separated by the space character alone; a switch starts with
// "/" or "-" and takes the following token as its value unless that token is
// a switch itself; a value may be a quoted group of several tokens. The first
// pair (the program's own path) is always discarded.
//
// Free of platform headers so that it also builds natively for fuzzing.
class CAutostartCommandLineInfo : public CCommandLineInfo
{
public:
    CAutostartCommandLineInfo();                              // the process command line
    explicit CAutostartCommandLineInfo(const char* commandLine);
    ~CAutostartCommandLineInfo() override;

    bool GetFirstPair(std::string& switchName, std::string& value);
    bool GetNextPair(std::string& switchName, std::string& value);

    const std::string& CommandLine() const { return commandLine; }

private:
    void ReadTokenValue(std::string& text);
    char* NextToken();

    std::string commandLine;
    char* current = nullptr;
    std::unique_ptr<char[]> workBuffer;
    char* continuation = nullptr;
};
