#pragma once
// What a split or join needs from the dialog that started it. An operation
// has two halves: the dialog's thread reads the inputs, checks them, plans
// and asks the confirmation (all cheap); a worker then writes the files with
// nothing but a WorkProgress and returns an Ending, which the dialog shows.
// The engines live in the portable core; the Win32 layer implements these
// interfaces over dialog 101, the tests with a scripted fake.
#include <cstdint>
#include <filesystem>
#include <functional>
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
// it has removed every file it wrote. `succeeded` marks the one ending that
// reports a finished operation.
struct Ending {
    int message = 0;
    std::filesystem::path file;
    int systemError = 0;
    std::optional<FocusTarget> focus;
    bool stopped = false;
    bool succeeded = false;
};

inline Ending MessageEnding(int message) {
    return {message, {}, 0, {}};
}
inline Ending FocusedEnding(int message, FocusTarget focus) {
    return {message, {}, 0, focus};
}
inline Ending FailureEnding(int message, const std::filesystem::path& file, int systemError) {
    return {message, file, systemError, {}};
}
inline Ending SuccessEnding(int message) {
    Ending ending = MessageEnding(message);
    ending.succeeded = true;
    return ending;
}
// The ending of an operation the user stopped.
inline Ending StoppedEnding() {
    Ending ending;
    ending.stopped = true;
    return ending;
}

// What the worker half of an operation has of the dialog: the bar, and
// whether the user asked to stop. Stops are asked between blocks; the
// operation then removes every file it wrote and ends without a message.
class WorkProgress {
  public:
    virtual ~WorkProgress() = default;
    // Progress bar from `first` to `last` (any 64-bit count; the adapter
    // scales it to what the control can show), then positions in that range.
    virtual void SetProgressRange(uint64_t first, uint64_t last) = 0;
    virtual void SetProgressPos(uint64_t pos) = 0;
    virtual bool StopRequested() = 0;
};

// What the worker hands back: how it ended and every file it wrote and
// kept, so that a stop asked for after the work ended can take them back.
struct WorkResult {
    Ending ending;
    std::vector<std::filesystem::path> files = {};
};

// The worker half of an operation; it runs with nothing of the dialog.
using Work = std::function<WorkResult(WorkProgress&)>;

// The dialog half's outcome: either an ending to show at once (a refused
// input, a No to the question) or the work to run.
struct Prepared {
    Ending ending;
    Work work = {};
};

// The operation's question, asked on the dialog's thread: true for any
// answer but No.
using Confirmation = std::function<bool(const std::string& textUtf8)>;

// The whole dialog, as one thread sees it: the tests and the benchmarks run
// both halves of an operation through it in turn.
class OperationUi : public WorkProgress {
  public:
    virtual OperationInputs ReadInputs() = 0;
    // "&Generate Batch File ?", read when a split starts.
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

    virtual void MoveFocus(FocusTarget target) = 0;
};

// Tells the user how an operation ended: its message, then the focus move;
// nothing for a stopped one.
void ReportEnding(OperationUi& ui, const Ending& ending);

// Removes files an operation wrote (when it was stopped).
void RemoveWrittenFiles(const std::vector<std::filesystem::path>& files);

// The second half on the calling thread, the caller holding the buttons:
// runs the work when there is any, then tells the user how it ended.
WorkResult RunAndReport(OperationUi& ui, const Prepared& prepared);

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
