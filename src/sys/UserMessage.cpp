#include "sys/UserMessage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sys {

void tell_user(const std::string& sentence) {
    std::fprintf(stderr, "quevrin: %s\n", sentence.c_str());
    std::fflush(stderr);
}

std::string write_failure(int error) {
    const std::string words = std::strerror(error);
#ifdef EDQUOT
    if (error == EDQUOT) {
        return "the disk is full (" + words + ")";
    }
#endif
    return error == ENOSPC ? "the disk is full (" + words + ")" : words;
}

} // namespace sys
