#include "app/Relay.h"

#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"

std::string RelayedCommandLine(const std::string& exePath, const std::string& switchName, const std::string& value,
                               const std::string& asker)
{
    return FormatString("\"%s\" /via \"%s\" /%s \"%s\"", exePath.c_str(), asker.c_str(), switchName.c_str(),
                        value.c_str());
}

int RelayAnswer(const RelayRun& run, bool keeps, std::string& line)
{
    if (!run.userAtConsole)
        line = "nobody is signed in at the console\r\n";
    else if (run.startError != ERROR_SUCCESS)
        line = FormatString("could not run in the console user's session: %s\r\n",
                            SystemMessageOrCode(run.startError).c_str());
    else if (!run.ended)
        line = keeps ? "running in the console user's session\r\n" : "no answer from the console user's session\r\n";
    else
        line = run.line;
    if (!run.userAtConsole || run.startError != ERROR_SUCCESS)
        return 2;
    return run.ended ? static_cast<int>(run.exitCode) : keeps ? 0 : 1;
}
