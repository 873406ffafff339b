#pragma once
// The stored form of one packaged file.
//
// A packaged file is kept as one zlib stream (RFC 1950: 2-byte header,
// deflate data, Adler-32 trailer). Inflated, the stream holds:
//
//   offset  size  field
//   ------  ----  ---------------------------------------------------------
//        0     8  payload length N: signed 64-bit, little-endian,
//                 0 <= N <= 2^31 - 1
//        8     8  last-write time: Windows FILETIME (100-ns intervals since
//                 1601-01-01 00:00 UTC), low 32 bits then high 32 bits,
//                 both little-endian
//       16     N  payload: the file's bytes, unchanged
//
// Bytes that inflate beyond 16 + N are ignored. The packages we build are
// compressed at the highest level, so their streams open with 0x78 0xDA;
// any valid zlib stream is accepted.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::size_t kStoredHeaderSize = 16;
inline constexpr std::int64_t kMaxStoredLength = 0x7FFFFFFF;

// The messages the decoder raises (qv::Error). They are internal texts, as
// the decompression library and the stream classes give them.
inline constexpr char kCorruptStreamMessage[] = "error";
inline constexpr char kStreamReadErrorMessage[] = "Stream read error";
inline constexpr char kStoredLengthMessage[] = "Invalid embedded file length";

struct StoredFile {
    std::string payload;
    std::uint64_t time = 0;  // FILETIME
};

// Compresses payload and time into the stored form.
std::string EncodeStoredForm(std::string_view payload, std::uint64_t time);

// Inflates a stored form. Raises kCorruptStreamMessage when the data is not
// a valid zlib stream, kStreamReadErrorMessage when it ends before 16 + N
// bytes, kStoredLengthMessage when N lies outside 0 to 2^31 - 1. On error
// nothing stays allocated. Memory used: the payload itself, allocated once
// after its length was checked.
StoredFile DecodeStoredForm(std::string_view stored);

// The header alone, read and checked as DecodeStoredForm reads and checks
// it (the same errors), without inflating the payload.
struct StoredHeader {
    std::int64_t length = 0;
    std::uint64_t time = 0;  // FILETIME
};
StoredHeader ReadStoredHeader(std::string_view stored);

// The same decoding, handing the payload out in pieces instead of whole:
// begin(N, time) once the header has been read and checked, then write()
// with the payload's bytes in order, at most kStoredPieceSize at a time.
// The errors are DecodeStoredForm's; damage found after some pieces were
// handed out still raises (the checksum is checked after the last piece).
// An error raised by begin or write is passed on. Memory used: one piece.
inline constexpr std::size_t kStoredPieceSize = 65536;
void DecodeStoredFormInPieces(std::string_view stored,
                              const std::function<void(std::int64_t, std::uint64_t)>& begin,
                              const std::function<void(std::string_view)>& write);

// What a full check of a stored form finds (for the package tool): decodes
// like DecodeStoredForm, then also requires the stream to end, with a good
// checksum, right after the payload.
struct StoredFormCheck {
    bool ok = false;
    std::string problem;  // empty when ok
    std::int64_t length = 0;
    std::uint64_t time = 0;
};
StoredFormCheck CheckStoredForm(std::string_view stored);

}  // namespace qv
