# One line per libFuzzer target: name, then the sources it needs beside fuzz/fuzz_<name>.cpp.
zu_fuzz_target(wave src/sound/wave_reader.cpp)
zu_fuzz_target(bmp src/platform/video/bmp.cpp)
zu_fuzz_target(drawpack src/draw/pack_reader.cpp)
