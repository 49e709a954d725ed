// The muxer's reading and writing through the descriptor the working file
// already holds: the file is never opened again by its name, so a file
// system that serves a second opening of a file badly (FAT through FUSE)
// sees one handle from the first byte to the index moved to the front.
#pragma once

#include "engine/avptr.h"

namespace zelo {

// An I/O context over fd from its first byte, with a position of its own;
// fd is not owned and must stay open until closeFdIo.
AVIOContext *openFdIo(int fd, bool write);

// Writes out what is buffered and frees a context from openFdIo; 0 or the
// first error it met.
int closeFdIo(AVIOContext **pb);

} // namespace zelo
