# One line per libFuzzer target: name, then the sources it needs beside fuzz/fuzz_<name>.cpp.
zu_fuzz_target(wave src/sound/wave_reader.cpp)
zu_fuzz_target(bmp src/platform/video/bmp.cpp)
zu_fuzz_target(midi src/platform/audio/midi_file.cpp)
zu_fuzz_target(soundpack src/sound/pack_entry.cpp src/platform/sjis.cpp src/platform/audio/wave_format.cpp)
zu_fuzz_target(drawpack src/draw/pack_reader.cpp)
