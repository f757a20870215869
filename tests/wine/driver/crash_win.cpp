// `vtdriver crash`: the rig case that checks crash handling.
#include <cstdio>

#include "driver.h"

namespace vtdriver {

// `vtdriver crash`: ends by an access violation, as a crashing vell.exe
// would, so that a rig case can check that a crash ends the program with
// its exception code instead of waiting in Wine's debugger.
int cmd_crash(const Args&) {
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}

}  // namespace vtdriver
