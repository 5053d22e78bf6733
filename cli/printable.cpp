// Arguments as the terminal program's messages quote them: one printable line, escaped as
// every message of the program escapes what it quotes (calendar/quoted_text.h).
#include "calendar/quoted_text.h"
#include "cli/options.h"

namespace sorvane::cli {

std::string printable(std::string_view text, std::size_t maxCharacters, bool inQuotes) {
    return printableText(text, maxCharacters, inQuotes);
}

std::string quotedArgument(std::string_view text) {
    return quotedText(text);
}

} // namespace sorvane::cli
