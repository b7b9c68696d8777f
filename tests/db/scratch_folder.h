#pragma once

#include <string>
#include <vector>

// A fresh folder under the temp folder, made current for one test or one
// benchmark run, so the database's Volume01.STD lands there too; removed
// with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const;  // absolute path
    std::vector<std::string> listing() const;          // sorted names, lock files left out

private:
    std::string m_previous;
    std::string m_path;
};
