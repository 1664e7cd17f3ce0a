#include "markup/tag_scanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vitalchart {

namespace {

// Every scan below stops at the line's end, index nLength, whatever byte would
// otherwise end it: the scanner never looks at pszLine[nLength] or beyond. A
// zero byte before nLength is an ordinary byte.

// The bytes that end a name or a value, one table per kind.
struct StopSet {
    bool bStops[256] = {};
    // The stop bytes (one to four), the first repeated to fill four, for
    // comparing sixteen bytes at a time.
    char cStops[4] = {};
    constexpr explicit StopSet(const char* pszBytes) {
        int n = 0;
        for (; *pszBytes != '\0'; ++pszBytes) {
            bStops[static_cast<unsigned char>(*pszBytes)] = true;
            cStops[n++] = *pszBytes;
        }
        for (; n < 4; ++n) cStops[n] = cStops[0];
    }
    constexpr bool operator()(char c) const { return bStops[static_cast<unsigned char>(c)]; }
};
constexpr StopSet kTagNameStops(" >");
constexpr StopSet kAttributeNameStops(" >=/");
constexpr StopSet kStyleKeyStops(": ");
constexpr StopSet kValueStops("\";");
constexpr std::string_view kProps = "props";

// The first index from i on, below nLength, whose byte is in the set, or
// nLength; sixteen bytes a round while sixteen remain where the processor
// compares them together, then four bytes a round while four remain.
inline std::int32_t FindStop(const char* pszLine, std::int32_t nLength, std::int32_t i, const StopSet& stops) {
#if defined(__SSE2__)
    if (nLength - i >= 16) {
        const __m128i s0 = _mm_set1_epi8(stops.cStops[0]);
        const __m128i s1 = _mm_set1_epi8(stops.cStops[1]);
        const __m128i s2 = _mm_set1_epi8(stops.cStops[2]);
        const __m128i s3 = _mm_set1_epi8(stops.cStops[3]);
        do {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pszLine + i));
            const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, s0), _mm_cmpeq_epi8(v, s1)),
                                              _mm_or_si128(_mm_cmpeq_epi8(v, s2), _mm_cmpeq_epi8(v, s3)));
            const int nHits = _mm_movemask_epi8(hits);
            if (nHits != 0) return i + __builtin_ctz(static_cast<unsigned>(nHits));
            i += 16;
        } while (nLength - i >= 16);
    }
#endif
    while (nLength - i >= 4) {
        if (stops(pszLine[i])) return i;
        if (stops(pszLine[i + 1])) return i + 1;
        if (stops(pszLine[i + 2])) return i + 2;
        if (stops(pszLine[i + 3])) return i + 3;
        i += 4;
    }
    while (i < nLength && !stops(pszLine[i])) ++i;
    return i;
}

// Collects a name from i up to a stop byte or the line's end, keeping at most
// kMaxNameLength bytes; the bytes beyond are passed over as part of the name.
// i is left on the byte that ended the name, or at nLength.
inline __attribute__((always_inline)) std::string_view ReadName(const char* pszLine, std::int32_t nLength,
                                                                std::int32_t& i, const StopSet& stops,
                                                                CScanNotes* pNotes = nullptr) {
    const std::int32_t nStart = i;
    i = FindStop(pszLine, nLength, i, stops);
    const std::int32_t nKept = i - nStart < kMaxNameLength ? i - nStart : kMaxNameLength;
    if (pNotes != nullptr && nKept < i - nStart) pNotes->events.push_back({ScanEvent::kNameCut, nStart, i, {}});
    return std::string_view(pszLine + nStart, static_cast<std::size_t>(nKept));
}

inline __attribute__((always_inline)) void Note(CScanNotes* pNotes, ScanEvent::Kind kind, std::int32_t nPos,
                                                std::int32_t nEnd, std::string_view name) {
    if (pNotes != nullptr) pNotes->events.push_back({kind, nPos, nEnd, std::string(name)});
}

// Collects a value from i up to a double quote, a semicolon or the line's end,
// with no length limit. i is left on the ending byte, or at nLength.
std::string_view ReadValue(const char* pszLine, std::int32_t nLength, std::int32_t& i) {
    const std::int32_t nStart = i;
    i = FindStop(pszLine, nLength, i, kValueStops);
    return std::string_view(pszLine + nStart, static_cast<std::size_t>(i - nStart));
}

// Keeps a position in the range a caller can pass: 0 to the length.
void Settle(std::int32_t& nLength, std::int32_t& nPos) {
    if (nLength < 0) nLength = 0;
    if (nPos < 0) nPos = 0;
}

// The scan, made twice: with notes, and without them for the renderer, where
// the code that would keep them is left out altogether.
template <bool kNoted>
void Scan(const char* pszLine, std::int32_t nLength, CTagAttributes& rTag, std::int32_t& nPos,
          CScanNotes* const pNotesGiven) {
    CScanNotes* const pNotes = kNoted ? pNotesGiven : nullptr;
    rTag.Clear();
    Settle(nLength, nPos);
    if (pszLine == nullptr || nPos >= nLength) {
        nPos = nLength;
        if (pszLine != nullptr) Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, {});
        return;
    }
    if (pszLine[nPos] == '>') {
        nPos += 1;
        return;
    }
    std::int32_t i = nPos + 1;
    for (;;) {
        // Blanks between attributes. (Each read as an empty name would be
        // skipped the same way, one at a time, by the loop below.)
        while (i < nLength && pszLine[i] == ' ') ++i;
        // An attribute name. Cut off by the line's end, it is dropped.
        const std::int32_t nNameStart = i;
        const std::string_view name = ReadName(pszLine, nLength, i, kAttributeNameStops, pNotes);
        if (i >= nLength) {
            Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, name);
            break;
        }
        const char cEnd = pszLine[i];
        if (cEnd == '>') {
            nPos = i + 1;
            return;
        }
        if (cEnd == '/') {
            // Past the slash and the bracket expected after it, but not past the line.
            nPos = i + 2 < nLength ? i + 2 : nLength;
            return;
        }
        if (name.empty()) {
            ++i;
            continue;
        }
        if (cEnd == '=') {
            // Past the equals sign and the opening quote (not examined).
            if (pNotes != nullptr && i + 1 < nLength && pszLine[i + 1] != '"') {
                Note(pNotes, ScanEvent::kUnquoted, i + 1, i + 2, name);
            }
            i = i + 2 < nLength ? i + 2 : nLength;
        }
        // (Most names differ from it in their first byte already.)
        if (!name.empty() && name[0] == 'p' && name == kProps) {
            // The pairs of props: key:value up to a value that ends at a double quote.
            bool bDone = false;
            while (!bDone) {
                const std::string_view key = ReadName(pszLine, nLength, i, kStyleKeyStops);
                if (i >= nLength) break;  // a key left open: dropped
                ++i;
                if (key.empty()) continue;
                // A value cut off by the line's end is incomplete: dropped.
                const std::string_view value = ReadValue(pszLine, nLength, i);
                if (i >= nLength) break;
                rTag.AddStyle(key, value);
                bDone = pszLine[i] == '"';
                ++i;
            }
            if (!bDone) {
                Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, name);
                break;
            }
            continue;
        }
        // A plain value. One that the line's end cuts off is incomplete and
        // dropped: a reading of 37.5 that a host's length cuts to 3 must not
        // be plotted at 3.
        const std::int32_t nValueStart = i;
        const std::string_view value = ReadValue(pszLine, nLength, i);
        if (i < nLength) rTag.AddAttribute(name, value);
        Note(pNotes, ScanEvent::kAttribute, nNameStart, nValueStart, name);
        if (i >= nLength) {
            Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, name);
            break;
        }
        if (pszLine[i] == ';') Note(pNotes, ScanEvent::kSemicolon, i, i + 1, name);
        ++i;
    }
    nPos = nLength;
}

}  // namespace

std::string_view ReadTagNameView(const char* pszLine, std::int32_t nLength, std::int32_t& nPos, CScanNotes* pNotes) {
    Settle(nLength, nPos);
    if (pszLine == nullptr || nPos >= nLength) {
        nPos = nLength;
        return std::string_view();
    }
    std::int32_t i = nPos + 1;  // the opening bracket, not examined
    if (i < nLength && pszLine[i] == '/') ++i;
    const std::string_view name = ReadName(pszLine, nLength, i, kTagNameStops, pNotes);
    nPos = i;
    return name;
}

std::string ReadTagName(const char* pszLine, std::int32_t nLength, std::int32_t& nPos, CScanNotes* pNotes) {
    return std::string(ReadTagNameView(pszLine, nLength, nPos, pNotes));
}

void ScanAttributes(const char* pszLine, std::int32_t nLength, CTagAttributes& rTag, std::int32_t& nPos,
                    CScanNotes* pNotes) {
    if (pNotes != nullptr) {
        Scan<true>(pszLine, nLength, rTag, nPos, pNotes);
    } else {
        Scan<false>(pszLine, nLength, rTag, nPos, nullptr);
    }
}

void ParseAttributes(const char* pszLine, std::int32_t nLength, CMapStringToString& mapAttributes,
                     CMapStringToString& mapStyles, std::int32_t& nPos, CScanNotes* pNotes) {
    CTagAttributes tag;
    ScanAttributes(pszLine, nLength, tag, nPos, pNotes);
    mapAttributes.Reserve(tag.GetAttributes().size());
    for (const TagAttribute& a : tag.GetAttributes()) mapAttributes.SetAt(a.name, a.value);
    for (const TagAttribute& s : tag.GetStyles()) mapStyles.SetAt(s.name, s.value);
}

}  // namespace vitalchart
