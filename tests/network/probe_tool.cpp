// Probes each address of its command line as the windows do and prints
// "ADDRESS yes" or "ADDRESS no"; the tests run it without privileges.
#include "OvAddressProbe.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const bool answered = ovnet::addressProbe(nullptr, QString::fromLocal8Bit(argv[i]));
        std::printf("%s %s\n", argv[i], answered ? "yes" : "no");
        std::fflush(stdout);
    }
    return 0;
}
