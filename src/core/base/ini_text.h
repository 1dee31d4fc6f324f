#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Edits of an ini file's text that change one key and leave every other byte as it was:
// comments, blank lines, order, spacing and line ends (a file written with CR LF keeps them).
// Section and key names compare without regard to case; the first section of the name and its
// first line of the key count, as they do for reading.

// key=value in section: the key's line replaced; else a line added behind the section's last
// key (right under its header when it has none); else the section added at the end. A value
// with blanks at either end is written in quotation marks, which reading removes.
std::string setIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

// The text without the key's line in section; the text itself when there is none.
std::string removeIniKey(std::string_view text, std::string_view section, std::string_view key);

}  // namespace quillon
