// UpdateGuard: one update bracket (BeginUpdate ... EndUpdate) of anything that has them (the
// editor, its strings, the keyword lists), closed on every way out of a scope.
#pragma once

#include <exception>
#include <utility>

namespace velmora::core
{

// Holds at most one open update. The update is closed by close() or, at the latest, when the
// guard goes out of scope. An exception from EndUpdate propagates, except while the scope is
// unwinding from an exception thrown after the update was opened: that first failure is the one
// reported, and the later one is dropped instead of ending the program.
template <class Target> class UpdateGuard
{
public:
    // Holds no update until open().
    UpdateGuard() = default;
    explicit UpdateGuard(Target &target) { open(target); }
    ~UpdateGuard() noexcept(false)
    {
        if (!target_)
            return;
        if (std::uncaught_exceptions() > exceptionsAtOpen_) {
            try {
                close();
            } catch (...) {
                // The exception already in flight is the one to report.
            }
        } else {
            close();
        }
    }
    UpdateGuard(const UpdateGuard &) = delete;
    UpdateGuard &operator=(const UpdateGuard &) = delete;

    // Opens an update of target; the guard must hold none.
    void open(Target &target)
    {
        target.BeginUpdate();
        target_ = &target;
        exceptionsAtOpen_ = std::uncaught_exceptions();
    }

    // Closes the update now; the guard then holds none, also when EndUpdate throws.
    void close()
    {
        if (Target *target = std::exchange(target_, nullptr))
            target->EndUpdate();
    }

private:
    Target *target_ = nullptr;
    int exceptionsAtOpen_ = 0;
};

} // namespace velmora::core
