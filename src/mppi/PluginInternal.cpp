#include "mppi/PluginInternal.h"

namespace mppi {

void PluginInternal::add_param(std::shared_ptr<NormalizedParamInterface> param) {
    params_.push_back(std::move(param));
}

} // namespace mppi
