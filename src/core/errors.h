#pragma once

#include <stdexcept>
#include <string>

#include "core/text/message_catalogue.h"

namespace quillon {

// Every failure the core reports. A command that throws aborts as a whole; what it wrote
// before stays written. An error made from a catalogue message carries it, so each interface
// shows it in its own language; what() is its German text, the text of errors made from a
// finished sentence (message() then has no id and that sentence as its text).
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(text), m_message(text) {}
    explicit Error(const char* text) : Error(std::string(text)) {}
    explicit Error(Message message)
        : std::runtime_error(germanText(message)), m_message(std::move(message)) {}

    const Message& message() const { return m_message; }

private:
    Message m_message;
};

// A file transfer failed: io.read_beyond_end ("Read beyond end of file"), io.access_denied,
// io.error ("I/O error %d"); callers that add where it happened test the id, never the text.
class RomIoError : public Error {
public:
    using Error::Error;
};

// A text that should be a number is not: "'%s' is not a valid integer value".
class ConversionError : public Error {
public:
    explicit ConversionError(const std::string& text)
        : Error(quillon::message("number.invalid", {text})) {}
    // The same message followed by where the text came from: "... (Ini\\Quillon.ini, ...)".
    ConversionError(const ConversionError& error, const std::string& where)
        : Error(quillon::message("number.invalid_at", {error.message(), where})) {}
};

// An index outside a list: list.index_out_of_bounds ("List index out of bounds (%d)").
class IndexError : public Error {
public:
    explicit IndexError(long long index)
        : Error(quillon::message("list.index_out_of_bounds", {std::to_string(index)})) {}
};

// The ROM holds data the editor cannot use safely (a grid larger than the editor holds, a
// compressed stream that points outside itself, a table past the end of the file).
class DataError : public Error {
public:
    using Error::Error;
};

}  // namespace quillon
