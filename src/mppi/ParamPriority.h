#pragma once

namespace mppi {

// Arbitrates competing writers of one parameter. A writer is named by a
// positive priority; higher wins. A lower writer is locked out until the hold
// time has passed since the owner's last change, or until the owner releases.
// Times are seconds from the system clock, passed in by the caller. Every
// operation runs on the editor thread.
class ParamPriority {
public:
    static constexpr double hold_time = 0.5;
    // The lowest writer: a control refreshed from its parameter, which never
    // writes it back, and the host's own values.
    static constexpr int refresh_priority = 1;

    virtual ~ParamPriority() = default;

    // Whether writer `priority` may change the parameter at `now`; changes nothing.
    bool may_change(int priority, double now) const {
        return !(priority < owner_ && last_change_ + hold_time >= now);
    }
    // As may_change(); when it passes, `priority` becomes the owner as of `now`.
    bool claim(int priority, double now) {
        if (!may_change(priority, now))
            return false;
        last_change_ = now;
        owner_ = priority;
        return true;
    }
    // Only the owner can give up its claim.
    void release(int priority) {
        if (priority == owner_)
            owner_ = 0;
    }
    int get_owner() const { return owner_; }

private:
    double last_change_ = 0.0;
    int owner_ = 0; // 0: unclaimed
};

} // namespace mppi
