#ifndef BROX_SCRATCH_FOLDER_H
#define BROX_SCRATCH_FOLDER_H

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

// The process works in `folder` for as long as this lives, as the game
// works in the folder it finds its files in, and goes back where it was.
class workingFolder {
public:
    explicit workingFolder(const std::string& folder)
    {
        std::error_code failed;
        previous = std::filesystem::current_path(failed);
        if (!failed)
            std::filesystem::current_path(folder, failed);
        inside = !failed;
    }
    ~workingFolder() { leave(); }
    workingFolder(const workingFolder&) = delete;
    workingFolder& operator=(const workingFolder&) = delete;

    // False when the process could not go there.
    bool entered() const { return inside; }

    // Goes back now rather than at the end; false when it cannot.
    bool leave()
    {
        if (!inside)
            return true;
        inside = false;
        std::error_code failed;
        std::filesystem::current_path(previous, failed);
        return !failed;
    }

private:
    std::filesystem::path previous;
    bool inside = false;
};

// A fresh, empty folder of the temporary directory's, removed with all in
// it at its end.
class scratchFolder {
public:
    scratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "broxXXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            root = pattern;
    }
    ~scratchFolder()
    {
        std::error_code ignored;
        if (made())
            std::filesystem::remove_all(root, ignored);
    }
    scratchFolder(const scratchFolder&) = delete;
    scratchFolder& operator=(const scratchFolder&) = delete;

    bool made() const { return !root.empty(); }
    const std::string& folder() const { return root; }

private:
    std::string root;
};

// A scratch folder the process works in for as long as this lives.
class inScratchFolder {
public:
    inScratchFolder() : inside(scratch.folder()) {}

    // False when there is no such folder or the process could not go there.
    bool entered() const { return inside.entered(); }
    bool leave() { return inside.leave(); }

private:
    scratchFolder scratch;
    workingFolder inside;
};

#endif
