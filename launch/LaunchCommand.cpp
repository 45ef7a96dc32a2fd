#include "launch/LaunchCommand.h"

#include "framework/Paths.h"

std::string TrimFolder(const std::string& folder, UINT codePage)
{
    size_t keep = 0;
    for (size_t i = 0; i < folder.size();)
    {
        const BYTE c = static_cast<BYTE>(folder[i]);
        if (i + 1 < folder.size() && ::IsDBCSLeadByteEx(codePage, c))
        {
            i += 2;
            keep = i;
            continue;
        }
        ++i;
        if (c != '\\' && c != '"')
            keep = i;
    }
    return folder.substr(0, keep);
}

LaunchCommand BuildLaunchCommand(const std::string& appPath, const std::string& parameter,
                                 int kiosk, const std::string& showPath, UINT codePage)
{
    LaunchCommand command;
    command.commandLine = "\"" + appPath + "\"";
    if (!parameter.empty())
        command.commandLine += " " + parameter;
    if (kiosk != 0)
        command.commandLine += " /kiosk";
    if (!showPath.empty())
        command.commandLine += " \"" + showPath + "\"";

    const std::string folder = GetPathFolder(appPath, codePage);
    command.folder = TrimFolder(folder, codePage);
    // "D:" alone names the current folder on D:, not its root.
    if (command.folder.size() == 2 && command.folder[1] == ':' && folder.size() > 2)
        command.folder += '\\';
    return command;
}
