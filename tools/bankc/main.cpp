// quevrin-bankc SOURCE.txt OUTPUT.vnpb: compiles a readable bank source into
// the bank container the plug-in embeds. Exit status 0, or 2 with one line on
// stderr naming the file, the line and the problem.
#include "bankc/BankCompiler.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quevrin-bankc SOURCE.txt OUTPUT.vnpb\n");
        return 2;
    }
    std::string error;
    const int status = bankc::compile_file(argv[1], argv[2], error);
    if (status != 0)
        std::fprintf(stderr, "quevrin-bankc: %s\n", error.c_str());
    return status;
}
