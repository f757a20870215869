// Host stand-in for the temporary directory: $TMPDIR, else /tmp/.
#include "render/pictures.h"

#include <cstdlib>

namespace vell {

std::string SystemFileSystem::temp_path() {
    const char* value = std::getenv("TMPDIR");
    std::string directory = value && *value ? value : "/tmp";
    if (directory.back() != '/') directory += '/';
    return directory;
}

}  // namespace vell
