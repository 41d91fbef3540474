// Families 6 and 7: draw pack pictures, sound pack sounds with mix slots and echo, the two
// streams, MIDI with repeat and end of loop, and a system sound.
#include <zu/draw/zu_draw.h>
#include <zu/sound/zu_sound.h>

#include "show.h"

namespace show {
namespace {

bool silent() { return zuSound::soundState.enabled == 0; }
void sayMissing(int32_t y) {
    if (silent()) label(40, y, "No sound device: every sound operation does nothing, loads return -1.");
}

void drawPackPictures(const Frame& f) {
    zuDraw::ClearScreen();
    const char* names[] = {"WHEEL1.BMP", "WHEEL2.BMP", "WHEEL3.BMP", "WHEEL4.BMP"};
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t x = 60 + i % 2 * 340, y = 50 + i / 2 * 190 + (i == f.count / 30 % 4 ? -6 : 0);
        if (data.packPictures[i]) zuDraw::Blit(x, y, data.packPictures[i], 0, 0, 160, 120);
        label(x, y + 126, "LoadPack(\"%s\") -> object %d", names[i], data.packPictures[i]);
    }
}

// The pack sounds: P plays the selected one in the next slot, E with an echo, W with a
// wandering echo; volume, pan and rate move on keys for the slot next in turn.
int32_t selected = 0, echoKind = 0;
void drawPackSounds(const Frame& f) {
    zuDraw::ClearScreen();
    const int32_t n = data.sounds[selected];
    switch (f.key) {
    case 'S': selected = (selected + 1) % 3; break;
    case 'P': zuSound::Play(n, -1), echoKind = 0; break;
    case 'E': zuSound::Play(n, -2), echoKind = 1; break;
    case 'W': zuSound::Play(n, -2), echoKind = 2; break;
    case 'V': zuSound::AddVolume(n, -3, -1); break;
    case 'B': zuSound::AddVolume(n, 3, -1); break;
    case 'N': zuSound::AddPan(n, -20, -1); break;
    case 'M': zuSound::AddPan(n, 20, -1); break;
    case 'R': zuSound::AddFrequency(n, -20, -1); break;
    case 'T': zuSound::AddFrequency(n, 20, -1); break;
    }
    if (echoKind == 1) zuSound::Echo(n, 180, 4, 6);
    if (echoKind == 2) zuSound::EchoPan(n, 150, 6, 4, 2);
    const char* names[] = {"pluck.wav", "chime.wav", "tone.wav"};
    for (int32_t i = 0; i < 3; ++i) {
        label(40, 60 + i * 110, "%s LoadPack(\"%s\", 4 slots) -> sound %d", i == selected ? ">" : " ", names[i], data.sounds[i]);
        if (data.sounds[i] < 0) continue;
        const zuSound::SoundObject& o = zuSound::soundState.objects[data.sounds[i]];
        for (int32_t slot = 0; slot < o.slotCount; ++slot)
            label(60, 80 + i * 110 + slot * 18, "slot %d: volume %d dB  pan %d  rate %u Hz%s", slot, o.volume[slot] / 100,
                  o.pan[slot] / 100, o.frequency[slot], slot == o.nextSlot ? "  <- next" : "");
    }
    label(40, 400, "echo: %s", echoKind == 0 ? "none" : echoKind == 1 ? "Echo 180 ms x4 -6 dB" : "EchoPan 150 ms x6 -4 dB pan speed 2");
    sayMissing(380);
}

// L starts or stops the looping stream, O plays the one-shot stream, which ends by itself.
void drawStreams(const Frame& f) {
    zuDraw::ClearScreen();
    if (f.key == 'L') {
        static bool on = false;
        on = !on;
        on ? zuSound::PlayLoop(data.loopStream, 0) : zuSound::Stop(data.loopStream, 0);
    }
    if (f.key == 'O') zuSound::Play(data.oneShot, 0);
    const int32_t numbers[] = {data.loopStream, data.oneShot};
    const char* names[] = {"LoadStream(\"music.wav\", loop 0), PlayLoop", "LoadStream(\"oneshot.wav\"), Play: ends"};
    for (int32_t i = 0; i < 2; ++i) {
        label(40, 60 + i * 100, "%s -> sound %d", names[i], numbers[i]);
        if (numbers[i] < 0) continue;
        const zuSound::SoundStream& s = zuSound::soundState.streams[numbers[i]];
        const uint32_t bytesPerSecond = 22050 * 2;
        label(60, 80 + i * 100, "%.1f s of %.1f s read, cursor %u", double(s.consumed) / bytesPerSecond,
              double(s.dataSize) / bytesPerSecond, zuSound::GetPosition(numbers[i]));
        const int32_t width = s.dataSize ? int32_t(500.0 * s.consumed / s.dataSize) : 0;
        zuDraw::FillRect(60, 100 + i * 100, 60 + width, 110 + i * 100, 0x07E0);
    }
    label(40, 300, "Streaming() runs once a frame and refills 2-second chunks");
    sayMissing(380);
}
void stopAll() {
    for (int32_t n : {data.sounds[0], data.sounds[1], data.sounds[2], data.loopStream, data.oneShot}) zuSound::Stop(n, -1);
    echoKind = 0;
}

int32_t systemSounds = 0;
void enterMidi() { zuSound::PlayMidi("ZUSHOW\\TUNE.MID", 1); }
void drawMidi(const Frame& f) {
    zuDraw::ClearScreen();
    if (f.key == 'E') zuSound::EndMidiLoop();
    if (f.key == 'R') enterMidi();
    if (f.key == 'C') zuSound::CloseMidi();
    if (f.key == 'S') zuSound::PlaySystemSound("ZUSHOW\\SYSTEM.WAV"), ++systemSounds;
    const zuSound::MidiState& m = zuSound::midiState;
    label(40, 60, "PlayMidi(\"ZUSHOW\\TUNE.MID\", repeat 1): 32 s of our own tune, General MIDI");
    label(40, 90, "midiState: open %d, repeat %d; %.1f s on this screen", m.open, m.repeat, f.count / 60.0);
    label(40, 120, "E EndMidiLoop (ends at the end), R plays again, C CloseMidi");
    label(40, 170, "PlaySystemSound(\"ZUSHOW\\SYSTEM.WAV\"): played %d times", systemSounds);
    if (silent()) label(40, 380, "No sound device: MIDI keeps its time in silence, system sounds are skipped.");
    zuDraw::FillRect(40, 140, 40 + f.count % 1920 * 560 / 1920, 150, int32_t(zuDraw::pixelFormat.whiteValue));
}

}  // namespace

const Screen soundScreens[] = {
    {6, "Draw pack: SetPackFile(\"ZUSHOW\\PICS.PAK\"), LoadPack", "", drawPackPictures},
    {6, "Sound pack: LoadPack with 4 mix slots, Echo, EchoPan", "S select  P play  E echo  W echo+pan  V/B volume  N/M pan  R/T rate",
     drawPackSounds, nullptr, stopAll},
    {6, "Streams: a looping stream and a one-shot stream", "L loop on/off  O one-shot", drawStreams, nullptr, stopAll},
};
const int32_t soundScreenCount = 3;

const Screen musicScreens[] = {
    {7, "MIDI: PlayMidi, MidiNotify repeat, EndMidiLoop; PlaySystemSound", "E end loop  R restart  C close  S system sound",
     drawMidi, enterMidi, zuSound::CloseMidi},
};
const int32_t musicScreenCount = 1;

}  // namespace show
