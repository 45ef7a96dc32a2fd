#pragma once

// Base of the program's command-line readers. The framework's own parsing is
// never used here, so the base carries no state.
class CCommandLineInfo
{
public:
    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    CCommandLineInfo(const CCommandLineInfo&) = delete;
    CCommandLineInfo& operator=(const CCommandLineInfo&) = delete;
};
