#pragma once
// The file-system steps of the record commands, behind an interface so the
// commands can be run on real files by tests and by the Win32 layer alike.
// Every step reports its failure instead of throwing.
#include "core/platform/error.h"
#include "core/records/record_file.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ombriel {

class FileServices {
  public:
    virtual ~FileServices() = default;

    // True when something (file or folder) exists at path.
    virtual bool Exists(const std::filesystem::path& path) = 0;
    // Creates folder (not its parents) unless it is already there.
    virtual Error EnsureFolder(const std::filesystem::path& folder) = 0;
    // Moves a file to a new path, never replacing a file already there. A move
    // to another drive copies the file to a temporary name beside the new
    // path (one the record list never shows), gives it the new name only once
    // the copy is complete, and removes the original only after that; a
    // failed move leaves the file where it was.
    virtual Error MoveDocument(const std::filesystem::path& from,
                               const std::filesystem::path& to) = 0;
    virtual Error RemoveFile(const std::filesystem::path& file) = 0;
    // Writes a new record file whole, only if there is none of that name:
    // of several processes creating it at once exactly one succeeds, the
    // others fail with kErrAlreadyExists and write nothing.
    virtual Error CreateRecord(const std::filesystem::path& recordFile, const std::string& target,
                               const std::string& description) = 0;
    // Writes a record file whole, replacing any old one in one step.
    virtual Error WriteRecord(const std::filesystem::path& recordFile, const std::string& target,
                              const std::string& description) = 0;
    // The three below default to the system's own (a stand-in for the file
    // steps rarely needs to change them).
    // Reads a record file's two fields.
    virtual Error ReadRecord(const std::filesystem::path& recordFile, RecordFields& fields);
    // True when source is another file than document, or another name of
    // the same data (removing it then loses nothing), and holds exactly the
    // same bytes: a move that was cut short after its copy.
    virtual bool IsCopyOf(const std::filesystem::path& source,
                          const std::filesystem::path& document);
    // Removes the temporary files that killed writers left in folder; one a
    // writer still holds open stays. Returns the names of those that stay.
    virtual std::vector<std::string> RemoveLeftoverTemporaries(const std::filesystem::path& folder);
    // Makes startFolder the working directory again (drive, then folder).
    virtual Error RestoreWorkingFolder(const std::filesystem::path& startFolder) = 0;
    // The system's description of a failure number, for failures the commands
    // find themselves (a document that is missing, a name that is no name).
    virtual std::string Describe(uint32_t number) = 0;

    Error Failure(uint32_t number) { return Error{number, Describe(number)}; }
};

class Platform;

// The file services of the system the program runs on, writing records
// through `platform`. alwaysCopy: every document move is made as one to
// another drive, so tests reach that way of moving on a single disk.
std::unique_ptr<FileServices> MakeFileServices(Platform& platform, bool alwaysCopy = false);

// The services over SystemPlatform().
FileServices& SystemFileServices();
// The same, but every document move is made as one to another drive.
FileServices& CopyingFileServices();

} // namespace ombriel
