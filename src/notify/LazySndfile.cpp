// libsndfile's functions that the program calls, loaded with the library on
// first use (see LazyLibrary.h).
#include "LazyLibrary.h"

#include <sndfile.h>

#define SNDFILE_SO "libsndfile.so.1"

extern "C" {

TICKWELL_FORWARD(SNDFILE_SO, SNDFILE *, sf_open_fd, (int fd, int mode, SF_INFO *info, int closeDesc),
    (fd, mode, info, closeDesc), nullptr)
TICKWELL_FORWARD(SNDFILE_SO, int, sf_close, (SNDFILE * file), (file), 0)
TICKWELL_FORWARD(SNDFILE_SO, int, sf_command, (SNDFILE * file, int command, void *data, int size),
    (file, command, data, size), 0)
TICKWELL_FORWARD(SNDFILE_SO, sf_count_t, sf_readf_float, (SNDFILE * file, float *frames, sf_count_t count),
    (file, frames, count), 0)
TICKWELL_FORWARD(SNDFILE_SO, sf_count_t, sf_seek, (SNDFILE * file, sf_count_t frames, int whence),
    (file, frames, whence), -1)

} // extern "C"
