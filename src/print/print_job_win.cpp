// The print job. Not built yet: the user is told so; nothing is printed.
#include "print/print_job.h"

#include "viewer/message_box.h"

namespace vell {

void print_document(bool) {
    show_message("Printing is not available in this version of vell yet.");
}

}  // namespace vell
