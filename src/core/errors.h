#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

// Every failure the core reports. A command that throws aborts as a whole; what it wrote
// before stays written. The message is the text the user sees in the error box.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file transfer failed: "Read beyond end of file", "File access denied", "I/O error %d".
class RomIoError : public Error {
public:
    using Error::Error;
};

// A text that should be a number is not: "'%s' is not a valid integer value".
class ConversionError : public Error {
public:
    explicit ConversionError(const std::string& text)
        : Error("'" + text + "' is not a valid integer value") {}
    // The same message followed by where the text came from: "... (Ini\\Quillon.ini, ...)".
    ConversionError(const ConversionError& error, const std::string& where)
        : Error(std::string(error.what()) + " (" + where + ")") {}
};

// An index outside a list: "List index out of bounds (%d)".
class IndexError : public Error {
public:
    explicit IndexError(long long index)
        : Error("List index out of bounds (" + std::to_string(index) + ")") {}
};

// The ROM holds data the editor cannot use safely (a grid larger than the editor holds, a
// compressed stream that points outside itself, a table past the end of the file).
class DataError : public Error {
public:
    using Error::Error;
};

}  // namespace quillon
