// Text from outside the program (an argument, a typed word, a place's name) as a message
// quotes it: one line that shows what was given and can neither break the message's line nor
// turn the terminal's or the page's text around.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sorvane {

// The characters a message quotes of a long text before "..." marks the cut.
inline constexpr std::size_t kQuotedCharacters = 40;

// text as one printable line, cut after maxCharacters characters ("..." marking the cut):
//   - C0 controls and DEL as \n, \t, \r or \xNN; C1 controls (U+0080..U+009F, which some
//     terminals obey as escape sequences) as the \xNN of their two bytes;
//   - bytes that are not well-formed UTF-8 (a stray continuation byte, a cut sequence, an
//     overlong form, a surrogate U+D800..U+DFFF, a code point past U+10FFFF) as \xNN, each;
//   - the bidirectional formatting characters (U+061C, U+200E, U+200F, the embeddings and
//     overrides U+202A..U+202E, the isolates U+2066..U+2069) and the line and paragraph
//     separators U+2028, U+2029 as \uXXXX;
//   - with inQuotes also '"' and '\' as \" and \\.
// Every other character is kept as it is.
std::string printableText(std::string_view text, std::size_t maxCharacters = std::string::npos,
                          bool inQuotes = false);

// text as messages quote it: printableText in double quotes, at most kQuotedCharacters
// characters.
std::string quotedText(std::string_view text);

} // namespace sorvane
