#include "core/join_engine.h"

#include "core/checksum_file.h"
#include "core/file_io.h"
#include "core/join_confirmation.h"
#include "core/join_names.h"
#include "core/message_ids.h"
#include "core/piece_count.h"

#include <memory>
#include <new>

namespace fs = std::filesystem;

namespace {
struct Ending {
    int message = 0; // string id to show, 0 for none
    bool moveFocus = false;
    FocusTarget focus = FocusTarget::SourceButton;
};

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
    // Closes and removes the incomplete file; false if it stays behind.
    bool Discard() {
        file_.Close();
        created_ = false;
        return RemoveFileAt(path_);
    }

private:
    fs::path path_;
    File file_;
    bool created_ = false;
};

// Copies pieces 1..count in order through one block; returns 0 or the id
// of the failure.
int CopyPieces(OperationUi& ui, const JoinNames& names, const PieceSet& set, JoinOutput& out,
               char* block) {
    ui.SetProgressRange(1, set.count);
    uint64_t copied = 0;
    for (uint64_t n = 1; n <= set.count; ++n) {
        ui.SetProgressPos(n);
        File piece;
        if (!piece.Open(names.PiecePath(n), FileAccess::Read, FileShare::Read,
                        FileDisposition::OpenExisting))
            return MsgPieceOpenFailed;
        for (;;) {
            size_t got = 0;
            if (!piece.Read(block, kJoinCopyBlock, got))
                return MsgPieceReadFailed;
            if (got > 0 && !out.Write(block, got))
                return MsgOutputWriteFailed;
            copied += got;
            if (got < kJoinCopyBlock) // Read stops short only at the end of the piece
                break;
        }
    }
    // The user agreed to a file of the counted size; a piece that grew or
    // shrank since would make it another file.
    return copied == set.totalBytes ? 0 : MsgPieceSetChanged;
}

Ending RunJoin(OperationUi& ui) {
    const OperationInputs in = ui.ReadInputs();
    if (in.source.empty())
        return {MsgNoSourceFile, true, FocusTarget::SourceButton};
    if (in.target.empty())
        return {MsgNoTargetDirectory, true, FocusTarget::TargetButton};

    const auto names = DeriveJoinNames(in.source, in.target);
    if (!names)
        return {MsgNotFirstPiece};

    const PieceSet set = CountPieces(*names, FileSizeAt);
    // Without its first piece there is no set to join: an empty file
    // reported as joined would be a wrong result.
    if (set.count == 0)
        return {MsgFirstPieceMissing};

    if (!ui.Confirm(
            FormatJoinConfirmation(set.count, PathToUtf8(names->outputName), set.totalBytes)))
        return {};

    const std::unique_ptr<char[]> block(new (std::nothrow) char[kJoinCopyBlock]);
    if (!block)
        return {MsgLowOnMemory};

    JoinOutput out(names->outputPath);
    if (!out.Create())
        return {MsgOutputCreateFailed};
    int failure = CopyPieces(ui, *names, set, out, block.get());
    if (failure == 0 && !out.Finish())
        failure = MsgOutputWriteFailed;
    if (failure != 0)
        return {out.Discard() ? failure : MsgJoinedNotRemoved};

    // The check reads the closed file back from disk, so it vouches for what
    // was stored, not for what was handed to the system. The checksum file
    // lies beside the pieces, never in the target folder; a damaged one
    // (too short to hold a checksum) must not pass as success.
    const bool crcError =
        JoinedFileHasCrcError(SystemPath(names->checksumPath), SystemPath(names->outputPath));
    return {crcError ? MsgJoinedCrcError : MsgJoinSucceeded};
}
} // namespace

void JoinFiles(OperationUi& ui) {
    const BusyScope busy(ui);
    Ending end;
    try {
        end = RunJoin(ui);
    } catch (const std::bad_alloc&) {
        end = {MsgLowOnMemory};
    }
    if (end.message != 0)
        ui.ShowMessage(end.message);
    if (end.moveFocus)
        ui.MoveFocus(end.focus);
}
