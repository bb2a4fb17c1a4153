#pragma once

#include "mppi/NormalizedParamInterface.h"

namespace mppi {

// A parameter of a numbered unit (a delay line, a tap): its full name is
// prefix + (number + 1) + suffix, so number 0 shows as "1".
class ParamNumbered : public NormalizedParamInterface {
public:
    std::string get_name() const override {
        return get_prefix() + std::to_string(number_ + 1) + get_suffix();
    }

    // [editor thread] As init(), and stores the 0-based number.
    virtual void init_numbered(double internal, int attribute, int number) {
        init(internal, attribute);
        number_ = number;
    }
    virtual int get_number() const { return number_; }
    virtual std::string get_prefix() const = 0;
    virtual std::string get_suffix() const = 0;

private:
    int number_ = 0;
};

} // namespace mppi
