// Input scripts: every line form, errors with their line numbers, and writing them back.
#include <gtest/gtest.h>

#include <sstream>

#include "app/key_names.hpp"
#include "harness/input_script.hpp"
#include "harness/options.hpp"

namespace {
ScriptParse Parse(const std::string& text) {
  std::istringstream in(text);
  return ParseInputScript(in);
}
}  // namespace

TEST(InputScript, ReadsEveryKindOfLine) {
  ScriptParse p = Parse(
      "# a comment line\n"
      "0 seed 42\n"
      "3 key down Escape   # trailing comment\n"
      "4 key up \"Left Ctrl\"\n"
      "4 key down Left Ctrl\n"
      "5 text q\n"
      "6 mouse move 400 -3\n"
      "6 mouse down middle\n"
      "7 joy axis x -600\n"
      "7 joy button 32 down\n"
      "8 pad button 4 up\n"
      "9 focus lost\n"
      "9 focus gained\n"
      "10 step 12.5\n"
      "\n"
      "11 quit\r\n");
  ASSERT_EQ(p.error, "");
  ASSERT_EQ(p.lines.size(), 14u);
  EXPECT_EQ(p.lines[0].kind, ScriptLine::Kind::Seed);
  EXPECT_EQ(p.lines[0].seed, 42u);
  EXPECT_EQ(p.lines[1].event.type, EventType::KeyDown);
  EXPECT_EQ(p.lines[1].event.key, vk::Escape);
  EXPECT_EQ(p.lines[2].event.type, EventType::KeyUp);
  EXPECT_EQ(p.lines[2].event.key, vk::Control);
  EXPECT_EQ(p.lines[3].event.key, vk::Control);
  EXPECT_EQ(p.lines[4].event.type, EventType::Text);
  EXPECT_EQ(p.lines[5].event.x, 400);
  EXPECT_EQ(p.lines[5].event.y, -3);
  EXPECT_EQ(p.lines[6].event.button, MouseButton::Middle);
  EXPECT_EQ(p.lines[7].event.value, -600);
  EXPECT_EQ(p.lines[8].event.key, 32);
  EXPECT_TRUE(p.lines[8].event.down);
  EXPECT_EQ(p.lines[9].event.type, EventType::PadButton);
  EXPECT_EQ(p.lines[10].event.type, EventType::FocusLost);
  EXPECT_EQ(p.lines[12].kind, ScriptLine::Kind::Step);
  EXPECT_DOUBLE_EQ(p.lines[12].stepMs, 12.5);
  EXPECT_EQ(p.lines[13].event.type, EventType::Quit);
  EXPECT_EQ(p.lines[13].frame, 11);
}

TEST(InputScript, LinesAreSortedByFrameKeepingTheirOrderWithinAFrame) {
  ScriptParse p = Parse("5 key down A\n2 key down B\n5 key up A\n");
  ASSERT_EQ(p.lines.size(), 3u);
  EXPECT_EQ(p.lines[0].frame, 2);
  EXPECT_EQ(p.lines[1].event.type, EventType::KeyDown);
  EXPECT_EQ(p.lines[2].event.type, EventType::KeyUp);
}

TEST(InputScript, BadLinesNameTheirNumber) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"1 key down A\n2 key down NoSuchKey\n", "line 2:"},
      {"x key down A\n", "line 1:"},
      {"-1 quit\n", "line 1:"},
      {"1 joy axis x 1001\n", "line 1:"},
      {"1 joy button 0 down\n", "line 1:"},
      {"1 mouse down sideways\n", "line 1:"},
      {"1 mouse move 1\n", "line 1:"},
      {"# ok\n\n3 dance\n", "line 3:"},
      {"1 quit now\n", "line 1:"},
      {"1 step -4\n", "line 1:"},
      {"1 step nan\n", "line 1:"},
      {"1 step inf\n", "line 1:"},
      {"1 step 10001\n", "line 1:"},
      {"1 text ab\n", "line 1:"},
      {"1 text 256\n", "line 1:"},
      {"1 key down unnamed\n", "line 1:"},
      {"1 text -1\n", "line 1:"},
      {"1 pad press z down\n", "line 1:"},
      {"1 joy press a down\n", "line 1:"},
      {"1 pad press a sideways\n", "line 1:"},
  };
  for (const Case& c : cases) {
    ScriptParse p = Parse(c.text);
    EXPECT_EQ(p.error.rfind(c.error, 0), 0u) << c.text << " gave \"" << p.error << "\"";
    EXPECT_TRUE(p.lines.empty());
  }
}

TEST(InputScript, WrittenEventsReadBackTheSame) {
  std::vector<Event> events;
  auto add = [&](EventType type, int key = 0, int x = 0, int y = 0) {
    Event e;
    e.type = type;
    e.key = key;
    e.x = x;
    e.y = y;
    e.axis = x;
    e.value = y;
    e.down = true;
    events.push_back(e);
  };
  add(EventType::KeyDown, vk::Control);
  add(EventType::KeyUp, 'Q');
  add(EventType::KeyUp, 0);  // a key without a name
  add(EventType::Text, 'z');
  // Characters a script cannot spell as themselves: the comment sign, a blank, a UTF-8 lead byte.
  add(EventType::Text, '#');
  add(EventType::Text, ' ');
  add(EventType::Text, 0xC3);
  add(EventType::Text, '7');
  add(EventType::MouseMove, 0, 12, 34);
  add(EventType::JoyAxis, 0, 1, -1000);
  add(EventType::PadAxis, 0, 0, 250);
  add(EventType::JoyButton, 7);
  add(EventType::PadPress, 0);  // the first and the last controller button by name
  add(EventType::PadPress, 20);
  add(EventType::FocusLost);
  add(EventType::Quit);
  std::string script;
  for (size_t i = 0; i < events.size(); ++i) script += FormatScriptEvent(10 + i, events[i]) + "\n";
  ScriptParse p = Parse(script);
  ASSERT_EQ(p.error, "") << script;
  ASSERT_EQ(p.lines.size(), events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    const Event& a = events[i];
    const Event& b = p.lines[i].event;
    EXPECT_EQ(p.lines[i].frame, static_cast<int64_t>(10 + i));
    EXPECT_EQ(a.type, b.type) << i;
    if (a.type == EventType::MouseMove) EXPECT_EQ(std::tie(a.x, a.y), std::tie(b.x, b.y));
    if (a.type == EventType::JoyAxis || a.type == EventType::PadAxis) {
      EXPECT_EQ(std::tie(a.axis, a.value), std::tie(b.axis, b.value));
    }
    if (a.type == EventType::KeyDown || a.type == EventType::KeyUp ||
        a.type == EventType::JoyButton || a.type == EventType::Text ||
        a.type == EventType::PadPress) {
      EXPECT_EQ(a.key, b.key) << i;
    }
  }
}

TEST(CommandLine, AcceptsTheDocumentedOptionsAndRefusesOthers) {
  const char* good[] = {
      "morva",    "--root",       "r",          "--config", "c.dat",   "--windowed", "--headless",
      "--frames", "30",           "--frame-ms", "10",       "--seed",  "7",          "--input",
      "in.txt",   "--dump-state", "s.json",     "--record", "rec.txt", "--play",     "--no-draw"};
  ParseResult r = ParseCommandLine(static_cast<int>(std::size(good)), good);
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_TRUE(r.options->play);
  EXPECT_TRUE(r.options->noDraw);
  EXPECT_FALSE(ParseCommandLine(2, good).options->play) << "only when asked for";
  EXPECT_FALSE(ParseCommandLine(2, good).options->noDraw);
  EXPECT_EQ(r.options->root, "r");
  EXPECT_EQ(r.options->windowed, true);
  EXPECT_TRUE(r.options->headless);
  EXPECT_EQ(r.options->frames, 30);
  EXPECT_EQ(r.options->frameMs, 10.0);
  EXPECT_EQ(r.options->seed, 7u);
  EXPECT_EQ(r.options->record, "rec.txt");
  const char* picture[] = {"morva", "--windowed", "--screenshot", "s.png"};
  EXPECT_EQ(ParseCommandLine(4, picture).options->screenshot, "s.png");

  for (std::vector<const char*> bad : {std::vector<const char*>{"morva", "--frames"},
                                       {"morva", "--frames", "-1"},
                                       {"morva", "--frames", "3x"},
                                       {"morva", "--frame-ms", "1e-320"},
                                       {"morva", "--seed", "abc"},
                                       {"morva", "--seed=-1"},
                                       {"morva", "--root="},
                                       {"morva", "--headless=yes"},
                                       {"morva", "--play=yes"},
                                       {"morva", "--no-draw=yes"},
                                       {"morva", "--headless", "--screenshot", "s.png"},
                                       {"morva", "-x"},
                                       {"morva", "--bogus"}}) {
    ParseResult b = ParseCommandLine(static_cast<int>(bad.size()), bad.data());
    EXPECT_FALSE(b.options) << bad.back();
    EXPECT_FALSE(b.error.empty());
  }
}

TEST(InputScript, FixedStepsAreZeroOrATenthOfAMillisecondAndMore) {
  struct Row {
    const char* ms;
    bool ok;
  } rows[] = {{"0", true},     {"0.1", true},      {"0.09", false}, {"1e-320", false},
              {"10000", true}, {"10000.5", false}, {"-0", true},    {"-1", false},
              {"nan", false},  {"inf", false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.ms);
    const char* argv[] = {"morva", "--frame-ms", r.ms};
    EXPECT_EQ(ParseCommandLine(3, argv).options.has_value(), r.ok);
    EXPECT_EQ(Parse(std::string("0 step ") + r.ms + "\n").error.empty(), r.ok);
  }
}

TEST(InputScript, LinesAreBoundedAndTabsSeparateLikeBlanks) {
  ScriptParse tabbed = Parse("3 key down\tEscape\n4\tkey\tup\t\"Left Ctrl\"\n");
  ASSERT_TRUE(tabbed.error.empty()) << tabbed.error;
  ASSERT_EQ(tabbed.lines.size(), 2u);
  EXPECT_EQ(tabbed.lines[0].event.key, 0x1B);

  std::string longLine = "5 key down " + std::string(5000, 'x') + "\n";
  ScriptParse tooLong = Parse("1 text a\n" + longLine);
  EXPECT_EQ(tooLong.error, "line 2: longer than 4096 characters");
  EXPECT_TRUE(tooLong.lines.empty());
  // A line just inside the bound is read (and refused for what it says, quoted short).
  ScriptParse inside = Parse("5 frobnicate " + std::string(4096 - 13, 'y') + "\n");
  EXPECT_NE(inside.error.find("line 1: cannot read"), std::string::npos);
  EXPECT_LT(inside.error.size(), 120u) << "the line is not echoed whole";

  // An endless source of good lines stops at 16 MiB, and nothing past it is read.
  struct Endless : std::streambuf {
    std::string line = "# " + std::string(4000, '-') + "\n";
    std::size_t handedOut = 0;
    int_type underflow() override {
      handedOut += line.size();
      setg(line.data(), line.data(), line.data() + line.size());
      return traits_type::to_int_type(line[0]);
    }
  } endless;
  std::istream in(&endless);
  EXPECT_EQ(ParseInputScript(in).error, "longer than 16 MiB");
  EXPECT_LE(endless.handedOut, (std::size_t{16} << 20) + endless.line.size());
}

TEST(CommandLine, ValuesMayBeJoinedWithAnEqualsSignAndShortNamesWork) {
  const char* joined[] = {"morva",         "--root=r",     "--frames=30", "--frame-ms=2.5",
                          "--seed=0",      "--config=a=b", "-V",          "-h",
                          "--print-paths", "--fullscreen", "--input",     "--weird-name"};
  ParseResult r = ParseCommandLine(static_cast<int>(std::size(joined)), joined);
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->root, "r");
  EXPECT_EQ(r.options->frames, 30);
  EXPECT_EQ(r.options->frameMs, 2.5);
  EXPECT_EQ(r.options->seed, 0u);
  EXPECT_EQ(r.options->config, "a=b") << "only the first = separates";
  EXPECT_TRUE(r.options->version);
  EXPECT_TRUE(r.options->help);
  EXPECT_TRUE(r.options->printPaths);
  EXPECT_EQ(r.options->windowed, false) << "--fullscreen, over settings.cfg";
  EXPECT_EQ(r.options->input, "--weird-name") << "a separate value is taken as it is";
}

TEST(CommandLine, TheHelpNamesEveryOptionThePlacesTheVariablesAndTheStatuses) {
  std::string help = HelpText();
  for (const char* needed : {"--root",
                             "--level",
                             "--config",
                             "--windowed",
                             "--fullscreen",
                             "--headless",
                             "--frames",
                             "--frame-ms",
                             "--seed",
                             "--input",
                             "--record",
                             "--dump-state",
                             "--screenshot",
                             "--print-paths",
                             "-h,",
                             "--help",
                             "-V,",
                             "--version",
                             "MORVA_ROOT",
                             "XDG_CONFIG_HOME",
                             "XDG_DATA_HOME",
                             "SDL_VIDEODRIVER",
                             "SDL_AUDIODRIVER",
                             MORVA_CONTENT_FROM_PROGRAM,
                             MORVA_INSTALL_CONTENT_DIR,
                             "  0  ",
                             "  2  ",
                             "  3  ",
                             "  4  "}) {
    EXPECT_NE(help.find(needed), std::string::npos) << needed;
  }
  // Every line fits a terminal of 80 columns.
  size_t start = 0;
  while (start < help.size()) {
    size_t end = help.find('\n', start);
    EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
    start = end + 1;
  }
}
