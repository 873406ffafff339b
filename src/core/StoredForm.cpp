#include "core/StoredForm.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/Errors.h"

namespace qv {

namespace {

// Deflate never expands data by more than this factor (a 258-byte match in
// two bits), so a stream of S bytes cannot inflate to more than
// S * kMaxInflateRatio bytes. Used to refuse an absurd length before its
// buffer is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1032;

void PutLe64(unsigned char* out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint64_t GetLe64(const unsigned char* in)
{
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

// One inflate stream over a block of stored bytes; released on every path.
class Inflater {
public:
    enum class Result { Filled, Ended, InputExhausted, Corrupt };

    explicit Inflater(std::string_view input)
    {
        std::memset(&stream_, 0, sizeof stream_);
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        // Stored forms come from 32-bit resources; anything larger is fed in
        // slices below.
        remaining_ = input.size();
        if (inflateInit(&stream_) != Z_OK)
            throw Error(kCorruptStreamMessage);
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates until size bytes are written to out, the stream ends, the
    // input runs out or the data proves corrupt. *written gets the count.
    Result Read(char* out, std::size_t size, std::size_t* written)
    {
        std::size_t done = 0;
        Result result = Result::Filled;
        while (done < size) {
            Refill();
            uInt chunk = static_cast<uInt>(std::min<std::size_t>(size - done, UINT_MAX));
            stream_.next_out = reinterpret_cast<Bytef*>(out + done);
            stream_.avail_out = chunk;
            int rc = inflate(&stream_, Z_NO_FLUSH);
            done += chunk - stream_.avail_out;
            if (rc == Z_STREAM_END) {
                ended_ = true;
                result = done < size ? Result::Ended : Result::Filled;
                break;
            }
            if (rc == Z_BUF_ERROR && stream_.avail_in == 0 && remaining_ == 0) {
                result = Result::InputExhausted;
                break;
            }
            if (rc != Z_OK && rc != Z_BUF_ERROR) {
                result = Result::Corrupt;
                break;
            }
        }
        *written = done;
        return result;
    }

    bool Ended() const { return ended_; }
    std::size_t UnreadInput() const { return stream_.avail_in + remaining_; }

private:
    void Refill()
    {
        if (stream_.avail_in == 0 && remaining_ > 0) {
            uInt slice = static_cast<uInt>(std::min<std::size_t>(remaining_, UINT_MAX));
            stream_.avail_in = slice;
            remaining_ -= slice;
        }
    }

    z_stream stream_;
    std::size_t remaining_ = 0;
    bool ended_ = false;
};

void RaiseFor(Inflater::Result result)
{
    if (result == Inflater::Result::Corrupt)
        throw Error(kCorruptStreamMessage);
    throw Error(kStreamReadErrorMessage);
}

struct Header {
    std::int64_t length;
    std::uint64_t time;
};

Header ReadHeader(Inflater& inflater, std::size_t storedSize)
{
    unsigned char raw[kStoredHeaderSize];
    std::size_t got = 0;
    auto result = inflater.Read(reinterpret_cast<char*>(raw), sizeof raw, &got);
    if (result != Inflater::Result::Filled)
        RaiseFor(result);
    Header header{static_cast<std::int64_t>(GetLe64(raw)), GetLe64(raw + 8)};
    if (header.length < 0 || header.length > kMaxStoredLength)
        throw Error(kStoredLengthMessage);
    // A length the stream cannot possibly hold ends the read before any
    // buffer is allocated for it.
    if (static_cast<std::uint64_t>(header.length) + kStoredHeaderSize >
        static_cast<std::uint64_t>(storedSize) * kMaxInflateRatio)
        throw Error(kStreamReadErrorMessage);
    return header;
}

}  // namespace

std::string EncodeStoredForm(std::string_view payload, std::uint64_t time)
{
    std::string raw(kStoredHeaderSize + payload.size(), '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(raw.data());
    PutLe64(bytes, payload.size());
    PutLe64(bytes + 8, time);
    if (!payload.empty())
        std::memcpy(raw.data() + kStoredHeaderSize, payload.data(), payload.size());

    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string stored(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(stored.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw Error("Cannot compress");
    stored.resize(size);
    return stored;
}

StoredHeader ReadStoredHeader(std::string_view stored)
{
    Inflater inflater(stored);
    Header header = ReadHeader(inflater, stored.size());
    return {header.length, header.time};
}

void DecodeStoredFormInPieces(std::string_view stored,
                              const std::function<void(std::int64_t, std::uint64_t)>& begin,
                              const std::function<void(std::string_view)>& write)
{
    Inflater inflater(stored);
    Header header = ReadHeader(inflater, stored.size());
    begin(header.length, header.time);

    std::string piece(std::min<std::uint64_t>(static_cast<std::uint64_t>(header.length),
                                              kStoredPieceSize),
                      '\0');
    std::uint64_t left = static_cast<std::uint64_t>(header.length);
    while (left > 0) {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
        std::size_t got = 0;
        auto result = inflater.Read(piece.data(), want, &got);
        if (result != Inflater::Result::Filled)
            RaiseFor(result);
        write(std::string_view(piece.data(), got));
        left -= got;
    }

    // The payload is complete. When its stream goes on to the trailer, let
    // zlib check the Adler-32 sum so that damaged data is not handed out as
    // a good file. Extra inflated bytes and a missing trailer are tolerated:
    // nothing past the payload is part of the file.
    if (!inflater.Ended()) {
        char scratch[4096];
        std::size_t got = 0;
        for (int round = 0; round < 16; ++round) {
            auto tail = inflater.Read(scratch, sizeof scratch, &got);
            if (tail == Inflater::Result::Corrupt)
                throw Error(kCorruptStreamMessage);
            if (tail != Inflater::Result::Filled)
                break;
        }
    }
}

StoredFile DecodeStoredForm(std::string_view stored)
{
    StoredFile file;
    DecodeStoredFormInPieces(
        stored,
        [&](std::int64_t length, std::uint64_t time) {
            file.time = time;
            file.payload.reserve(static_cast<std::size_t>(length));
        },
        [&](std::string_view piece) { file.payload.append(piece); });
    return file;
}

StoredFormCheck CheckStoredForm(std::string_view stored)
{
    StoredFormCheck check;
    try {
        Inflater inflater(stored);
        Header header = ReadHeader(inflater, stored.size());
        check.length = header.length;
        check.time = header.time;

        // Inflate into a small window: the payload itself is not needed.
        char window[65536];
        std::uint64_t left = static_cast<std::uint64_t>(header.length);
        while (left > 0) {
            std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof window));
            std::size_t got = 0;
            auto result = inflater.Read(window, want, &got);
            left -= got;
            if (result != Inflater::Result::Filled)
                RaiseFor(result);
        }
        std::size_t extra = 0;
        auto result = inflater.Read(window, 1, &extra);
        if (result == Inflater::Result::Corrupt)
            throw Error(kCorruptStreamMessage);
        if (extra != 0)
            check.problem = "the stream holds more bytes than its length says";
        else if (result == Inflater::Result::InputExhausted)
            check.problem = "the stream is cut short after the payload";
        else if (inflater.UnreadInput() != 0)
            check.problem = "bytes follow the end of the stream";
    } catch (const Error& e) {
        check.problem = e.Message();
    }
    check.ok = check.problem.empty();
    return check;
}

}  // namespace qv
