#include "tests/support/TempFolder.h"

#include "framework/Handle.h"

#include <gtest/gtest.h>

namespace
{
void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                ::DeleteFileA((folder + name).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

void CreateFolders(const std::string& folder)
{
    for (const char* c = folder.c_str() + 3;; c = ::CharNextA(c))
    {
        if (*c == '\\' || *c == '\0')
            ::CreateDirectoryA(std::string(folder.c_str(), c).c_str(), nullptr);
        if (*c == '\0')
            break;
    }
}
} // namespace

TempFolder::TempFolder(const std::string& name)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    // In code page 932 the name ends in a character whose second byte is a
    // backslash, so that every path below it tests the stepping over such
    // characters.
    path = std::string(temp) + "kestrup-" + name + (::GetACP() == 932 ? "\x95\x5C" : "") + "\\";
    RemoveTree(path);
    CreateFolders(path);
}

TempFolder::~TempFolder()
{
    RemoveTree(path);
}

std::string TempFolder::MakeFolder(const std::string& relativePath) const
{
    const std::string folder = path + relativePath;
    CreateFolders(folder);
    return folder;
}

std::string TempFolder::MakeFile(const std::string& relativePath) const
{
    const std::string file = path + relativePath;
    const size_t separator = file.find_last_of('\\');
    CreateFolders(file.substr(0, separator));
    const CFileHandle handle(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(handle) << "creating " << file;
    return file;
}
