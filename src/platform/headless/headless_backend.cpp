// Headless backend: virtual clock, scripted input, in-memory audio.
