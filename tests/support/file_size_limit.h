#pragma once

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <cstdint>

namespace quillon::testing {

// Files written by this process may grow to `bytes` at most while the object lives; a write
// beyond fails as on a full disk instead of ending the process. Windows has no such limit:
// there supported() is false and the object does nothing (the tests skip).
class FileSizeLimit {
public:
#ifdef _WIN32
    static constexpr bool supported() { return false; }
    explicit FileSizeLimit(std::uint64_t) {}
#else
    static constexpr bool supported() { return true; }
    explicit FileSizeLimit(std::uint64_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_signal);
    }
#endif
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
#ifndef _WIN32
    rlimit m_previous{};
    void (*m_signal)(int);
#endif
};

}  // namespace quillon::testing
