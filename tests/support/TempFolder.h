#pragma once

#include <string>

// A fresh folder below the temporary folder, removed with everything in it.
class TempFolder
{
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full path ending in a backslash.
    const std::string& Path() const { return path; }

    // Creates an empty file (and its folders) below this folder; returns its full path.
    std::string MakeFile(const std::string& relativePath) const;
    std::string MakeFolder(const std::string& relativePath) const;

private:
    std::string path;
};
