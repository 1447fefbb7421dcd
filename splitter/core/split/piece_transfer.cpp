#include "core/split/piece_transfer.h"

#include "core/checksum/crc32.h"
#include "core/naming/piece_names.h"
#include "core/split/keyword_scanner.h"
#include "core/string_ids.h"

#include <algorithm>
#include <optional>

namespace zelbrin {
namespace {

// The piece file being written: created when its first byte is due, removed
// again when it could not be written whole.
class PieceWriter {
  public:
    explicit PieceWriter(std::filesystem::path base) : base_(std::move(base)) {}
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;
    ~PieceWriter() { Abandon(); }

    bool IsOpen() const { return file_.IsOpen(); }
    // Every piece this run created, the one being written included.
    const std::vector<std::filesystem::path>& Files() const { return files_; }
    // The run was stopped: none of its pieces may stay.
    Ending RemoveAll() {
        file_.Close();
        RemoveWrittenFiles(files_);
        files_.clear();
        return StoppedEnding();
    }

    // Starts the next piece.
    Ending Begin() {
        ++number_;
        current_ = MakePieceName(base_, number_);
        if (!file_.Open(current_, FileAccess::ReadWrite, FileShare::None,
                        FileDisposition::CreateAlways))
            return Failed(IDS_PIECE_CREATE_FAILED);
        files_.push_back(current_);
        return {};
    }
    Ending Write(const char* data, size_t size) {
        return file_.Write(data, size) ? Ending{} : Failed(IDS_PIECE_WRITE_FAILED);
    }
    Ending Finish() { return file_.Close() ? Ending{} : Failed(IDS_PIECE_WRITE_FAILED); }

  private:
    Ending Failed(int message) const { return {message, current_, file_.LastError(), {}}; }
    // A piece that could not be written whole does not stay; those before
    // it do.
    void Abandon() {
        if (file_.IsOpen()) {
            file_.Close();
            RemoveFileAt(current_);
            files_.pop_back();
        }
    }

    std::filesystem::path base_;
    std::filesystem::path current_;
    File file_;
    uint64_t number_ = 0;
    std::vector<std::filesystem::path> files_;
};

Ending SourceFailed(const PieceSource& source, int message) {
    return {
        message, source.path, message == IDS_SOURCE_READ_FAILED ? source.file.LastError() : 0, {}};
}

// Reads exactly `size` bytes of the source; a short read means the file
// shrank while it was split.
Ending ReadSource(PieceSource& source, char* buffer, size_t size) {
    size_t got = 0;
    if (!source.file.Read(buffer, size, got))
        return SourceFailed(source, IDS_SOURCE_READ_FAILED);
    return got == size ? Ending{} : SourceFailed(source, IDS_SOURCE_CHANGED);
}

bool Failed(const Ending& ending) {
    return ending.message != 0;
}

} // namespace

PiecesResult WritePlannedPieces(WorkProgress& ui, PieceSource& source, SplitModeValue mode,
                                const PiecePlan& plan, TransferBuffers& buffers,
                                const std::filesystem::path& base, bool crcCheck) {
    const uint64_t count = PieceFileCount(mode, plan);
    ui.SetProgressRange(1, count);
    PieceWriter piece(base);
    std::optional<Crc32> checksum;
    if (crcCheck)
        checksum.emplace();
    for (uint64_t n = 1; n <= count; ++n) {
        if (Ending e = piece.Begin(); Failed(e))
            return {e};
        for (uint64_t left = PieceFileSize(mode, plan, n); left > 0;) {
            if (ui.StopRequested())
                return {piece.RemoveAll()};
            const size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, buffers.Size()));
            char* block = buffers.Data();
            if (Ending e = ReadSource(source, block, chunk); Failed(e))
                return {e};
            if (checksum)
                checksum->Update(block, chunk);
            if (Ending e = piece.Write(block, chunk); Failed(e))
                return {e};
            left -= chunk;
        }
        if (Ending e = piece.Finish(); Failed(e))
            return {e};
        ui.SetProgressPos(n);
    }
    const uint32_t crc = checksum ? checksum->Value() : 0;
    return {{}, piece.Files(), crc};
}

Ending KeywordOccurs(WorkProgress& ui, PieceSource& source, const std::string& keyword,
                     TransferBuffers& buffers, bool& found) {
    KeywordScanner scanner(keyword);
    std::vector<uint64_t> ends;
    found = false;
    while (!found) {
        if (ui.StopRequested())
            return StoppedEnding();
        char* block = buffers.Data();
        size_t got = 0;
        if (!source.file.Read(block, buffers.Size(), got))
            return SourceFailed(source, IDS_SOURCE_READ_FAILED);
        if (got == 0)
            break;
        scanner.Feed(block, got, ends);
        found = !ends.empty();
    }
    return source.file.SeekTo(0) ? Ending{} : SourceFailed(source, IDS_SOURCE_READ_FAILED);
}

PiecesResult WriteKeywordPieces(WorkProgress& ui, PieceSource& source, const std::string& keyword,
                                TransferBuffers& buffers, const std::filesystem::path& base,
                                bool crcCheck) {
    KeywordScanner scanner(keyword);
    PieceWriter piece(base);
    std::vector<uint64_t> ends;
    uint64_t offset = 0;
    std::optional<Crc32> checksum;
    if (crcCheck)
        checksum.emplace();
    const auto put = [&](const char* data, size_t n) {
        if (!piece.IsOpen())
            if (Ending e = piece.Begin(); Failed(e))
                return e;
        return piece.Write(data, n);
    };
    for (;;) {
        if (ui.StopRequested())
            return {piece.RemoveAll()};
        char* block = buffers.Data();
        size_t got = 0;
        if (!source.file.Read(block, buffers.Size(), got))
            return {SourceFailed(source, IDS_SOURCE_READ_FAILED)};
        if (got == 0)
            break;
        if (checksum)
            checksum->Update(block, got);
        ends.clear();
        scanner.Feed(block, got, ends);
        size_t pos = 0;
        for (uint64_t end : ends) {
            const size_t cut = static_cast<size_t>(end - offset);
            if (Ending e = put(block + pos, cut - pos); Failed(e))
                return {e};
            if (Ending e = piece.Finish(); Failed(e))
                return {e};
            pos = cut;
        }
        if (pos < got)
            if (Ending e = put(block + pos, got - pos); Failed(e))
                return {e};
        offset += got;
    }
    if (offset != source.size)
        return {SourceFailed(source, IDS_SOURCE_CHANGED)};
    if (piece.IsOpen())
        if (Ending e = piece.Finish(); Failed(e))
            return {e};
    const uint32_t crc = checksum ? checksum->Value() : 0;
    return {{}, piece.Files(), crc};
}

} // namespace zelbrin
