// SDL2 backend: window, events, presentation, audio device, controllers.
