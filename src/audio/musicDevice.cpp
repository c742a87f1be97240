#include "musicDevice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double rate = musicSequencer::sampleRate;
// A crossfade takes half a second; a new level is reached within a tenth.
constexpr double fadeStep = 1 / (0.5 * rate);
constexpr double levelStep = 255 / (0.1 * rate);
// Under the sound effects: at the default volumes the music is some 10 dB
// quieter than a typical effect.
constexpr double headroom = 0.25;

double stepToward(double value, double target, double step)
{
    return value < target ? std::min(target, value + step) : std::max(target, value - step);
}

}  // namespace

musicDevice::~musicDevice()
{
    if (stream != nullptr)
        stop_audio_stream(stream);
}

bool musicDevice::start()
{
    stream = play_audio_stream(bufferFrames, 16, FALSE, musicSequencer::sampleRate, 255, 128);
    return stream != nullptr;
}

void musicDevice::startPiece(int piece)
{
    // A piece already silenced, as under a banner, must not sound again
    // while it fades out.
    if (level > 0)
        outgoing = std::move(playing);
    else
        outgoing = channel{};
    playing.piece = std::make_unique<musicSequencer>(musicScore::piece(piece));
    playing.gain = 0;
}

void musicDevice::setLevel(int newLevel) { targetLevel = std::clamp(newLevel, 0, 255); }

void musicDevice::fillStream()
{
    if (stream == nullptr)
        return;
    while (void* buffer = get_audio_stream_buffer(stream)) {
        mix(static_cast<std::uint16_t*>(buffer), bufferFrames);
        free_audio_stream_buffer(stream);
    }
}

void musicDevice::mix(std::uint16_t* out, int count)
{
    for (int i = 0; i < count; ++i) {
        const double value = take(playing, 1) + take(outgoing, 0);
        level = stepToward(level, targetLevel, levelStep);
        out[i] = static_cast<std::uint16_t>(
            0x8000 + std::lround(std::clamp(value * level / 255 * headroom, -1.0, 1.0) * 32767));
    }
    if (outgoing.piece != nullptr && outgoing.gain == 0)
        outgoing.piece.reset();
}

double musicDevice::take(channel& from, double target)
{
    if (from.piece == nullptr)
        return 0;
    float sample = 0;
    from.piece->render(&sample, 1);
    from.gain = stepToward(from.gain, target, fadeStep);
    return sample * from.gain;
}
