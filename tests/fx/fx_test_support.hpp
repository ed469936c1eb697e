// What the effect tests share: a recorder that also notes each state switch between the draws,
// and a fresh program state on the demo content.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "test_support.hpp"

// The draw list with the state switches in between: "depth off", "blend on", "quad", "line".
class EventRenderer : public RecorderRenderer {
 public:
  std::vector<std::string> events;

  void SetState(RenderState state, bool on) override {
    static const char* const kNames[] = {"depth", "blend", "alpha test", "texturing"};
    events.push_back(std::string(kNames[static_cast<int>(state)]) + (on ? " on" : " off"));
    RecorderRenderer::SetState(state, on);
  }
  void DrawQuad(Texture texture, double x, double y, double depth, double width, double height,
                double alpha) override {
    events.push_back("quad");
    RecorderRenderer::DrawQuad(texture, x, y, depth, width, height, alpha);
  }
  void DrawLine(double x1, double y1, double x2, double y2, double depth,
                const float colour[4]) override {
    events.push_back("line");
    lastColour.assign(colour, colour + 4);
    RecorderRenderer::DrawLine(x1, y1, x2, y2, depth, colour);
  }
  std::vector<float> lastColour;
};

// Fake back ends on the demo content, with the event renderer in place of the plain recorder.
struct FxTest : ::testing::Test {
  FakeBackends fake{MORVA_TEST_CONTENT};
  EventRenderer renderer;

  void SetUp() override {
    backends.renderer = &renderer;
    gameState.morva.frameTime = 10;
    NewFrame();
  }
  void TearDown() override { SetFatalHandler(nullptr); }
  void NewFrame() {
    renderer.BeginFrame(0, 800, 0, 600);
    renderer.events.clear();
  }
  const std::vector<DrawRecord>& Draws() const { return *renderer.DrawList(); }
  // The draws of one operation, optionally only those from a texture whose path holds `pathPart`.
  std::vector<DrawRecord> DrawsOf(const std::string& op, const std::string& pathPart = "") const {
    std::vector<DrawRecord> out;
    for (const DrawRecord& d : Draws()) {
      if (d.op == op && d.texturePath.find(pathPart) != std::string::npos) out.push_back(d);
    }
    return out;
  }
};
