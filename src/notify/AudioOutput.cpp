#include "AudioOutput.h"

#if TICKWELL_HAVE_PULSE
#include "PulseAudioOutput.h"
#else
#include "QtAudioOutput.h"
#endif

std::unique_ptr<AudioOutput> AudioOutput::create()
{
#if TICKWELL_HAVE_PULSE
    return std::make_unique<PulseAudioOutput>();
#else
    return std::make_unique<QtAudioOutput>();
#endif
}
