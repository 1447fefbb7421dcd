#pragma once
// The missing mark of link entries: a few checker threads test whether each
// link's target exists, rows on screen first, and post what they found to the
// window, which marks or clears column 0 of the changed rows only. The window
// never waits for a check: a server that takes 30 s to answer holds one
// checker, the grid stays as it is meanwhile, and closing the window leaves a
// check stuck in the system to end on its own.
#include "core/commands/command_ui.h"
#include "core/grid/grid_model.h"
#include "core/grid/link_check_queue.h"
#include "core/records/record_cache.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ombriel {

// The existence test: the target, file or folder, is there (UTF-8 path).
bool TargetExists(const std::string& path);

class LinkMarks {
  public:
    using ExistsTest = std::function<bool(const std::string& path)>;
    // What the checkers post to the window when marks changed.
    static constexpr UINT kChangedMessage = WM_APP + 40;
    static constexpr UINT_PTR kTimerId = 0x4C4B;
    static constexpr int kCheckers = 4;

    // How long a double-click waits for its look at a target.
    static constexpr std::chrono::milliseconds kLookAgain{2000};

    // exists: the test a checker makes of each target; lookAgain: the
    // double-click's wait (a test on a loaded machine gives it longer).
    explicit LinkMarks(GridModel& model, ExistsTest exists = TargetExists,
                       std::chrono::milliseconds lookAgain = kLookAgain)
        : model_(model), exists_(std::move(exists)), lookAgain_(lookAgain) {}
    // Stops the checkers without waiting for them.
    ~LinkMarks();
    LinkMarks(const LinkMarks&) = delete;
    LinkMarks& operator=(const LinkMarks&) = delete;

    // Starts the checkers and the look at the rows on screen; window takes
    // the messages below (HandleMessage), list is the grid's list view.
    void Start(HWND window, HWND list);

    // After every reload of the grid from the records (rows in their
    // order): the links to check; the marks already known show at once.
    void Reload(const std::vector<StoredRecord>& records, const std::filesystem::path& startFolder);

    // The window's messages this part takes (its timer, the checkers' news).
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // A double-click on `row`: for a link, looks at its target again (for a
    // moment at most: a server that does not answer keeps the last result)
    // and marks the row by what it found. When the target is missing a box
    // says so with its path and true is returned: the entry is not opened.
    bool ReportIfMissing(int row, CommandUi& ui);

    // Raised for each row whose mark was set or cleared, so the hint of the
    // chosen row can follow.
    std::function<void(int row)> onMarkChanged;

  private:
    struct Shared;
    // The model rows on screen, first to last (none: first > last).
    std::pair<int, int> RowsOnScreen() const;
    void ShowRowsOnScreen();
    void ApplyChanges();

    GridModel& model_;
    ExistsTest exists_;
    std::chrono::milliseconds lookAgain_;
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    std::shared_ptr<Shared> shared_;
};

} // namespace ombriel
