#include "core/join/join_engine.h"

#include "core/checksum/checksum_file.h"
#include "core/files/file_io.h"
#include "core/guarded_half.h"
#include "core/join/join_confirmation.h"
#include "core/join/piece_count.h"
#include "core/naming/piece_names.h"
#include "core/string_ids.h"
#include "support/text.h"

#include <exception>
#include <memory>
#include <new>
#include <optional>

namespace zelbrin {
namespace {

namespace fs = std::filesystem;

// The file being joined into. A join that does not complete must not leave
// a shorter file under the restored name, where it would pass for the whole
// one: it is removed, also when the join ends by an exception.
class JoinOutput {
  public:
    explicit JoinOutput(fs::path path) : path_(std::move(path)) {}
    JoinOutput(const JoinOutput&) = delete;
    JoinOutput& operator=(const JoinOutput&) = delete;
    ~JoinOutput() {
        if (created_)
            Discard();
    }

    const fs::path& Path() const { return path_; }
    int LastError() const { return file_.LastError(); }
    bool Create() {
        created_ = file_.Open(path_, FileAccess::ReadWrite, FileShare::ReadWrite,
                              FileDisposition::CreateAlways);
        return created_;
    }
    bool Write(const void* bytes, size_t size) { return file_.Write(bytes, size); }
    // Closes the complete file and keeps it; false if the system could not
    // store all of it, the file is then still to be discarded.
    bool Finish() {
        if (!file_.Close())
            return false;
        created_ = false;
        return true;
    }
    // Closes and removes the incomplete file; the system's error code when
    // it stays behind, else 0.
    int Discard() {
        file_.Close();
        created_ = false;
        return RemoveFileAt(path_);
    }

  private:
    fs::path path_;
    File file_;
    bool created_ = false;
};

// Copies every byte of one piece to the output through one block.
Ending CopyPiece(WorkProgress& ui, const fs::path& path, JoinOutput& out, char* block,
                 uint64_t& copied) {
    File piece;
    if (!piece.Open(path, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return FailureEnding(IDS_PIECE_OPEN_FAILED, path, piece.LastError());
    for (;;) {
        if (ui.StopRequested())
            return StoppedEnding();
        size_t got = 0;
        if (!piece.Read(block, kJoinCopyBlock, got))
            return FailureEnding(IDS_PIECE_READ_FAILED, path, piece.LastError());
        if (got > 0 && !out.Write(block, got))
            return FailureEnding(IDS_OUTPUT_WRITE_FAILED, out.Path(), out.LastError());
        copied += got;
        if (got < kJoinCopyBlock) // Read stops short only at the end of the piece
            return {};
    }
}

// Copies pieces 1..count in order; the piece set must still be the one the
// user agreed to.
Ending CopyPieces(WorkProgress& ui, const JoinNames& names, const PieceSet& set, JoinOutput& out,
                  char* block) {
    ui.SetProgressRange(1, set.count);
    uint64_t copied = 0;
    for (uint64_t n = 1; n <= set.count; ++n) {
        ui.SetProgressPos(n);
        if (Ending e = CopyPiece(ui, names.PiecePath(n), out, block, copied);
            e.message != 0 || e.stopped)
            return e;
    }
    // A piece that grew or shrank since the count would make another file.
    return copied == set.totalBytes ? Ending{} : MessageEnding(IDS_PIECE_SET_CHANGED);
}

// Writes the output; an incomplete one is removed, and its message says so.
Ending WriteOutput(WorkProgress& ui, const JoinNames& names, const PieceSet& set) {
    const std::unique_ptr<char[]> block(new (std::nothrow) char[kJoinCopyBlock]);
    if (!block)
        return MessageEnding(IDS_LOW_ON_MEMORY);
    JoinOutput out(names.outputPath);
    if (!out.Create())
        return FailureEnding(IDS_OUTPUT_CREATE_FAILED, out.Path(), out.LastError());
    Ending failure = CopyPieces(ui, names, set, out, block.get());
    if (failure.message == 0 && !out.Finish())
        failure = FailureEnding(IDS_OUTPUT_WRITE_FAILED, out.Path(), out.LastError());
    if (failure.message == 0 && !failure.stopped)
        return failure;
    if (const int error = out.Discard(); error != 0 && !failure.stopped)
        return FailureEnding(IDS_JOINED_NOT_REMOVED, out.Path(), error);
    return failure;
}

// What the work's half needs: the names the set was found under and the set
// the user agreed to.
struct JoinJob {
    JoinNames names;
    PieceSet set;
};

// The dialog's half ends in a job, or in an ending to show at once.
struct JoinStart {
    Ending ending;
    std::optional<JoinJob> job = {};
};

JoinStart Prepare(const OperationInputs& in, const Confirmation& confirm) {
    if (in.source.empty())
        return {FocusedEnding(IDS_NO_SOURCE_FILE, FocusTarget::SourceButton)};
    if (in.target.empty())
        return {FocusedEnding(IDS_NO_TARGET_DIRECTORY, FocusTarget::TargetButton)};

    std::optional<JoinNames> names = DeriveJoinNames(in.source, in.target);
    if (!names)
        return {MessageEnding(IDS_NOT_FIRST_PIECE)};

    const PieceSet set = CountPieces(*names, FileSizeAt);
    // Without its first piece there is no set to join: an empty file
    // reported as joined would be a wrong result.
    if (set.count == 0)
        return {MessageEnding(IDS_FIRST_PIECE_MISSING)};

    const std::string outputName = support::Utf8FromPath(names->outputName);
    if (!confirm(FormatJoinConfirmation(set.count, outputName, set.totalBytes)))
        return {};
    return {{}, JoinJob{std::move(*names), set}};
}

WorkResult Run(const JoinJob& job, WorkProgress& ui) {
    if (Ending e = WriteOutput(ui, job.names, job.set); e.message != 0 || e.stopped)
        return {e};
    // The check reads the closed file back from disk, so it vouches for what
    // was stored, not for what was handed to the system. The checksum file
    // lies beside the pieces, never in the target folder; a damaged one
    // (too short to hold a checksum) must not pass as success.
    const bool crcError = JoinedFileHasCrcError(job.names.checksumPath, job.names.outputPath,
                                                [&ui] { return ui.StopRequested(); });
    // A stop cuts the check short, so its verdict would be wrong: the stop
    // wins and takes the joined file back.
    if (ui.StopRequested()) {
        RemoveFileAt(job.names.outputPath);
        return {StoppedEnding()};
    }
    // The joined file stays after a checksum error: the user decides.
    return {crcError ? MessageEnding(IDS_JOINED_CRC_ERROR) : SuccessEnding(IDS_JOIN_SUCCEEDED),
            {job.names.outputPath}};
}

} // namespace

Prepared PrepareJoin(const OperationInputs& in, const Confirmation& confirm) {
    JoinStart start = Guarded([&] { return Prepare(in, confirm); });
    if (!start.job)
        return {start.ending};
    return {{}, [job = std::move(*start.job)](WorkProgress& ui) {
                return Guarded([&] { return Run(job, ui); });
            }};
}

WorkResult JoinFiles(OperationUi& ui) {
    const BusyScope busy(ui);
    return RunAndReport(ui, PrepareJoin(ui.ReadInputs(), [&ui](const std::string& text) {
                            return ui.Confirm(text);
                        }));
}

} // namespace zelbrin
