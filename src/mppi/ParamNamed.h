#pragma once

#include "mppi/NormalizedParamInterface.h"

namespace mppi {

// A parameter whose full name is prefix + name + suffix.
class ParamNamed : public NormalizedParamInterface {
public:
    std::string get_name() const override { return get_prefix() + name_ + get_suffix(); }

    // [editor thread] As init(), and stores the name.
    virtual void init_named(double internal, int attribute, const std::string& name) {
        init(internal, attribute);
        name_ = name;
    }
    virtual std::string get_prefix() const = 0;
    virtual std::string get_suffix() const = 0;

protected:
    void set_base_name(const std::string& name) { name_ = name; }

private:
    std::string name_;
};

} // namespace mppi
