#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tessaron {

// A fast 64-bit hash of bytes for the analyses' hot loops (short paths, topic names, message keys).
// Qt's string hash is far slower on short keys and leaves the vector registers dirty for the code
// after it. Not for anything stored or sent: the values may change from one build to the next.
namespace ByteHash {

namespace detail {

inline uint64_t mum(uint64_t a, uint64_t b)
{
    const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
    return uint64_t(r) ^ uint64_t(r >> 64);
}

inline uint64_t read8(const unsigned char* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline uint64_t read4(const unsigned char* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline constexpr uint64_t k0 = 0xa0761d6478bd642full;
inline constexpr uint64_t k1 = 0xe7037ed1a0b428dbull;
inline constexpr uint64_t k2 = 0x8ebc6af09c88c6e3ull;

} // namespace detail

// Reads every byte once, at most 16 at a time; short keys take a handful of multiplications.
inline uint64_t of(const void* data, size_t length, uint64_t seed = 0)
{
    using namespace detail;
    const auto* p = static_cast<const unsigned char*>(data);
    seed ^= mum(seed ^ k0, k1);
    uint64_t a = 0;
    uint64_t b = 0;
    if (length <= 16) {
        if (length >= 4) {
            const size_t mid = (length >> 3) << 2;
            a = (read4(p) << 32) | read4(p + mid);
            b = (read4(p + length - 4) << 32) | read4(p + length - 4 - mid);
        } else if (length > 0) {
            a = (uint64_t(p[0]) << 16) | (uint64_t(p[length >> 1]) << 8) | p[length - 1];
        }
    } else {
        size_t left = length;
        while (left > 16) {
            seed = mum(read8(p) ^ k1, read8(p + 8) ^ seed);
            p += 16;
            left -= 16;
        }
        a = read8(p + left - 16);
        b = read8(p + left - 8);
    }
    return mum(k1 ^ length, mum(a ^ k1, b ^ seed ^ k2));
}

inline uint64_t of(std::string_view bytes, uint64_t seed = 0) { return of(bytes.data(), bytes.size(), seed); }
inline uint64_t of(QByteArrayView bytes, uint64_t seed = 0) { return of(bytes.data(), size_t(bytes.size()), seed); }
inline uint64_t of(QStringView text, uint64_t seed = 0)
{
    return of(text.data(), size_t(text.size()) * sizeof(char16_t), seed);
}

} // namespace ByteHash

// A view with its hash worked out once, as the key of a QHash or QSet that must not use Qt's
// string hash. The viewed text must outlive the container.
template <typename View> struct HashedView {
    View view;
    uint64_t hash;

    explicit HashedView(View v)
        : view(v)
        , hash(ByteHash::of(v))
    { }

    friend bool operator==(const HashedView& a, const HashedView& b) { return a.hash == b.hash && a.view == b.view; }
    friend size_t qHash(const HashedView& key, size_t seed) { return size_t(key.hash) ^ seed; }
};

} // namespace tessaron
