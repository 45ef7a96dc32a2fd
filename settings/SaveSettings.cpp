#include "app/AutostartApp.h"

#include "framework/MessageBox.h"
#include "framework/RegKey.h"
#include "framework/StringFormat.h"
#include "framework/SystemMessage.h"
#include "settings/RegistryError.h"
#include "ui/SettingsDialog.h"

#include <cstring>

namespace
{
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void ShowError(const std::string& text)
{
    ::MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

int AppTypeOf(const CSettingsDialog& dialog)
{
    int type = AppTypeDisable;
    if (dialog.IsDisableChecked())
        type = AppTypeDisable;
    if (dialog.IsZentorChecked())
        type = AppTypeZentor;
    if (dialog.IsOrbxPlayerChecked())
        type = AppTypeOrbxPlayer;
    if (dialog.IsUserDefinedChecked())
        type = AppTypeUserDefined;
    return type;
}
} // namespace

void CAutostartApp::SaveSettings(CSettingsDialog& dialog)
{
    const int type = AppTypeOf(dialog);
    const std::string savedAppPath = dialog.GetAppPath();
    const std::string savedShowPath = dialog.GetShowPath();
    const std::string savedParameter = dialog.GetParameter();

    const std::string valueName = FormatString("vaxoAutostart%d", slot);
    // Resets the slot after a failure. A removal that itself fails must not
    // hide the first failure, and the autostart value goes even when the
    // slot's parent key is missing.
    auto cleanUp = [this, &valueName] {
        try
        {
            RemoveAutostart();
        }
        catch (const RegistryError&)
        {
            try
            {
                DeleteRegValue(HKEY_CURRENT_USER, kRunKey, valueName.c_str());
            }
            catch (const RegistryError&)
            {
            }
        }
    };

    try
    {
        const std::string section = FormatString("Slot%d", slot);
        if (!WriteProfileString(section.c_str(), "AppPath", savedAppPath.c_str()))
            throw "Could not save application path\n";
        if (!WriteProfileString(section.c_str(), "ShowPath", savedShowPath.c_str()))
            throw "Could not save showfile path";
        if (!WriteProfileString(section.c_str(), "Parameter", savedParameter.c_str()))
            throw "Could not save paramter";
        if (!WriteProfileInt(section.c_str(), "Kiosk", dialog.IsKioskChecked() ? 1 : 0))
            throw "Could not save kiosk flag";
        if (!WriteProfileInt(section.c_str(), "Delay", static_cast<int>(dialog.GetDelay())))
            throw "Could not save delay time";
        if (!WriteProfileInt(section.c_str(), "Mode", type))
            throw "Could not save mode flag";

        if (type != AppTypeDisable)
        {
            if (type < AppTypeZentor || type > AppTypeUserDefined)
                throw "Unexpected AppType";
            const std::string data = FormatString("\"%s\" /run %d", exePath.c_str(), slot);
            SetRunValue(HKEY_CURRENT_USER, valueName.c_str(), data.c_str());
        }
        else
        {
            const LONG result = RemoveAutostart();
            if (result != ERROR_SUCCESS)
                throw RegistryError{result};
        }
    }
    catch (const char* text)
    {
        cleanUp();
        ShowError(text);
        return;
    }
    catch (const RegistryError& error)
    {
        cleanUp();
        ShowError(SystemMessageOrCode(static_cast<DWORD>(error.code)));
        return;
    }
    AfxMessageBox("Settings successfully saved.", MB_OK | MB_ICONINFORMATION);
}

LONG CAutostartApp::RemoveAutostart()
{
    char title[256] = "";
    ::LoadStringA(m_hInstance != nullptr ? m_hInstance : ::GetModuleHandleA(nullptr),
                  AFX_IDS_APP_TITLE, title, sizeof(title));
    if (title[0] != '\0')
        DeleteRegKey(HKEY_CURRENT_USER, (std::string("Software\\vaxo\\") + title).c_str(),
                     FormatString("Slot%d", slot).c_str());
    return DeleteRegValue(HKEY_CURRENT_USER, kRunKey, FormatString("vaxoAutostart%d", slot).c_str());
}

LONG CAutostartApp::SetRunValue(HKEY root, const char* valueName, const char* data)
{
    const DWORD size = static_cast<DWORD>(std::strlen(data) + 1);
    CRegKey key;
    LONG result = key.Create(root, kRunKey, KEY_WRITE);
    if (result != ERROR_SUCCESS)
        throw RegistryError{result};
    result = ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size);
    if (result != ERROR_SUCCESS)
        throw RegistryError{result};
    return result;
}

LONG CAutostartApp::DeleteRegValue(HKEY root, const char* subKey, const char* valueName)
{
    CRegKey key;
    LONG result = key.Open(root, subKey, KEY_WRITE);
    if (result != ERROR_SUCCESS)
        throw RegistryError{result};
    result = ::RegDeleteValueA(key, valueName);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

LONG CAutostartApp::DeleteRegKey(HKEY root, const char* subKey, const char* keyName)
{
    CRegKey key;
    const LONG result = key.Open(root, subKey, KEY_WRITE);
    if (result != ERROR_SUCCESS)
        throw RegistryError{result};
    return ::RegDeleteKeyA(key, keyName);
}
