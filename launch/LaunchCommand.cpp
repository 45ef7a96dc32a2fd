#include "launch/LaunchCommand.h"

#include "framework/AnsiText.h"
#include "framework/Paths.h"
#include "framework/StringFormat.h"

std::string TrimFolder(const std::string& folder, UINT codePage)
{
    size_t keep = 0;
    for (size_t i = 0; i < folder.size();)
    {
        const size_t step = CharacterLength(folder.data() + i, folder.size() - i, codePage);
        const char c = folder[i];
        i += step;
        if (step > 1 || (c != '\\' && c != '"'))
            keep = i;
    }
    return folder.substr(0, keep);
}

LaunchCommand BuildLaunchCommand(const std::string& appPath, const std::string& parameter,
                                 int kiosk, const std::string& showPath, UINT codePage)
{
    // Paths stored in quotes (pasted from Explorer, or set by an
    // administrator) start as if stored without them.
    const std::string program = Unquoted(appPath);
    const std::string show = Unquoted(showPath);
    std::string tail;  // each part after one space
    if (!parameter.empty())
        tail += " " + parameter;
    if (kiosk != 0)
        tail += " /kiosk";
    if (!show.empty())
        tail += " \"" + show + "\"";
    LaunchCommand command;
    command.program = program;
    command.arguments = tail.empty() ? tail : std::string(tail.c_str() + 1);
    command.commandLine = FormatString("\"%s\"%s", program.c_str(), tail.c_str());

    const std::string folder = GetPathFolder(program, codePage);
    command.folder = TrimFolder(folder, codePage);
    // "D:" alone names the current folder on D:, not its root.
    if (command.folder.size() == 2 && command.folder[1] == ':' && folder.size() > 2)
        command.folder += '\\';
    return command;
}
