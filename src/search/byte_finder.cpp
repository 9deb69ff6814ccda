#include "byte_finder.h"

#include "textio/windows1252.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TROVEX_HAVE_AVX2_PATH 1
#endif

namespace search {
namespace {

// Rough share of each byte in German and English UTF-8 prose, in tenths of a
// per mille. Only the order matters: it picks the pattern bytes least likely
// to fit by chance, so fewer candidates need the full comparison.
std::array<int, 256> makeByteCommonness() {
    std::array<int, 256> share{};
    share.fill(5);
    const struct {
        char byte;
        int share;
    } lower[] = {{'e', 1400}, {'n', 800}, {'i', 620}, {'s', 580}, {'r', 560}, {'a', 520},
                 {'t', 500},  {'d', 400}, {'h', 380}, {'u', 330}, {'l', 280}, {'c', 240},
                 {'g', 230},  {'o', 220}, {'m', 200}, {'b', 140}, {'w', 130}, {'f', 130},
                 {'k', 100},  {'z', 90},  {'p', 70},  {'v', 60},  {'y', 20},  {'j', 20},
                 {'x', 10},   {'q', 8}};
    for (const auto& entry : lower) {
        share[static_cast<unsigned char>(entry.byte)] = entry.share;
        share[static_cast<unsigned char>(entry.byte - 'a' + 'A')] = entry.share / 8 + 1;
    }
    share[' '] = 1500;
    share['\r'] = share['\n'] = 80;
    share[','] = share['.'] = 80;
    for (int d = '0'; d <= '9'; ++d)
        share[d] = 30;
    share[0xC3] = 50; // lead byte of the German umlauts
    share[0xA4] = share[0xB6] = share[0xBC] = share[0x9F] = 20;
    share['-'] = share['"'] = share['\''] = share[':'] = share[')'] = share['('] = 20;
    share['#'] = share['\\'] = 3;
    return share;
}

const std::array<int, 256>& byteCommonness() {
    static const std::array<int, 256> share = makeByteCommonness();
    return share;
}

#if defined(__SSE2__)
inline __m128i equalsAny(__m128i chunk, const unsigned char* bytes, int count) {
    __m128i hit = _mm_cmpeq_epi8(chunk, _mm_set1_epi8(static_cast<char>(bytes[0])));
    for (int i = 1; i < count; ++i)
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(static_cast<char>(bytes[i]))));
    return hit;
}
#endif

#if defined(TROVEX_HAVE_AVX2_PATH)
__attribute__((target("avx2"))) inline __m256i equalsAny256(__m256i chunk,
                                                            const unsigned char* bytes, int count) {
    __m256i hit = _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(static_cast<char>(bytes[0])));
    for (int i = 1; i < count; ++i)
        hit = _mm256_or_si256(
            hit, _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(static_cast<char>(bytes[i]))));
    return hit;
}

bool cpuHasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// Thirty-two candidate positions per step. Returns a match, -1 when the
// block loop ran out (p then tells where the narrower loops go on), or -2
// when the next candidate lies past `last`.
template <typename Verify>
__attribute__((target("avx2"))) qint64
findWide(const unsigned char* bytes, qint64& p, qint64 last, qint64 lastLoad, int offsetA,
         const unsigned char* bytesA, int countA, int offsetB, const unsigned char* bytesB,
         int countB, Verify verify) {
    for (; p <= last && p <= lastLoad; p += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + p + offsetA));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + p + offsetB));
        const __m256i both =
            _mm256_and_si256(equalsAny256(a, bytesA, countA), equalsAny256(b, bytesB, countB));
        auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(both));
        while (mask != 0) {
            const qint64 candidate = p + __builtin_ctz(mask);
            if (candidate > last)
                return -2;
            if (verify(bytes + candidate))
                return candidate;
            mask &= mask - 1;
        }
    }
    return -1;
}
#endif

// The folded letter starting at each byte of the pattern (taken before the
// byte-wise lowering, which would turn the lead byte C3 into E3), or an empty
// list when there is none.
QList<char16_t> twoByteLettersOf(QByteArrayView pattern) {
    QList<char16_t> letters(pattern.size(), 0);
    bool any = false;
    for (qsizetype k = 0; k + 1 < pattern.size(); ++k) {
        const char16_t letter = foldedTwoByteLetter(static_cast<unsigned char>(pattern[k]),
                                                    static_cast<unsigned char>(pattern[k + 1]));
        if (letter) {
            letters[k] = letter;
            any = true;
            ++k;
        }
    }
    return any ? letters : QList<char16_t>();
}

} // namespace

ByteFinder::ByteFinder(QByteArrayView pattern, bool caseFolded, UmlautFolding umlauts)
    : pattern_(caseFolded ? textio::windows1252Lower(pattern) : pattern.toByteArray())
    , caseFolded_(caseFolded) {
    if (pattern_.isEmpty())
        return;
    if (caseFolded && umlauts == UmlautFolding::On)
        letters_ = twoByteLettersOf(pattern);
    const auto& share = byteCommonness();
    auto weight = [&](const Anchor& anchor) {
        int sum = 0;
        for (int i = 0; i < anchor.count; ++i)
            sum += share[anchor.bytes[i]];
        return sum;
    };
    const int m = static_cast<int>(pattern_.size());
    first_ = anchorAt(m - 1);
    for (int offset = m - 2; offset >= 0; --offset) {
        const Anchor candidate = anchorAt(offset);
        if (weight(candidate) < weight(first_))
            first_ = candidate;
    }
    second_ = first_;
    bool haveSecond = false;
    for (int offset = m - 1; offset >= 0; --offset) {
        if (offset == first_.offset)
            continue;
        const Anchor candidate = anchorAt(offset);
        if (!haveSecond || weight(candidate) < weight(second_)) {
            second_ = candidate;
            haveSecond = true;
        }
    }
    for (int i = 0; i < first_.count; ++i)
        acceptsFirst_[first_.bytes[i]] = true;
    for (int i = 0; i < second_.count; ++i)
        acceptsSecond_[second_.bytes[i]] = true;
}

ByteFinder::Anchor ByteFinder::anchorAt(int offset) const {
    Anchor anchor;
    anchor.offset = offset;
    const auto target = static_cast<unsigned char>(pattern_[offset]);
    if (!caseFolded_) {
        anchor.bytes[0] = target;
        anchor.count = 1;
        return anchor;
    }
    const auto& lower = textio::windows1252LowerTable();
    for (int b = 0; b < 256; ++b) {
        if (lower[b] == target)
            anchor.bytes[anchor.count++] = static_cast<unsigned char>(b);
    }
    if (!letters_.isEmpty())
        addLetterPartners(anchor);
    return anchor;
}

// A byte of a two-byte letter may also be the same byte of any letter that
// folds alike (the lead byte differs for Ÿ/ÿ and Ŀ/ŀ).
void ByteFinder::addLetterPartners(Anchor& anchor) const {
    const int offset = anchor.offset;
    const bool isLead = letters_[offset] != 0;
    const bool isContinuation = offset > 0 && letters_[offset - 1] != 0;
    if (!isLead && !isContinuation)
        return;
    const char16_t letter = isLead ? letters_[offset] : letters_[offset - 1];
    auto add = [&](unsigned char byte) {
        for (int i = 0; i < anchor.count; ++i) {
            if (anchor.bytes[i] == byte)
                return;
        }
        anchor.bytes[anchor.count++] = byte;
    };
    for (char16_t ch = 0x00C0; ch <= 0x017F; ++ch) {
        if (foldedTwoByteLetter(ch) != letter)
            continue;
        add(isLead ? static_cast<unsigned char>(0xC0 | (ch >> 6))
                   : static_cast<unsigned char>(0x80 | (ch & 0x3F)));
    }
}

bool ByteFinder::verify(const unsigned char* at) const {
    const auto* pattern = reinterpret_cast<const unsigned char*>(pattern_.constData());
    const qsizetype m = pattern_.size();
    if (!caseFolded_)
        return std::memcmp(at, pattern, static_cast<size_t>(m)) == 0;
    if (!letters_.isEmpty())
        return verifyWithLetters(at);
    const auto& lower = textio::windows1252LowerTable();
    for (qsizetype k = 0; k < m; ++k) {
        if (lower[at[k]] != pattern[k])
            return false;
    }
    return true;
}

// A letter of the pattern matches any text letter that folds alike; where
// it does not, its two bytes still get the byte-wise comparison, so nothing
// found without the option is lost.
bool ByteFinder::verifyWithLetters(const unsigned char* at) const {
    const auto* pattern = reinterpret_cast<const unsigned char*>(pattern_.constData());
    const qsizetype m = pattern_.size();
    const auto& lower = textio::windows1252LowerTable();
    for (qsizetype k = 0; k < m;) {
        const char16_t letter = letters_[k];
        if (letter && foldedTwoByteLetter(at[k], at[k + 1]) == letter) {
            k += 2;
            continue;
        }
        if (lower[at[k]] != pattern[k])
            return false;
        ++k;
    }
    return true;
}

bool ByteFinder::matchesAt(QByteArrayView text, qint64 position) const {
    if (pattern_.isEmpty() || position < 0 || position + pattern_.size() > text.size())
        return false;
    return verify(reinterpret_cast<const unsigned char*>(text.data()) + position);
}

qint64 ByteFinder::findScalar(const unsigned char* text, qint64 from, qint64 last) const {
    for (qint64 p = from; p <= last; ++p) {
        if (acceptsFirst_[text[p + first_.offset]] && acceptsSecond_[text[p + second_.offset]] &&
            verify(text + p))
            return p;
    }
    return -1;
}

qint64 ByteFinder::find(QByteArrayView text, qint64 from, qint64 to) const {
    const qint64 m = pattern_.size();
    const qint64 n = text.size();
    if (m == 0 || from < 0)
        return -1;
    const qint64 last = std::min(std::min(to, n) - 1, n - m);
    if (last < from)
        return -1;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const qint64 reach = std::max(first_.offset, second_.offset);
    qint64 p = from;

#if defined(TROVEX_HAVE_AVX2_PATH)
    if (cpuHasAvx2()) {
        const qint64 found =
            findWide(bytes, p, last, n - reach - 32, first_.offset, first_.bytes.data(),
                     first_.count, second_.offset, second_.bytes.data(), second_.count,
                     [this](const unsigned char* at) { return verify(at); });
        if (found != -1)
            return found < 0 ? -1 : found;
    }
#endif
#if defined(__SSE2__)
    for (; p <= last && p + reach + 16 <= n; p += 16) {
        const __m128i a =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + p + first_.offset));
        const __m128i b =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + p + second_.offset));
        const __m128i both = _mm_and_si128(equalsAny(a, first_.bytes.data(), first_.count),
                                           equalsAny(b, second_.bytes.data(), second_.count));
        auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(both));
        while (mask != 0) {
            const qint64 candidate = p + __builtin_ctz(mask);
            if (candidate > last)
                return -1;
            if (verify(bytes + candidate))
                return candidate;
            mask &= mask - 1;
        }
    }
#endif
    return findScalar(bytes, p, last);
}

qint64 ByteFinder::findLast(QByteArrayView text, qint64 before) const {
    const qint64 m = pattern_.size();
    const qint64 n = text.size();
    if (m == 0)
        return -1;
    qint64 p = std::min(before - 1, n - m);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
#if defined(__GLIBC__)
    if (first_.count == 1) {
        // Document markers start with "#", which memrchr finds quickly
        // however long the document in front of an occurrence is.
        while (p >= 0) {
            const void* hit =
                memrchr(bytes, first_.bytes[0], static_cast<size_t>(p + first_.offset + 1));
            if (!hit)
                return -1;
            const qint64 candidate = static_cast<const unsigned char*>(hit) - bytes - first_.offset;
            if (candidate < 0)
                return -1;
            if (verify(bytes + candidate))
                return candidate;
            p = candidate - 1;
        }
        return -1;
    }
#endif
    for (; p >= 0; --p) {
        if (acceptsFirst_[bytes[p + first_.offset]] && verify(bytes + p))
            return p;
    }
    return -1;
}

} // namespace search
