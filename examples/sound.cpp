// Sounds, channels and looping music.
#include <string>

#include "example_run.h"

using namespace kestrel;

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();
    if (!Graphics(640, 480)) return 1;

    // Music loops (SOUND_LOOP) on a channel of its own, which keeps its
    // volume; effects each take a free channel when played.
    auto music = LoadSound(run.Data("sfx/menu.ogg"), SOUND_LOOP);
    auto click = LoadSound(run.Data("sfx/click.wav"));
    auto whoosh = LoadSound(run.Data("sfx/lanza.wav"));
    if (!music || !click || !whoosh) return 1;

    TChannelPtr musicChannel = CueSound(music);  // ready, paused
    float volume = 0.5f;
    SetChannelVolume(musicChannel, volume);
    ResumeChannel(musicChannel);
    PlaySound(click);  // one at the start, so a recording is never silent

    int frame = 0;
    while (run.Running()) {
        if (KeyHit(KEY_1)) PlaySound(click);
        if (KeyHit(KEY_2)) {
            TChannelPtr c = PlaySound(whoosh);
            SetChannelPan(c, (frame % 120) / 60.0f - 1.0f);  // somewhere left to right
        }
        if (KeyHit(KEY_UP)) volume = volume < 0.9f ? volume + 0.1f : 1.0f;
        if (KeyHit(KEY_DOWN)) volume = volume > 0.1f ? volume - 0.1f : 0.0f;
        SetChannelVolume(musicChannel, volume);
        if (KeyHit(KEY_P)) {
            if (ChannelPlaying(musicChannel)) PauseChannel(musicChannel);
            else ResumeChannel(musicChannel);
        }

        Cls();
        SetColor(255, 255, 255);
        DrawText("1: click   2: whoosh   Up/Down: music volume   P: pause music", 8, 8);
        DrawText("Audio driver: " + AudioDriver()->Name(), 8, 28);
        DrawText("Music volume " + std::to_string(int(volume * 100 + 0.5f)) + "%" +
                     (ChannelPlaying(musicChannel) ? "" : " (paused)"), 8, 48);
        Flip();
        ++frame;
    }
    StopChannel(musicChannel);
    return 0;
}
