#pragma once

#include <string>
#include <string_view>

namespace quillon {

// A catalogue text as the window shows it: a sentence. The first letter upper case (a
// lower-case ASCII letter, or one of ä ö ü), and a full stop behind a text that does not end
// in punctuation (. ! ? : ; or a closing quote or bracket after one of them). Text that is a
// sentence already comes back as it is; blanks at the end are dropped first.
std::string sentence(std::string_view text);

}  // namespace quillon
