#include "core/records/record_cache.h"

#include "core/records/text_codec.h"

#include <array>
#include <cstring>

namespace ombriel {
namespace {

constexpr std::string_view kMagic = "OMBRCACH";
constexpr size_t kHeaderSize = 8 + 4;
constexpr size_t kTrailerSize = 8 + 4;
constexpr size_t kFrameSize = kHeaderSize + kTrailerSize;
// The least a record takes: three empty texts, size, time and number.
constexpr size_t kLeastRecordBytes = 3 * 4 + 8 + 8 + 4;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}
void PutU64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}
void PutText(std::string& out, std::string_view text) {
    PutU32(out, uint32_t(text.size()));
    out.append(text);
}

uint32_t CrcUpdate(uint32_t c, std::string_view bytes) {
    for (char b : bytes)
        c = kCrcTable[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c;
}

// The cache's frame around a payload that is handed on as it is encoded:
// the header first, the payload in pieces of about kPieceBytes, then its
// length and checksum.
class PieceWriter {
  public:
    explicit PieceWriter(const std::function<bool(std::string_view)>& put) : put_(put) {
        buffer_.reserve(kPieceBytes + 4096);
    }
    void Start() {
        buffer_.assign(kMagic);
        PutU32(buffer_, kRecordCacheVersion);
        payloadFrom_ = buffer_.size();
    }
    std::string& Buffer() { return buffer_; }
    // Hands the buffer on once it holds a piece's worth (or whatever it
    // holds, when all); false once a put refused.
    bool Flush(bool all) {
        if (!ok_ || (!all && buffer_.size() < kPieceBytes))
            return ok_;
        const std::string_view payload = std::string_view(buffer_).substr(payloadFrom_);
        crc_ = CrcUpdate(crc_, payload);
        length_ += payload.size();
        ok_ = put_(buffer_);
        buffer_.clear();
        payloadFrom_ = 0;
        return ok_;
    }
    void Finish() {
        if (!Flush(true))
            return;
        PutU64(buffer_, length_);
        PutU32(buffer_, crc_ ^ 0xFFFFFFFFu);
        ok_ = put_(buffer_);
    }

  private:
    static constexpr size_t kPieceBytes = 64 * 1024;
    const std::function<bool(std::string_view)>& put_;
    std::string buffer_;
    size_t payloadFrom_ = 0;
    uint64_t length_ = 0;
    uint32_t crc_ = 0xFFFFFFFFu;
    bool ok_ = true;
};

// Reads the payload front to back; any read past its end makes it fail.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    size_t Left() const { return bytes_.size() - pos_; }
    uint64_t U64() { return Take(8); }
    uint32_t U32() { return uint32_t(Take(4)); }
    std::string Text() {
        const uint32_t n = U32();
        if (!ok_ || n > Left()) {
            ok_ = false;
            return {};
        }
        std::string text(bytes_.substr(pos_, n));
        pos_ += n;
        return text;
    }

  private:
    uint64_t Take(size_t n) {
        if (!ok_ || n > Left()) {
            ok_ = false;
            return 0;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i)
            v |= uint64_t(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += n;
        return v;
    }
    std::string_view bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

bool WellFormed(const std::string& text) {
    return SanitizeUtf8(text) == text;
}

uint64_t Fnv1a(std::string_view bytes) {
    uint64_t h = 14695981039346656037ull;
    for (char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

uint32_t Crc32(std::string_view bytes) {
    return CrcUpdate(0xFFFFFFFFu, bytes) ^ 0xFFFFFFFFu;
}

void EncodeRecordCache(const RecordCache& cache, const std::vector<StoredRecord>& records,
                       const std::function<bool(std::string_view)>& put) {
    PieceWriter out(put);
    out.Start();
    PutU64(out.Buffer(), uint64_t(cache.takenAt));
    PutText(out.Buffer(), cache.registerPath);
    PutText(out.Buffer(), cache.orderProbe);
    uint32_t count = 0;
    for (const StoredRecord& r : records)
        count += r.settled ? 1 : 0;
    PutU32(out.Buffer(), count);
    for (const StoredRecord& r : records) {
        if (!r.settled)
            continue;
        std::string& b = out.Buffer();
        PutText(b, r.fileName);
        PutU64(b, r.size);
        PutU64(b, uint64_t(r.writeTime));
        PutU32(b, r.error);
        PutText(b, r.fields.target);
        PutText(b, r.fields.description);
        if (!out.Flush(false))
            return;
    }
    out.Finish();
}

std::string EncodeRecordCache(const RecordCache& cache, const std::vector<StoredRecord>& records) {
    std::string bytes;
    EncodeRecordCache(cache, records, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

bool DecodeRecordCache(std::string_view bytes, RecordCache& cache) {
    cache = RecordCache{};
    if (bytes.size() < kFrameSize || bytes.substr(0, kMagic.size()) != kMagic)
        return false;
    Reader head(bytes.substr(kMagic.size(), 4));
    Reader tail(bytes.substr(bytes.size() - kTrailerSize));
    const uint32_t version = head.U32();
    const uint64_t length = tail.U64();
    const uint32_t crc = tail.U32();
    const std::string_view payload = bytes.substr(kHeaderSize, bytes.size() - kFrameSize);
    if (version != kRecordCacheVersion || length != payload.size() || Crc32(payload) != crc)
        return false;

    Reader in(payload);
    RecordCache read;
    read.takenAt = int64_t(in.U64());
    read.registerPath = in.Text();
    read.orderProbe = in.Text();
    const uint32_t count = in.U32();
    // A count the payload cannot hold is damage, not a reason to reserve.
    if (!in.Ok() || count > in.Left() / kLeastRecordBytes)
        return false;
    read.records.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        StoredRecord r;
        r.fileName = in.Text();
        r.size = in.U64();
        r.writeTime = int64_t(in.U64());
        r.error = in.U32();
        r.fields.target = in.Text();
        r.fields.description = in.Text();
        if (!in.Ok() || !WellFormed(r.fileName) || !WellFormed(r.fields.target) ||
            !WellFormed(r.fields.description))
            return false;
        r.settled = true;
        read.records.push_back(std::move(r));
    }
    if (in.Left() != 0 || !WellFormed(read.registerPath))
        return false;
    cache = std::move(read);
    return true;
}

std::filesystem::path RecordCacheFile(const std::filesystem::path& cacheFolder,
                                      std::string_view docFolderUtf8) {
    // The same folder may be written with other capitals or separators.
    std::string folded(docFolderUtf8);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
        if (c == '/')
            c = '\\';
    }
    char name[32];
    static const char kHex[] = "0123456789abcdef";
    uint64_t h = Fnv1a(folded);
    for (int i = 15; i >= 0; --i, h >>= 4)
        name[i] = kHex[h & 0xF];
    std::memcpy(name + 16, ".cache", 7);
    return cacheFolder / name;
}

} // namespace ombriel
