#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillon {

// What the core tells the user, before it is put into a language: a catalogue id
// ("table.failure") and its arguments. An argument is either plain text, already written the
// way the user reads it in every language ("$3526A8", "3.0", a file name), or a message of its
// own (a table's name, the reason a check failed), put into the same language as the whole.
struct Message {
    std::string id;  // empty: a plain argument, shown as text
    std::vector<Message> args;
    std::string text;

    Message() = default;
    // A plain argument.
    Message(std::string plain) : text(std::move(plain)) {}  // NOLINT: arguments read as text
    Message(const char* plain) : text(plain) {}             // NOLINT

    bool hasId() const { return !id.empty(); }
};

// The message id with its arguments.
inline Message message(std::string id, std::vector<Message> args = {}) {
    Message m;
    m.id = std::move(id);
    m.args = std::move(args);
    return m;
}

}  // namespace quillon
