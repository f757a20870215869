#!/bin/sh
# Fails when a source file includes a header from a floor above its own.
# Floors, lowest first: document and ui_text (the interface texts and
# messages), render, print, then viewer, send and startup at the top.
# Prints every upward include it finds.
cd "$(dirname "$0")/../src" || exit 2
! grep -rnE '#include "(render|print|viewer|send|startup)/' document ui_text &&
! grep -rnE '#include "(print|viewer|send|startup)/' render &&
! grep -rnE '#include "(viewer|send|startup)/' print
