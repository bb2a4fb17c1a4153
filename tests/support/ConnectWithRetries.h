#pragma once

#include <unistd.h>

namespace test {

// The virtual display now and then refuses a connection that follows
// another closely: a few tries, apart. connect returns something that tests
// false when refused (a pointer, a handle).
template <typename Connect>
auto connect_with_retries(Connect connect) {
    auto connection = connect();
    for (int i = 0; i < 10 && !connection; ++i) {
        usleep(50000);
        connection = connect();
    }
    return connection;
}

} // namespace test
