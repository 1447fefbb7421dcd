#pragma once
// What a split or join needs from the dialog that started it. The engines
// live in the portable core; the Win32 layer implements this interface over
// dialog 101, and the tests implement it with a scripted fake.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelbrin {

// The two radio choices of the dialog.
enum OperationModeValue : int32_t { OpSplit = 0, OpJoin = 1 };
enum SplitModeValue : int32_t { ByKeyword = 0, BySize = 1, ByPieces = 2 };

// Unit radios of the size-per-piece method: MBs, KBs, or bytes when neither.
enum class SizeUnit { Bytes, KBs, MBs };

// Controls an operation hands the keyboard focus to after a message.
enum class FocusTarget { SourceButton, TargetButton, ValueEdit };

// Everything read from the dialog when an operation starts.
struct OperationInputs {
    int32_t operationMode = OpSplit;
    int32_t splitMode = ByPieces;
    std::filesystem::path source; // edit 1000; empty when none chosen
    std::filesystem::path target; // edit 1002; empty when none chosen
    // Edit 1006 as the bytes a keyword is searched for: the text in the
    // system's ANSI code page, the one the user's text files are written in,
    // or its UTF-8 bytes when that code page cannot hold every character.
    // A size or a count is plain digits either way.
    std::string value;
    SizeUnit unit = SizeUnit::KBs;
    bool crcCheck = false; // "CRC Ch&eck ?"
};

// How an operation ends, as the user is told: a string-table message (0 for
// none); for a failure of the file system, the file it concerns and the
// system's error code (0 when the system reported none); and the control
// the keyboard focus goes to. An operation the user stopped shows nothing:
// it has removed every file it wrote.
struct Ending {
    int message = 0;
    std::filesystem::path file;
    int systemError = 0;
    std::optional<FocusTarget> focus;
    bool stopped = false;
};

class OperationUi {
  public:
    virtual ~OperationUi() = default;

    virtual OperationInputs ReadInputs() = 0;
    // "&Generate Batch File ?", read when a split has written its pieces.
    virtual bool BatchFileWanted() = 0;
    // A text of the program's string table, as UTF-8 (the JOIN.BAT lines).
    virtual std::string Text(int stringId) = 0;

    // Disables (busy) or enables again the default button and Cancel.
    virtual void SetBusy(bool busy) = 0;

    // A string-table message with one OK button (ShowMessage).
    virtual void ShowMessage(int stringId) = 0;
    // A failure message of the file layer: the string-table text, then the
    // file's path and the system's reason.
    virtual void ShowFailure(int stringId, const std::filesystem::path& file, int systemError) = 0;
    // The Yes/No question of an operation; true for any answer but No.
    virtual bool Confirm(const std::string& textUtf8) = 0;

    // Progress bar from `first` to `last` (any 64-bit count; the adapter
    // scales it to what the control can show), then positions in that range.
    virtual void SetProgressRange(uint64_t first, uint64_t last) = 0;
    virtual void SetProgressPos(uint64_t pos) = 0;

    virtual void MoveFocus(FocusTarget target) = 0;

    // True once the user has asked to stop the operation. Asked between
    // blocks; the operation then removes every file it wrote and ends
    // without a message.
    virtual bool StopRequested() = 0;
};

// Tells the user how an operation ended: its message, then the focus move;
// nothing for a stopped one.
void ReportEnding(OperationUi& ui, const Ending& ending);

// The ending of an operation the user stopped.
inline Ending StoppedEnding() {
    Ending ending;
    ending.stopped = true;
    return ending;
}

// Removes files an operation wrote (when it was stopped).
void RemoveWrittenFiles(const std::vector<std::filesystem::path>& files);

// Reports how an operation ended. A stop the user asked for once the
// operation had written everything (or while its final message waited to be
// shown) takes back the files it wrote, as a stop during the work would
// have; returns true when it did.
bool EndOperation(OperationUi& ui, const Ending& ending,
                  const std::vector<std::filesystem::path>& written);

// Keeps the default button and Cancel disabled for the life of an operation.
class BusyScope {
  public:
    explicit BusyScope(OperationUi& ui) : ui_(ui) { ui_.SetBusy(true); }
    ~BusyScope() { ui_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    OperationUi& ui_;
};

} // namespace zelbrin
