// The back ends the game runs on: window system, renderer, audio device and content paths.
#pragma once

class Platform;
class Renderer;
class AudioDevice;
class ContentPaths;

struct Backends {
  Platform* platform = nullptr;
  Renderer* renderer = nullptr;
  AudioDevice* audio = nullptr;
  ContentPaths* content = nullptr;
};

extern Backends backends;
