// The game as it starts in a window, reporting when its first frame is presented.
#include "harness/options.hpp"
#include "launch_clock.hpp"
#include "platform/sdl_program.hpp"

namespace {
class ProbePlatform : public SdlPlatform {
 public:
  using SdlPlatform::SdlPlatform;
  void SwapBuffers() override {
    SdlPlatform::SwapBuffers();
    if (!reported_) ReportSinceLaunch("first-frame");
    reported_ = true;
  }

 private:
  bool reported_ = false;
};
}  // namespace

int main(int argc, char** argv) {
  ParseResult parsed = ParseCommandLine(argc, argv);
  if (!parsed.options) return 2;
  ProbePlatform platform(false, true);
  if (!platform.Ok()) return 4;
  return RunInWindow(*parsed.options, platform);
}
