#pragma once

namespace quillon::ui {

// Set while the program fills controls itself: change handlers test it and do nothing.
class LoadingFlag {
public:
    bool active() const { return m_depth > 0; }

private:
    friend class LoadingGuard;
    int m_depth = 0;
};

// Sets the loading flag for its lifetime; an exception unwinding past it clears it too.
class LoadingGuard {
public:
    explicit LoadingGuard(LoadingFlag& flag) : m_flag(flag) { ++m_flag.m_depth; }
    ~LoadingGuard() { --m_flag.m_depth; }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;

private:
    LoadingFlag& m_flag;
};

}  // namespace quillon::ui
