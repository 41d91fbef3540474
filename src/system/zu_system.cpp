// zuSystem: window, input, waits, messages, paths and quit.
