#include "core/split_engine.h"

#include "core/checksum_file.h"
#include "core/checksum_worker.h"
#include "core/crc32.h"
#include "core/file_io.h"
#include "core/join_batch.h"
#include "core/message_ids.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <new>

uint64_t PiecesWritten = 0;

std::optional<PiecePlan> PlanByPieces(uint64_t fileSize, uint64_t pieces) {
    if (pieces == 0)
        return std::nullopt;
    return PiecePlan{pieces, fileSize / pieces, fileSize % pieces};
}

std::optional<PiecePlan> PlanBySize(uint64_t fileSize, uint64_t bytesPerPiece) {
    if (bytesPerPiece == 0 || bytesPerPiece >= fileSize)
        return std::nullopt;
    return PiecePlan{fileSize / bytesPerPiece, bytesPerPiece, fileSize % bytesPerPiece};
}

uint64_t PieceFileCount(SplitModeValue mode, const PiecePlan& plan) {
    if (mode == BySize && plan.remainder != 0)
        return plan.pieceCount + 1;
    return plan.pieceCount;
}

uint64_t PieceFileSize(SplitModeValue mode, const PiecePlan& plan, uint64_t n) {
    if (mode == ByPieces)
        return n == plan.pieceCount ? plan.pieceSize + plan.remainder : plan.pieceSize;
    return n > plan.pieceCount ? plan.remainder : plan.pieceSize;
}

std::optional<uint64_t> ReadDialogNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

std::optional<uint64_t> SizeValueInBytes(const std::string& text, SizeUnit unit) {
    const auto value = ReadDialogNumber(text);
    if (!value)
        return std::nullopt;
    const unsigned shift = unit == SizeUnit::MBs ? 20 : unit == SizeUnit::KBs ? 10 : 0;
    if (*value > (std::numeric_limits<uint64_t>::max() >> shift))
        return std::nullopt;
    return *value << shift;
}

bool IsAllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ReplaceLastDot(std::string name) {
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name[dot] = '_';
    return name;
}

std::filesystem::path MakePieceBase(const std::filesystem::path& source,
                                    const std::filesystem::path& target) {
    return target / PathFromUtf8(ReplaceLastDot(PathToUtf8(source.filename())));
}

std::filesystem::path MakePieceName(const std::filesystem::path& base, uint64_t number) {
    std::filesystem::path name = base;
    name += ".";
    name += std::to_string(number);
    return name;
}

std::string ConfirmSplitText(SplitModeValue mode, const PiecePlan& plan) {
    const auto n = [](uint64_t v) { return std::to_string(v); };
    if (mode == BySize)
        return "File will be split into " + n(PieceFileCount(mode, plan)) +
               " pieces\nShall I continue ?";
    if (plan.remainder == 0)
        return "File will be split into " + n(plan.pieceCount) + " pieces of size " +
               n(plan.pieceSize) + " bytes\nShall I continue ?";
    return "File will be split into " + n(plan.pieceCount - 1) + " pieces of size " +
           n(plan.pieceSize) + " bytes and 1 piece of size " + n(plan.pieceSize + plan.remainder) +
           " bytes\nShall I continue ?";
}

KeywordScanner::KeywordScanner(std::string keyword) : keyword_(std::move(keyword)) {}

void KeywordScanner::Feed(const char* data, size_t size, std::vector<uint64_t>& ends) {
    const size_t k = keyword_.size();
    if (k == 0 || size == 0) {
        consumed_ += size;
        return;
    }
    // The unmatched tail of earlier bytes goes in front, so that an
    // occurrence spanning two blocks is found.
    scratch_.resize(tailSize_ + size);
    std::memcpy(scratch_.data() + tailSize_, data, size);
    const uint64_t scratchStart = consumed_ - tailSize_;
    const char* first = scratch_.data();
    const char* last = first + scratch_.size();
    const std::boyer_moore_horspool_searcher searcher(keyword_.begin(), keyword_.end());
    const char* from = first;
    while (true) {
        const char* hit = std::search(from, last, searcher);
        if (hit == last)
            break;
        from = hit + k;
        ends.push_back(scratchStart + static_cast<uint64_t>(from - first));
    }
    // Keep at most k - 1 bytes that no occurrence has used, for the next block.
    const size_t available = static_cast<size_t>(last - from);
    const size_t keep = std::min(available, k - 1);
    std::memmove(scratch_.data(), last - keep, keep);
    tailSize_ = keep;
    scratch_.resize(keep);
    consumed_ += size;
}

namespace {

struct SplitOutcome {
    SplitOutcome(int message = 0, std::optional<FocusTarget> focus = std::nullopt)
        : message(message), focus(focus) {}
    int message; // 0: end without a message
    std::optional<FocusTarget> focus;
};

// The piece file being written: created when its first byte is due, removed
// again when it could not be written whole.
class PieceWriter {
public:
    explicit PieceWriter(std::filesystem::path base) : base_(std::move(base)) {}
    ~PieceWriter() { Abandon(); }

    uint64_t Number() const { return number_; }
    bool IsOpen() const { return file_.IsOpen(); }

    // Starts the next piece; on failure the message to show.
    int Begin() {
        ++number_;
        current_ = MakePieceName(base_, number_);
        if (!file_.Open(current_, FileAccess::ReadWrite, FileShare::None,
                        FileDisposition::CreateAlways))
            return MsgPieceCreateFailed;
        return 0;
    }
    int Write(const char* data, size_t size) {
        return file_.Write(data, size) ? 0 : MsgPieceWriteFailed;
    }
    int Finish() { return file_.Close() ? 0 : MsgPieceWriteFailed; }
    void Abandon() {
        if (file_.IsOpen()) {
            file_.Close();
            RemoveFileAt(current_);
        }
    }

private:
    std::filesystem::path base_;
    std::filesystem::path current_;
    File file_;
    uint64_t number_ = 0;
};

// The transfer buffer; with the checksum on, two that take turns, so the
// worker can checksum one block while the next is read into the other.
class TransferBuffers {
public:
    TransferBuffers(size_t size, bool twoOfThem)
        : first_(size), second_(twoOfThem ? size : 0) {}
    size_t Size() const { return first_.size(); }
    char* Next() {
        useSecond_ = !second_.empty() && !useSecond_;
        return useSecond_ ? second_.data() : first_.data();
    }

private:
    std::vector<char> first_, second_;
    bool useSecond_ = true;
};

// Reads exactly `size` bytes of the source; a short read means the file
// shrank while it was split.
int ReadSource(File& source, char* buffer, size_t size) {
    size_t got = 0;
    if (!source.Read(buffer, size, got))
        return MsgSourceReadFailed;
    return got == size ? 0 : MsgSourceChanged;
}

int WritePlannedPieces(OperationUi& ui, File& source, SplitModeValue mode, const PiecePlan& plan,
                       TransferBuffers& buffers, const std::filesystem::path& base,
                       bool crcCheck) {
    const uint64_t count = PieceFileCount(mode, plan);
    ui.SetProgressRange(1, count);
    PieceWriter piece(base);
    std::optional<ChecksumWorker> checksum;
    if (crcCheck)
        checksum.emplace();
    for (uint64_t n = 1; n <= count; ++n) {
        if (int failure = piece.Begin())
            return failure;
        for (uint64_t left = PieceFileSize(mode, plan, n); left > 0;) {
            const size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, buffers.Size()));
            char* block = buffers.Next();
            if (int failure = ReadSource(source, block, chunk))
                return failure;
            if (checksum)
                checksum->Feed(block, chunk);
            if (int failure = piece.Write(block, chunk))
                return failure;
            left -= chunk;
        }
        if (int failure = piece.Finish())
            return failure;
        ui.SetProgressPos(n);
    }
    if (checksum)
        checksum->Finish();
    PiecesWritten = count;
    return 0;
}

// First pass: is there any occurrence at all? Nothing is written before
// that is known.
int KeywordOccurs(File& source, const std::string& keyword, TransferBuffers& buffers,
                  bool& found) {
    KeywordScanner scanner(keyword);
    std::vector<uint64_t> ends;
    found = false;
    while (!found) {
        char* block = buffers.Next();
        size_t got = 0;
        if (!source.Read(block, buffers.Size(), got))
            return MsgSourceReadFailed;
        if (got == 0)
            break;
        scanner.Feed(block, got, ends);
        found = !ends.empty();
    }
    return source.SeekTo(0) ? 0 : MsgSourceReadFailed;
}

int WriteKeywordPieces(File& source, uint64_t size, const std::string& keyword,
                       TransferBuffers& buffers, const std::filesystem::path& base,
                       bool crcCheck) {
    KeywordScanner scanner(keyword);
    PieceWriter piece(base);
    std::vector<uint64_t> ends;
    uint64_t offset = 0;
    std::optional<ChecksumWorker> checksum;
    if (crcCheck)
        checksum.emplace();
    // A piece is created only when it has a byte to hold, so no piece is
    // empty and a file ending with the keyword ends with the piece holding it.
    const auto put = [&](const char* data, size_t n) {
        if (!piece.IsOpen())
            if (int failure = piece.Begin())
                return failure;
        return piece.Write(data, n);
    };
    while (true) {
        char* block = buffers.Next();
        size_t got = 0;
        if (!source.Read(block, buffers.Size(), got))
            return MsgSourceReadFailed;
        if (got == 0)
            break;
        if (checksum)
            checksum->Feed(block, got);
        ends.clear();
        scanner.Feed(block, got, ends);
        size_t pos = 0;
        for (uint64_t end : ends) {
            const size_t cut = static_cast<size_t>(end - offset);
            if (int failure = put(block + pos, cut - pos))
                return failure;
            if (int failure = piece.Finish())
                return failure;
            pos = cut;
        }
        if (pos < got)
            if (int failure = put(block + pos, got - pos))
                return failure;
        offset += got;
    }
    if (offset != size)
        return MsgSourceChanged;
    if (piece.IsOpen())
        if (int failure = piece.Finish())
            return failure;
    if (checksum)
        checksum->Finish();
    PiecesWritten = piece.Number();
    return 0;
}

SplitOutcome RunSplit(OperationUi& ui) {
    const OperationInputs in = ui.ReadInputs();
    if (in.source.empty())
        return {MsgNoSourceFile, FocusTarget::SourceButton};
    if (in.target.empty())
        return {MsgNoTargetDirectory, FocusTarget::TargetButton};
    if (in.value.empty())
        return {MsgNoValue, FocusTarget::ValueEdit};
    const std::filesystem::path base = MakePieceBase(in.source, in.target);

    File source;
    if (!source.Open(in.source, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return {};
    const std::optional<uint64_t> size = source.Size();
    if (!size)
        return {MsgSourceReadFailed};
    if (*size == 0)
        return {MsgZeroLengthFile};
    const std::optional<uint64_t> freeBytes = FreeBytesInFolder(in.target);
    if (!freeBytes || *freeBytes < *size)
        return {MsgNotEnoughFreeSpace};

    const auto mode = static_cast<SplitModeValue>(in.splitMode);
    std::optional<TransferBuffers> buffers;
    int failure = 0;
    if (mode == ByKeyword) {
        buffers.emplace(TransferChunk, in.crcCheck);
        bool found = false;
        if ((failure = KeywordOccurs(source, in.value, *buffers, found)))
            return {failure};
        if (!found)
            return {};
        failure = WriteKeywordPieces(source, *size, in.value, *buffers, base, in.crcCheck);
    } else {
        std::optional<PiecePlan> plan;
        if (mode == ByPieces) {
            if (!IsAllDigits(in.value))
                return {MsgOnlyNumbers, FocusTarget::ValueEdit};
            const auto pieces = ReadDialogNumber(in.value);
            plan = pieces ? PlanByPieces(*size, *pieces) : std::nullopt;
        } else {
            const auto bytes = SizeValueInBytes(in.value, in.unit);
            plan = bytes ? PlanBySize(*size, *bytes) : std::nullopt;
        }
        if (!plan)
            return {};
        uint64_t largest = 0;
        for (uint64_t n : {uint64_t{1}, PieceFileCount(mode, *plan)})
            largest = std::max(largest, PieceFileSize(mode, *plan, n));
        buffers.emplace(static_cast<size_t>(std::clamp<uint64_t>(largest, 1, TransferChunk)),
                        in.crcCheck);
        if (!ui.Confirm(ConfirmSplitText(mode, *plan)))
            return {};
        failure = WritePlannedPieces(ui, source, mode, *plan, *buffers, base, in.crcCheck);
    }
    if (failure)
        return {failure};
    source.Close();

    if (in.crcCheck && !WriteChecksumFile(base))
        return {MsgChecksumFileFailed};
    if (ui.BatchFileWanted() &&
        !WriteJoinBatch(in.target, PathToUtf8(in.source.filename()), PiecesWritten))
        return {MsgBatchFileFailed};
    return {MsgSplitSucceeded};
}

} // namespace

void SplitFile(OperationUi& ui) {
    BusyScope busy(ui);
    SplitOutcome outcome;
    try {
        outcome = RunSplit(ui);
    } catch (const std::bad_alloc&) {
        outcome = {MsgLowOnMemory};
    }
    if (outcome.message != 0)
        ui.ShowMessage(outcome.message);
    if (outcome.focus)
        ui.MoveFocus(*outcome.focus);
}
