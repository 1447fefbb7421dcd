#include "core/split/split_engine.h"

#include "core/checksum/checksum_file.h"
#include "core/files/file_io.h"
#include "core/naming/piece_names.h"
#include "core/split/join_batch.h"
#include "core/split/piece_transfer.h"
#include "core/split/split_plan.h"
#include "core/string_ids.h"
#include "support/text.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>

namespace zelbrin {
namespace {

Ending Focused(int message, FocusTarget focus) {
    return {message, {}, 0, focus};
}
Ending Message(int message) {
    return {message, {}, 0, {}};
}

// The plan of the piece-count or size-per-piece method, or nothing when the
// value gives none (which ends the split without a message).
std::optional<PiecePlan> PlanFor(const OperationInputs& in, uint64_t size) {
    if (in.splitMode == ByPieces) {
        const auto pieces = ReadDialogNumber(in.value);
        return pieces ? PlanByPieces(size, *pieces) : std::nullopt;
    }
    const auto bytes = SizeValueInBytes(in.value, in.unit);
    return bytes ? PlanBySize(size, *bytes) : std::nullopt;
}

// The buffer is sized from the largest piece, so a read never runs past it.
TransferBuffers BuffersFor(SplitModeValue mode, const PiecePlan& plan) {
    uint64_t largest = 0;
    for (uint64_t n : {uint64_t{1}, PieceFileCount(mode, plan)})
        largest = std::max(largest, PieceFileSize(mode, plan, n));
    return TransferBuffers(static_cast<size_t>(std::clamp<uint64_t>(largest, 1, TransferChunk)));
}

// Writes the pieces by the method the dialog chose; a result with no
// message and no pieces means the split ends quietly (no keyword found, no
// plan, a No to the question).
PiecesResult WritePieces(OperationUi& ui, const OperationInputs& in, PieceSource& source,
                         const std::filesystem::path& base) {
    const auto mode = static_cast<SplitModeValue>(in.splitMode);
    if (mode == ByKeyword) {
        TransferBuffers buffers(TransferChunk);
        bool found = false;
        if (Ending e = KeywordOccurs(ui, source, in.value, buffers, found);
            e.message || e.stopped || !found)
            return {e};
        return WriteKeywordPieces(ui, source, in.value, buffers, base, in.crcCheck);
    }
    if (mode == ByPieces && !IsAllDigits(in.value))
        return {Focused(IDS_ONLY_NUMBERS, FocusTarget::ValueEdit)};
    const std::optional<PiecePlan> plan = PlanFor(in, source.size);
    if (!plan)
        return {};
    TransferBuffers buffers = BuffersFor(mode, *plan);
    if (!ui.Confirm(ConfirmSplitText(mode, *plan)))
        return {};
    return WritePlannedPieces(ui, source, mode, *plan, buffers, base, in.crcCheck);
}

BatchTemplates LoadBatchTemplates(OperationUi& ui) {
    return {ui.Text(IDS_BATCH_HEADER), ui.Text(IDS_BATCH_FIRST), ui.Text(IDS_BATCH_NEXT),
            ui.Text(IDS_BATCH_FOOTER)};
}

// After the pieces: the checksum file and JOIN.BAT when asked, then success.
// `files` collects what the split wrote, so a stop can take it all back.
Ending Complete(OperationUi& ui, const OperationInputs& in, const std::filesystem::path& base,
                uint32_t crc, std::vector<std::filesystem::path>& files) {
    if (in.crcCheck) {
        if (ui.StopRequested())
            return StoppedEnding();
        if (int error = WriteChecksumFile(base, crc))
            return {IDS_CHECKSUM_FILE_FAILED, ChecksumPath(base), error, {}};
        files.push_back(ChecksumPath(base));
    }
    if (ui.BatchFileWanted()) {
        if (ui.StopRequested())
            return StoppedEnding();
        const std::string name = support::Utf8FromPath(in.source.filename());
        const uint64_t pieces = files.size() - (in.crcCheck ? 1 : 0);
        if (int error = WriteJoinBatch(LoadBatchTemplates(ui), in.target, name, pieces))
            return {IDS_BATCH_FILE_FAILED, BatchPath(in.target), error, {}};
        files.push_back(BatchPath(in.target));
    }
    return Message(IDS_SPLIT_SUCCEEDED);
}

SplitResult RunSplit(OperationUi& ui) {
    const OperationInputs in = ui.ReadInputs();
    if (in.source.empty())
        return {Focused(IDS_NO_SOURCE_FILE, FocusTarget::SourceButton)};
    if (in.target.empty())
        return {Focused(IDS_NO_TARGET_DIRECTORY, FocusTarget::TargetButton)};
    if (in.value.empty())
        return {Focused(IDS_NO_VALUE, FocusTarget::ValueEdit)};
    const std::filesystem::path base = MakePieceBase(in.source, in.target);

    File file;
    if (!file.Open(in.source, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return {};
    const std::optional<uint64_t> size = file.Size();
    if (!size)
        return {{IDS_SOURCE_READ_FAILED, in.source, file.LastError(), {}}};
    if (*size == 0)
        return {Message(IDS_ZERO_LENGTH_FILE)};
    const std::optional<uint64_t> freeBytes = FreeBytesInFolder(in.target);
    if (!freeBytes || *freeBytes < *size)
        return {Message(IDS_NOT_ENOUGH_FREE_SPACE)};

    PieceSource source{file, in.source, *size};
    PiecesResult written = WritePieces(ui, in, source, base);
    if (written.failure.message != 0 || written.failure.stopped || written.files.empty())
        return {written.failure};
    file.Close();
    const uint64_t pieces = written.files.size();
    const Ending done = Complete(ui, in, base, written.crc, written.files);
    if (done.stopped)
        RemoveWrittenFiles(written.files);
    if (done.message != IDS_SPLIT_SUCCEEDED)
        return {done};
    return {done, pieces, std::move(written.files)};
}

} // namespace

SplitResult SplitFile(OperationUi& ui) {
    BusyScope busy(ui);
    SplitResult result;
    try {
        result = RunSplit(ui);
    } catch (const std::bad_alloc&) {
        result = {Message(IDS_LOW_ON_MEMORY)};
    } catch (const std::exception&) {
        // Whatever else failed: the split ends, never with success.
        result = {Message(IDS_API_FAILURE)};
    }
    if (EndOperation(ui, result.ending, result.files))
        result = {StoppedEnding()};
    return result;
}

} // namespace zelbrin
