#pragma once
// Runs a cleanup when the scope ends, however it ends. For state that must be
// restored (painting, error mode) rather than for handles, which have their
// own owners.

#include <utility>

namespace tollik {

template <class Cleanup>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Cleanup cleanup) : cleanup_(std::move(cleanup)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    // A cleanup that throws while another failure is unwinding would end the
    // host process, so its own failure is dropped: the first one wins.
    ~ScopeExit() {
        try {
            cleanup_();
        } catch (...) {
        }
    }

private:
    Cleanup cleanup_;
};

}  // namespace tollik
