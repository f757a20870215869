#include "print/print_hooks.h"

namespace vell {

PrintHooks& print_hooks() {
    static PrintHooks hooks;
    return hooks;
}

}  // namespace vell
