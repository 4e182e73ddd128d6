// Text and number primitives: the operations every parser and display of the program rests on.
//
// A Text is GBK bytes (code page 936) without zero bytes; the empty string stands for both an
// absent and an empty text. Positions and lengths count bytes, positions are 1-based, and a
// search that finds nothing yields -1. A byte from 0x80 up starts a two-byte character together
// with the byte after it (the high bit alone decides). The character-wise operations step over
// such a pair as one unit; a high byte that is the last byte of a text has no partner, and a
// character-wise scan stops when it reaches it.
//
// None of these operations fails on its arguments: out-of-range positions, lengths and counts
// give the results stated below. The one stop is ArrayItem beyond the count.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace text {

using Text = std::string;

// Bytes with an explicit length; they may hold zero bytes (response bodies, file contents).
struct Bytes {
  std::string data;
  bool operator==(const Bytes&) const = default;
};

// The items of a split, read with ArrayItem (numbered from 1).
using TextArray = std::vector<Text>;

// --- Length, joining, equality -------------------------------------------------------------

// The byte count: TextLength("形势") == 4.
int32_t TextLength(const Text& text);

// The concatenation of all arguments, in order: JoinTexts("a", "", "b") == "ab".
template <typename... Parts>
Text JoinTexts(const Parts&... parts) {
  Text result;
  (result.append(parts), ...);
  return result;
}

// Byte-for-byte, case-sensitive equality.
bool TextEquals(const Text& a, const Text& b);

// --- Cutting by bytes (may cut a two-byte character in half) ---------------------------------

// The first min(n, length) bytes; n <= 0 gives "". LeftText("形势与政策概论", 10) == "形势与政策".
Text LeftText(const Text& text, int32_t n);

// The last min(n, length) bytes; n <= 0 gives "".
Text RightText(const Text& text, int32_t n);

// n bytes from position start (at most to the end). "" when start < 1, start > length or n <= 0.
// MidText("abc", 2, 10) == "bc"; MidText("abc", 0, 2) == "".
Text MidText(const Text& text, int32_t start, int32_t n);

// --- Searching (character-wise) --------------------------------------------------------------
// With ignoreCase, bytes A-Z and a-z on either side compare equal to their other case, every
// byte of the compared span included; no other byte folds.

// Position of the first match at or after start, or -1. start <= 1 searches the whole text;
// start > length gives -1, even for an empty sought. An empty sought gives 1 (not start) when
// the range holds a byte. The scan treats byte start as the beginning of a character.
// FindText("Set-Cookie: a=b", "set-cookie: ", 1, true) == 1; with false, -1.
int32_t FindText(const Text& text, const Text& sought, int32_t start, bool ignoreCase);

// Position of the last match, scanning forward character by character (matches may overlap:
// "aa" in "aaaa" gives 3). Without start the whole text is searched; with start the match must
// end before position start (range: the first start - 1 bytes; empty when start <= 1).
int32_t FindTextReverse(const Text& text, const Text& sought, std::optional<int32_t> start,
                        bool ignoreCase);

// --- Replacing ---------------------------------------------------------------------------------

// Deletes min(n, length - s) bytes at s = start - 1 (s clamped to 0..length; n <= 0 deletes
// nothing), then inserts replacement at s. ReplaceTextAt("Set-Cookie: a=b", 1, 12) == "a=b".
Text ReplaceTextAt(const Text& text, int32_t start, int32_t n, const Text& replacement = "");

// Every count (negative: all) non-overlapping match of sought from position start on becomes
// replacement; the text before start is copied unchanged. Unchanged copy when text or sought is
// empty, start > length or count == 0. A high byte that is the last byte is dropped when the scan
// reaches it; a tail shorter than sought, and the rest after the last counted replacement, are
// copied as they are.
inline constexpr int32_t kAllMatches = -1;
Text ReplaceSubtext(const Text& text, const Text& sought, const Text& replacement, int32_t start,
                    int32_t count, bool caseSensitive);

// Drops every space 0x20 and every full-width space A1 A1 (as one character of the scan); every
// other byte stays, TAB, CR and LF included. A high byte that is the last byte is dropped.
// RemoveAllSpaces("a b\tc\r\n　d") == "ab\tc\r\nd".
Text RemoveAllSpaces(const Text& text);

// --- Splitting ---------------------------------------------------------------------------------

// Splits at every delimiter (case-sensitive, at character boundaries). Consecutive delimiters
// give empty items, a leading delimiter an empty first item, a trailing one no empty last item.
// An empty text or maxCount 0 (a negative maxCount counts as 0) gives no items; an empty
// delimiter gives the whole text as one item; without maxCount the count is unlimited.
// SplitText("a\r\n\r\nb", "\r\n") == {"a", "", "b"}; SplitText("a\r\n", "\r\n") == {"a"}.
TextArray SplitText(const Text& text, const Text& delimiter = ",",
                    std::optional<int32_t> maxCount = std::nullopt);

// Item i, numbered from 1. Beyond the count (or below 1) it calls StopWithError(1,
// "数组成员引用下标超出定义范围").
const Text& ArrayItem(const TextArray& array, int32_t i);

// --- Case --------------------------------------------------------------------------------------

// a-z to A-Z (ToUpper) or back (ToLower), stepping over two-byte characters, whose second bytes
// never change. A high last byte stays.
Text ToUpper(const Text& text);
Text ToLower(const Text& text);

// --- Numbers -----------------------------------------------------------------------------------

// Full-width ASCII forms (A3 A1..A3 FE), the full-width space A1 A1, A1 AB ("~") and A1 EE /
// A1 EF ("*") become one-byte characters; all else stays, a trailing lone high byte is dropped.
Text ToHalfWidth(const Text& text);

// The number at the start of ToHalfWidth(text): skipped 0x09-0x0D and spaces, an optional sign,
// digits with at most one ".", and an optional exponent (e, E, d or D, optional sign, digits).
// No digit gives 0. The value is the nearest double. ToNumber("８５．５") == 85.5;
// ToNumber("85分") == 85; ToNumber("2d2") == 200; ToNumber("1e") == 1; ToNumber("+-3") == 0.
double ToNumber(const Text& text);

// 13 significant digits, as a general format: the exact decimal expansion is rounded half up to
// 17 digits, then that is rounded half up to 13; the exponent form (1e-007, 1.234567890123e+013)
// below 1e-4 and from 1e13 on; trailing zeros and a bare "." removed. Infinities give "1.#INF"
// and "-1.#INF", the not-a-number of 0/0 gives "-1.#IND", other ones "1.#QNAN" (signed).
// NumberToText(250.0 / 3) == "83.33333333333"; NumberToText(472.98681640625) == "472.9868164063".
Text NumberToText(double x);

// Plain decimal digits: NumberToText(-12) == "-12".
Text NumberToText(int32_t n);

// Truncates toward zero. Beyond the 32-bit range the nearest end of it; not-a-number gives 0.
int32_t ToInteger(double x);

// --- Characters, blanks, bytes -----------------------------------------------------------------

// A text of the one byte code (0 to 255; other codes keep their low byte); code 0 gives "".
Text CharFromCode(int32_t code);

// n spaces; n <= 0 gives "".
Text BlankText(int32_t n);

// The bytes of the text, no terminator.
Bytes TextToBytes(const Text& text);

// The bytes before the first zero byte (all of them when there is none).
Text BytesToText(const Bytes& bytes);

// n zero bytes; n <= 0 gives the empty Bytes.
Bytes BlankBytes(int32_t n);

int32_t BytesLength(const Bytes& bytes);

// The first n bytes, n clamped to 0..length.
Bytes BytesLeft(const Bytes& bytes, int32_t n);

// --- The stop ----------------------------------------------------------------------------------

// Shows the error box (caption "错误", stop icon, one OK button) with the text
// "运行时出错!\n\n错误代码：<code>\n<message>", then ends the process with exit code -1. No exit
// routine runs. The windowing layer installs the box at start-up; until then caption and text go
// to stderr ("错误: " then the text).
[[noreturn]] void StopWithError(int32_t code, const Text& message);

// The box shown by StopWithError: it gets the whole text and the caption, and returns when the
// student has closed it. nullptr restores the standard-error fallback.
using StopBox = void (*)(const Text& boxText, const Text& caption);
void SetStopBox(StopBox box);

}  // namespace text
