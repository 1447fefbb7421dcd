#include "core/records/record_cache.h"

#include "core/records/text_codec.h"

#include <array>
#include <cstring>

namespace ombriel {
namespace {

constexpr std::string_view kMagic = "OMBRCACH";
constexpr size_t kHeaderSize = 8 + 4 + 8 + 4;
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
    uint32_t c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = kCrcTable[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string EncodeRecordCache(const RecordCache& cache, const std::vector<StoredRecord>& records) {
    // One buffer: the header's room first, filled in once the payload is
    // written, so a register's records are never held encoded twice.
    std::string out;
    size_t estimate = kHeaderSize + 64 + cache.registerPath.size() + cache.orderProbe.size();
    uint32_t count = 0;
    for (const StoredRecord& r : records) {
        count += r.settled ? 1 : 0;
        estimate += kLeastRecordBytes + r.fileName.size() + r.fields.target.size() +
                    r.fields.description.size();
    }
    out.reserve(estimate);
    out.append(kHeaderSize, '\0');
    PutU64(out, uint64_t(cache.takenAt));
    PutText(out, cache.registerPath);
    PutText(out, cache.orderProbe);
    PutU32(out, count);
    for (const StoredRecord& r : records) {
        if (!r.settled)
            continue;
        PutText(out, r.fileName);
        PutU64(out, r.size);
        PutU64(out, uint64_t(r.writeTime));
        PutU32(out, r.error);
        PutText(out, r.fields.target);
        PutText(out, r.fields.description);
    }
    const std::string_view payload = std::string_view(out).substr(kHeaderSize);
    std::string header(kMagic);
    PutU32(header, kRecordCacheVersion);
    PutU64(header, payload.size());
    PutU32(header, Crc32(payload));
    out.replace(0, kHeaderSize, header);
    return out;
}

bool DecodeRecordCache(std::string_view bytes, RecordCache& cache) {
    cache = RecordCache{};
    if (bytes.size() < kHeaderSize || bytes.substr(0, kMagic.size()) != kMagic)
        return false;
    Reader header(bytes.substr(kMagic.size(), kHeaderSize - kMagic.size()));
    const uint32_t version = header.U32();
    const uint64_t length = header.U64();
    const uint32_t crc = header.U32();
    const std::string_view payload = bytes.substr(kHeaderSize);
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
