#include "core/split/split_engine.h"

#include "core/checksum/checksum_file.h"
#include "core/files/file_io.h"
#include "core/guarded_half.h"
#include "core/naming/piece_names.h"
#include "core/split/piece_transfer.h"
#include "core/split/split_plan.h"
#include "core/string_ids.h"
#include "support/text.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <optional>

namespace zelbrin {
namespace {

// What the work's half needs: the open source and what was planned for it.
struct SplitJob {
    OperationInputs in;
    std::optional<BatchTemplates> batch;
    File file;
    uint64_t size = 0;
    std::filesystem::path base;
    std::optional<PiecePlan> plan; // none for the keyword method
};

// The dialog's half ends in a job, or in an ending to show at once.
struct SplitStart {
    Ending ending;
    std::shared_ptr<SplitJob> job = {};
};

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

SplitStart Prepare(const OperationInputs& in, const std::optional<BatchTemplates>& batch,
                   const Confirmation& confirm) {
    if (in.source.empty())
        return {FocusedEnding(IDS_NO_SOURCE_FILE, FocusTarget::SourceButton)};
    if (in.target.empty())
        return {FocusedEnding(IDS_NO_TARGET_DIRECTORY, FocusTarget::TargetButton)};
    if (in.value.empty())
        return {FocusedEnding(IDS_NO_VALUE, FocusTarget::ValueEdit)};

    auto job = std::make_shared<SplitJob>();
    job->in = in;
    job->batch = batch;
    job->base = MakePieceBase(in.source, in.target);
    // A source that cannot be opened is said so: a split that ends in
    // silence looks to the user as if the button had not been pressed.
    if (!job->file.Open(in.source, FileAccess::Read, FileShare::Read,
                        FileDisposition::OpenExisting))
        return {FailureEnding(IDS_SOURCE_OPEN_FAILED, in.source, job->file.LastError())};
    const std::optional<uint64_t> size = job->file.Size();
    if (!size)
        return {FailureEnding(IDS_SOURCE_READ_FAILED, in.source, job->file.LastError())};
    if (*size == 0)
        return {MessageEnding(IDS_ZERO_LENGTH_FILE)};
    const std::optional<uint64_t> freeBytes = FreeBytesInFolder(in.target);
    if (!freeBytes || *freeBytes < *size)
        return {MessageEnding(IDS_NOT_ENOUGH_FREE_SPACE)};
    job->size = *size;

    const auto mode = static_cast<SplitModeValue>(in.splitMode);
    if (mode == ByKeyword)
        return {{}, std::move(job)};
    if (mode == ByPieces && !IsAllDigits(in.value))
        return {FocusedEnding(IDS_ONLY_NUMBERS, FocusTarget::ValueEdit)};
    job->plan = PlanFor(in, *size);
    if (!job->plan || !confirm(ConfirmSplitText(mode, *job->plan)))
        return {};
    return {{}, std::move(job)};
}

// Writes the pieces by the method the dialog chose; a result with no
// message and no pieces means the split ends quietly (no keyword found).
PiecesResult WritePieces(WorkProgress& ui, SplitJob& job, PieceSource& source) {
    const OperationInputs& in = job.in;
    const auto mode = static_cast<SplitModeValue>(in.splitMode);
    if (mode == ByKeyword) {
        TransferBuffers buffers(TransferChunk);
        bool found = false;
        if (Ending e = KeywordOccurs(ui, source, in.value, buffers, found);
            e.message || e.stopped || !found)
            return {e};
        return WriteKeywordPieces(ui, source, in.value, buffers, job.base, in.crcCheck);
    }
    TransferBuffers buffers = BuffersFor(mode, *job.plan);
    return WritePlannedPieces(ui, source, mode, *job.plan, buffers, job.base, in.crcCheck);
}

// After the pieces: the checksum file and JOIN.BAT when asked, then success.
// `files` collects what the split wrote, so a stop can take it all back.
Ending Complete(WorkProgress& ui, const SplitJob& job, uint32_t crc,
                std::vector<std::filesystem::path>& files) {
    const OperationInputs& in = job.in;
    if (in.crcCheck) {
        if (ui.StopRequested())
            return StoppedEnding();
        if (int error = WriteChecksumFile(job.base, crc))
            return FailureEnding(IDS_CHECKSUM_FILE_FAILED, ChecksumPath(job.base), error);
        files.push_back(ChecksumPath(job.base));
    }
    if (job.batch) {
        if (ui.StopRequested())
            return StoppedEnding();
        const std::string name = support::Utf8FromPath(in.source.filename());
        const uint64_t pieces = files.size() - (in.crcCheck ? 1 : 0);
        if (int error = WriteJoinBatch(*job.batch, in.target, name, pieces))
            return FailureEnding(IDS_BATCH_FILE_FAILED, BatchPath(in.target), error);
        files.push_back(BatchPath(in.target));
    }
    return SuccessEnding(IDS_SPLIT_SUCCEEDED);
}

SplitResult Run(SplitJob& job, WorkProgress& ui) {
    PieceSource source{job.file, job.in.source, job.size};
    PiecesResult written = WritePieces(ui, job, source);
    if (written.failure.message != 0 || written.failure.stopped || written.files.empty())
        return {written.failure};
    job.file.Close();
    const uint64_t pieces = written.files.size();
    const Ending done = Complete(ui, job, written.crc, written.files);
    if (done.stopped)
        RemoveWrittenFiles(written.files);
    if (!done.succeeded)
        return {done};
    return {done, pieces, std::move(written.files)};
}

SplitResult GuardedRun(SplitJob& job, WorkProgress& ui) {
    return Guarded([&] { return Run(job, ui); });
}

SplitStart GuardedPrepare(const OperationInputs& in, const std::optional<BatchTemplates>& batch,
                          const Confirmation& confirm) {
    return Guarded([&] { return Prepare(in, batch, confirm); });
}

} // namespace

BatchTemplates LoadBatchTemplates(OperationUi& ui) {
    return {ui.Text(IDS_BATCH_HEADER), ui.Text(IDS_BATCH_FIRST), ui.Text(IDS_BATCH_NEXT),
            ui.Text(IDS_BATCH_FOOTER)};
}

Prepared PrepareSplit(const OperationInputs& in, const std::optional<BatchTemplates>& batch,
                      const Confirmation& confirm) {
    SplitStart start = GuardedPrepare(in, batch, confirm);
    if (!start.job)
        return {start.ending};
    return {{}, [job = std::move(start.job)](WorkProgress& ui) {
                SplitResult result = GuardedRun(*job, ui);
                return WorkResult{result.ending, std::move(result.files)};
            }};
}

SplitResult SplitFile(OperationUi& ui) {
    const BusyScope busy(ui);
    const OperationInputs in = ui.ReadInputs();
    std::optional<BatchTemplates> batch;
    if (ui.BatchFileWanted())
        batch = LoadBatchTemplates(ui);
    SplitStart start =
        GuardedPrepare(in, batch, [&ui](const std::string& text) { return ui.Confirm(text); });
    SplitResult result{start.ending};
    if (start.job)
        result = GuardedRun(*start.job, ui);
    ReportEnding(ui, result.ending);
    return result;
}

} // namespace zelbrin
