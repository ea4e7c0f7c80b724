// The PulseAudio client library's functions that the program calls, loaded
// with the library on first use (see LazyLibrary.h).
#include "LazyLibrary.h"

#include <pulse/pulseaudio.h>
#include <pulse/thread-mainloop.h>

#define PULSE_SO "libpulse.so.0"

extern "C" {

// The threaded main loop.
TICKWELL_FORWARD(PULSE_SO, pa_threaded_mainloop *, pa_threaded_mainloop_new, (void), (), nullptr)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_threaded_mainloop_free, (pa_threaded_mainloop * m), (m))
TICKWELL_FORWARD(PULSE_SO, int, pa_threaded_mainloop_start, (pa_threaded_mainloop * m), (m), -1)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_threaded_mainloop_stop, (pa_threaded_mainloop * m), (m))
TICKWELL_FORWARD_VOID(PULSE_SO, pa_threaded_mainloop_lock, (pa_threaded_mainloop * m), (m))
TICKWELL_FORWARD_VOID(PULSE_SO, pa_threaded_mainloop_unlock, (pa_threaded_mainloop * m), (m))
TICKWELL_FORWARD(PULSE_SO, pa_mainloop_api *, pa_threaded_mainloop_get_api, (pa_threaded_mainloop * m), (m),
    nullptr)

// The connection.
TICKWELL_FORWARD(PULSE_SO, pa_context *, pa_context_new, (pa_mainloop_api * api, const char *name),
    (api, name), nullptr)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_context_unref, (pa_context * c), (c))
TICKWELL_FORWARD(PULSE_SO, int, pa_context_connect,
    (pa_context * c, const char *server, pa_context_flags_t flags, const pa_spawn_api *api),
    (c, server, flags, api), -PA_ERR_NOTSUPPORTED)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_context_disconnect, (pa_context * c), (c))
TICKWELL_FORWARD(PULSE_SO, pa_context_state_t, pa_context_get_state, (const pa_context *c), (c),
    PA_CONTEXT_FAILED)
TICKWELL_FORWARD(PULSE_SO, int, pa_context_errno, (const pa_context *c), (c), PA_ERR_NOTSUPPORTED)

// The playback stream.
TICKWELL_FORWARD(PULSE_SO, pa_stream *, pa_stream_new,
    (pa_context * c, const char *name, const pa_sample_spec *format, const pa_channel_map *map),
    (c, name, format, map), nullptr)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_stream_unref, (pa_stream * s), (s))
TICKWELL_FORWARD(PULSE_SO, int, pa_stream_connect_playback,
    (pa_stream * s, const char *device, const pa_buffer_attr *attr, pa_stream_flags_t flags,
        const pa_cvolume *volume, pa_stream *sync),
    (s, device, attr, flags, volume, sync), -PA_ERR_NOTSUPPORTED)
TICKWELL_FORWARD(PULSE_SO, int, pa_stream_disconnect, (pa_stream * s), (s), -PA_ERR_NOTSUPPORTED)
TICKWELL_FORWARD(PULSE_SO, pa_stream_state_t, pa_stream_get_state, (const pa_stream *s), (s), PA_STREAM_FAILED)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_stream_set_state_callback,
    (pa_stream * s, pa_stream_notify_cb_t callback, void *data), (s, callback, data))
TICKWELL_FORWARD_VOID(PULSE_SO, pa_stream_set_write_callback,
    (pa_stream * s, pa_stream_request_cb_t callback, void *data), (s, callback, data))
TICKWELL_FORWARD(PULSE_SO, int, pa_stream_write,
    (pa_stream * s, const void *data, size_t bytes, pa_free_cb_t freeData, int64_t offset, pa_seek_mode_t seek),
    (s, data, bytes, freeData, offset, seek), -PA_ERR_NOTSUPPORTED)
TICKWELL_FORWARD(PULSE_SO, pa_operation *, pa_stream_trigger,
    (pa_stream * s, pa_stream_success_cb_t callback, void *data), (s, callback, data), nullptr)
TICKWELL_FORWARD(PULSE_SO, pa_operation *, pa_stream_drain,
    (pa_stream * s, pa_stream_success_cb_t callback, void *data), (s, callback, data), nullptr)
TICKWELL_FORWARD_VOID(PULSE_SO, pa_operation_unref, (pa_operation * o), (o))
TICKWELL_FORWARD_VOID(PULSE_SO, pa_operation_cancel, (pa_operation * o), (o))

// Samples and channels.
TICKWELL_FORWARD(PULSE_SO, int, pa_sample_spec_valid, (const pa_sample_spec *format), (format), 0)
TICKWELL_FORWARD(PULSE_SO, size_t, pa_frame_size, (const pa_sample_spec *format), (format), 0)
TICKWELL_FORWARD(PULSE_SO, size_t, pa_usec_to_bytes, (pa_usec_t t, const pa_sample_spec *format), (t, format), 0)
TICKWELL_FORWARD(PULSE_SO, pa_channel_map *, pa_channel_map_init, (pa_channel_map * m), (m), nullptr)
TICKWELL_FORWARD(PULSE_SO, pa_channel_map *, pa_channel_map_init_extend,
    (pa_channel_map * m, unsigned channels, pa_channel_map_def_t def), (m, channels, def), nullptr)

} // extern "C"
