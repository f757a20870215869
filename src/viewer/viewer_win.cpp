// The viewer window. Not built yet: until it is, a valid document simply
// ends the program after start-up has checked it.
#include "viewer/viewer.h"

namespace vell {

void create_viewer_resources() {}
void destroy_viewer_resources() {}
void run_viewer_window() {}

}  // namespace vell
