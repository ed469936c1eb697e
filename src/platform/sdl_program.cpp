// Choosing the windowed back ends.
#include "platform/sdl_program.hpp"

#include "app/program.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_audio.hpp"

int RunInWindow(const ProgramOptions& options, SdlPlatform& platform) {
  GlRenderer renderer(platform);
  renderer.SetPictureSource(ContentPictures());
  // The game needs no sound to be played: without a device it runs silent, keeping time.
  SdlAudio audio;
  audio.OpenInBackground(kMixRate);
  return RunProgram(options, platform, renderer, audio);
}
