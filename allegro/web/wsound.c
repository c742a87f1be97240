/* The digital sound driver of the web platform: Allegro's software mixer
 * feeds Web Audio. There is no audio thread to mix in, so each vsync mixes
 * on the page's one thread, in chunks of 1024 frames at 44.1 kHz (23 ms),
 * enough to keep 100 ms scheduled ahead on the AudioContext's clock: a pass
 * of the main loop that comes a frame or two late finds sound still queued. */

#include <emscripten.h>

#include "aintweb.h"

#define MIX_RATE 44100
#define CHUNK_FRAMES 1024

/* The game's music stream holds 2048 frames at 22.05 kHz a half, 93 ms, and
 * is refilled once a pass; three chunks (70 ms) a pass never mix past a half
 * the game has not refilled yet. */
#define MOST_CHUNKS_A_PASS 3

static short chunk[CHUNK_FRAMES * 2];
static char web_sound_desc[64] = EMPTY_STRING;

/* The context starts suspended until the player's first click or key, as
 * browsers require; the chunks go to an analyser, which the page may read,
 * and on to the speakers. */
/* clang-format off */
EM_JS(int, web_audio_open, (int rate, int frames, double lead), {
   var Context = window.AudioContext || window.webkitAudioContext;
   if (!Context)
      return 0;
   var context = new Context({ latencyHint: 'interactive' });
   var analyser = context.createAnalyser();
   analyser.fftSize = 2048;
   analyser.connect(context.destination);
   var audio = {
      context: context,
      analyser: analyser,
      rate: rate,
      frames: frames,
      lead: lead,
      nextStart: 0,
      wallClock: performance.now() / 1000,
      queued: false,
      resumeOnShow: false,
      lastCall: performance.now(),
      underruns: 0,
      starved: 0,
      chunks: 0
   };
   /* A hidden page's sound rests until it shows, even if a finger lifted
    * (a cancelled touch) as it went out of sight. */
   audio.wake = function() {
      if (context.state !== 'running' && !document.hidden)
         context.resume();
   };
   document.addEventListener('pointerdown', audio.wake, true);
   document.addEventListener('keydown', audio.wake, true);
   Module['webAudio'] = audio;
   return 1;
});
/* clang-format on */

/* How many chunks are due: enough to keep the lead on the context's clock,
 * or, before the context runs, as many as the wall clock has played, so that
 * the sounds move on in time rather than wait for the first click. Running
 * dry is counted, and apart those times when the page itself was held up
 * for longer than the lead (starved: a busy machine, a stall of the
 * browser's), which no mixing in time could have helped. */
/* clang-format off */
EM_JS(int, web_audio_chunks_due, (int most), {
   var audio = Module['webAudio'];
   var length = audio.frames / audio.rate;
   var sinceLastCall = performance.now() - audio.lastCall;
   var due;
   audio.lastCall += sinceLastCall;
   if (audio.context.state === 'running') {
      var now = audio.context.currentTime;
      if (audio.nextStart < now) {
         if (audio.queued) {
            audio.underruns++;
            if (sinceLastCall > audio.lead * 1000)
               audio.starved++;
         }
         audio.nextStart = now;
      }
      due = Math.ceil((now + audio.lead - audio.nextStart) / length);
   } else {
      due = Math.floor((performance.now() / 1000 - audio.wallClock) / length);
      audio.wallClock += Math.max(0, due) * length;
      /* Unheard, what a long wait left behind is not caught up. */
      if (due > most)
         audio.wallClock = performance.now() / 1000;
   }
   return Math.max(0, Math.min(due, most));
});
/* clang-format on */

/* Plays one mixed chunk, 16-bit signed stereo, after the ones queued. */
/* clang-format off */
EM_JS(void, web_audio_queue, (const short *samples, int frames), {
   var audio = Module['webAudio'];
   if (audio.context.state !== 'running')
      return;
   var source = HEAP16.subarray(samples >> 1, (samples >> 1) + frames * 2);
   var buffer = audio.context.createBuffer(2, frames, audio.rate);
   var left = buffer.getChannelData(0), right = buffer.getChannelData(1);
   for (var f = 0; f < frames; f++) {
      left[f] = source[2 * f] / 32768;
      right[f] = source[2 * f + 1] / 32768;
   }
   var node = audio.context.createBufferSource();
   node.buffer = buffer;
   node.connect(audio.analyser);
   node.start(audio.nextStart);
   audio.nextStart += frames / audio.rate;
   audio.queued = true;
   audio.chunks++;
});
/* clang-format on */

/* Out of sight the context is suspended (the mixer goes on unheard, on the
 * wall clock) and it runs again when the page shows, if it ran before; what
 * was queued is gone then, which is no running dry. */
/* clang-format off */
EM_JS(void, web_audio_follow_visibility, (int hidden), {
   var audio = Module['webAudio'];
   if (hidden) {
      audio.resumeOnShow = audio.context.state === 'running';
      if (audio.resumeOnShow)
         audio.context.suspend();
      audio.queued = false;
      audio.wallClock = performance.now() / 1000;
   } else if (audio.resumeOnShow) {
      audio.context.resume();
   }
});
/* clang-format on */

/* clang-format off */
EM_JS(void, web_audio_close, (void), {
   var audio = Module['webAudio'];
   document.removeEventListener('pointerdown', audio.wake, true);
   document.removeEventListener('keydown', audio.wake, true);
   audio.context.close();
   delete Module['webAudio'];
});
/* clang-format on */

static int sound_running = FALSE;

void _web_sound_mix(void)
{
    int due;

    if (!sound_running)
        return;
    for (due = web_audio_chunks_due(MOST_CHUNKS_A_PASS); due > 0; due--) {
        _mix_some_samples((uintptr_t)chunk, 0, TRUE);
        web_audio_queue(chunk, CHUNK_FRAMES);
    }
}

void _web_sound_follow_visibility(int hidden)
{
    if (sound_running)
        web_audio_follow_visibility(hidden);
}

static int web_sound_detect(int input)
{
    if (input)
        return FALSE;
    return EM_ASM_INT({ return !!(window.AudioContext || window.webkitAudioContext); });
}

static int web_sound_init(int input, int voices)
{
    if (input) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Input is not supported"));
        return -1;
    }
    _sound_freq = MIX_RATE;
    _sound_bits = 16;
    _sound_stereo = TRUE;
    digi_web.voices = voices;
    if (_mixer_init(CHUNK_FRAMES * 2, MIX_RATE, TRUE, TRUE, &digi_web.voices) != 0) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Can not init software mixer"));
        return -1;
    }
    if (!web_audio_open(MIX_RATE, CHUNK_FRAMES, 0.1)) {
        _mixer_exit();
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE,
                 get_config_text("No Web Audio in this browser"));
        return -1;
    }
    uszprintf(web_sound_desc, sizeof(web_sound_desc), "Web Audio: 16 bits, stereo, %d Hz",
              MIX_RATE);
    digi_web.desc = web_sound_desc;
    sound_running = TRUE;
    return 0;
}

static void web_sound_exit(int input)
{
    if (input || !sound_running)
        return;
    sound_running = FALSE;
    web_audio_close();
    _mixer_exit();
}

/* The audio streams' fragments: one chunk. */
static int web_sound_buffer_size(void) { return CHUNK_FRAMES; }

DIGI_DRIVER digi_web = {
    .id = DIGI_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web Audio",
    .max_voices = MIXER_MAX_SFX,
    .def_voices = MIXER_DEF_SFX,
    .detect = web_sound_detect,
    .init = web_sound_init,
    .exit = web_sound_exit,
    .buffer_size = web_sound_buffer_size,
    .init_voice = _mixer_init_voice,
    .release_voice = _mixer_release_voice,
    .start_voice = _mixer_start_voice,
    .stop_voice = _mixer_stop_voice,
    .loop_voice = _mixer_loop_voice,
    .get_position = _mixer_get_position,
    .set_position = _mixer_set_position,
    .get_volume = _mixer_get_volume,
    .set_volume = _mixer_set_volume,
    .ramp_volume = _mixer_ramp_volume,
    .stop_volume_ramp = _mixer_stop_volume_ramp,
    .get_frequency = _mixer_get_frequency,
    .set_frequency = _mixer_set_frequency,
    .sweep_frequency = _mixer_sweep_frequency,
    .stop_frequency_sweep = _mixer_stop_frequency_sweep,
    .get_pan = _mixer_get_pan,
    .set_pan = _mixer_set_pan,
    .sweep_pan = _mixer_sweep_pan,
    .stop_pan_sweep = _mixer_stop_pan_sweep,
    .set_echo = _mixer_set_echo,
    .set_tremolo = _mixer_set_tremolo,
    .set_vibrato = _mixer_set_vibrato,
};
