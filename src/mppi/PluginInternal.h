#pragma once

#include "mppi/NormalizedParamInterface.h"
#include "mppi/TimeUnit.h"

#include <memory>
#include <vector>

namespace mppi {

// The DSP object's store of parameters and of the shared time unit. A
// parameter's index is its position in the list, which only grows, and only
// while the DSP initialises: afterwards any thread may read it.
class PluginInternal {
public:
    virtual ~PluginInternal() = default;
    // [editor thread] Appends a parameter; it lives as long as the plug-in.
    virtual void add_param(std::shared_ptr<NormalizedParamInterface> param);
    // [any thread] The time unit shared by every time-valued parameter.
    virtual TimeUnit& get_time_unit() { return time_unit_; }

    // [any thread]
    int get_nbr_params_added() const { return static_cast<int>(params_.size()); }
    // [any thread]
    NormalizedParamInterface* param_at(int index) const noexcept {
        return params_[static_cast<std::size_t>(index)].get();
    }

private:
    std::vector<std::shared_ptr<NormalizedParamInterface>> params_;
    TimeUnit time_unit_;
};

} // namespace mppi
