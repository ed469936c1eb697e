// Reading and writing the level map file, one float at a time.
#include "formats/level_map_file.hpp"

#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>

namespace {

// Hands out the file's floats in order from a small window of bytes.
class FloatStream {
 public:
  explicit FloatStream(std::istream& in) : in_(in) {}

  // False at the end of the file (a partial value is remembered, not returned).
  bool Next(float& value) {
    if (pos_ + 4 > end_ && !Refill()) return false;
    uint32_t bits = static_cast<uint32_t>(buffer_[pos_]) |
                    static_cast<uint32_t>(buffer_[pos_ + 1]) << 8 |
                    static_cast<uint32_t>(buffer_[pos_ + 2]) << 16 |
                    static_cast<uint32_t>(buffer_[pos_ + 3]) << 24;
    pos_ += 4;
    ++count_;
    value = std::bit_cast<float>(bits);
    return true;
  }

  // Counts whatever follows without keeping it, up to one value past `limit`: a file that long
  // is refused whatever else follows, so the rest is not read.
  void SkipRest(int64_t limit) {
    float ignored;
    while (count_ <= limit && Next(ignored)) {
    }
  }

  int64_t Count() const { return count_; }
  bool PartialTail() const { return end_ > pos_ && end_ - pos_ < 4 && exhausted_; }

 private:
  bool Refill() {
    if (exhausted_) return false;
    std::size_t left = end_ - pos_;
    for (std::size_t i = 0; i < left; ++i) buffer_[i] = buffer_[pos_ + i];
    pos_ = 0;
    end_ = left;
    in_.read(reinterpret_cast<char*>(buffer_.data() + end_),
             static_cast<std::streamsize>(buffer_.size() - end_));
    end_ += static_cast<std::size_t>(in_.gcount());
    if (!in_) exhausted_ = true;
    return end_ >= 4;
  }

  std::istream& in_;
  std::array<uint8_t, 1 << 16> buffer_{};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
  int64_t count_ = 0;
};

enum class Step { Ok, End, Range };

class Parser {
 public:
  Parser(std::istream& in, LevelMapRead& result) : values_(in), result_(result) {}

  // The next value truncated toward zero and tested against [low, high].
  Step Int(int64_t low, int64_t high, int64_t& out, const char* field) {
    float v;
    if (!values_.Next(v)) return EndsBefore(field);
    return InRange(v, low, high, out, field);
  }

  // A position, x then y; an x read before the file ends is kept.
  Step Point(MapPoint& pos, const char* xName, const char* yName) {
    constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
    constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
    int64_t v = 0;
    Step step = Int(kInt32Min, kInt32Max, v, xName);
    if (step != Step::Ok) return step;
    pos.x = static_cast<int32_t>(v);
    step = Int(kInt32Min, kInt32Max, v, yName);
    if (step == Step::Ok) pos.y = static_cast<int32_t>(v);
    return step;
  }

  // A cell of the grid. Nearly every one holds a whole number 0..255, taken as it stands; any
  // other value gets the general test and its message.
  Step CellValue(uint8_t& cell) {
    float v;
    if (!values_.Next(v)) return EndsBefore("a cell");
    if (v >= 0.0f && v < 256.0f) {
      cell = static_cast<uint8_t>(v);
      return Step::Ok;
    }
    int64_t out = 0;
    Step step = InRange(v, 0, 255, out, "a cell");
    if (step == Step::Ok) cell = static_cast<uint8_t>(out);
    return step;
  }

  Step EndsBefore(const char* field) {
    Fail(LevelMapError::Truncated, std::string("the file ends before ") + field + " (value " +
                                       std::to_string(values_.Count()) + ")");
    return Step::End;
  }

  Step InRange(float v, int64_t low, int64_t high, int64_t& out, const char* field) {
    double t = std::trunc(static_cast<double>(v));
    if (!std::isfinite(t) || t < static_cast<double>(low) || t > static_cast<double>(high)) {
      Fail(LevelMapError::OutOfRange, std::string(field) + " is " + std::to_string(v) +
                                          " at value " + std::to_string(values_.Count() - 1) +
                                          ", outside " + std::to_string(low) + ".." +
                                          std::to_string(high));
      return Step::Range;
    }
    out = static_cast<int64_t>(t);
    return Step::Ok;
  }

  void Fail(LevelMapError error, std::string detail) {
    if (result_.error != LevelMapError::None) return;
    result_.error = error;
    result_.detail = std::move(detail);
  }

  void Run() {
    LevelMapFile& map = result_.map;
    // Each size is range-tested as it is read, before the zero test, so a map that stops at a
    // zero size never holds a size the grid cannot take.
    int64_t w = 0, h = 0;
    if (Int(0, kMaxMapWidth, w, "Width") != Step::Ok) return;
    map.Width = static_cast<int32_t>(w);
    if (Int(0, kMaxMapHeight, h, "Height") != Step::Ok) return;
    map.Height = static_cast<int32_t>(h);
    if (w == 0 || h == 0) {
      Fail(LevelMapError::ZeroSize, "Width " + std::to_string(w) + ", Height " + std::to_string(h));
      return;
    }
    map.Resize(static_cast<int32_t>(w), static_cast<int32_t>(h));
    for (uint8_t& cell : map.Cells) {
      if (CellValue(cell) != Step::Ok) return;
    }

    int64_t count;
    if (Int(0, 65535, count, "CharCount") != Step::Ok) return;
    if (count > kMaxMapCharacters) {
      Fail(LevelMapError::OutOfRange, "CharCount " + std::to_string(count) + " is above 256");
      return;
    }
    map.CharType.assign(static_cast<std::size_t>(count), 0);
    map.CharActivation.assign(static_cast<std::size_t>(count), 0);
    map.CharPos.assign(static_cast<std::size_t>(count), MapPoint{});
    for (uint8_t& kind : map.CharType) {
      int64_t v;
      if (Int(0, 255, v, "CharType") != Step::Ok) return;
      kind = static_cast<uint8_t>(v);
    }
    for (uint8_t& rule : map.CharActivation) {
      int64_t v;
      if (Int(0, 255, v, "CharActivation") != Step::Ok) return;
      rule = static_cast<uint8_t>(v);
    }
    for (std::size_t k = 0; k < map.CharPos.size(); ++k) {
      MapPoint& pos = map.CharPos[k];
      Step step = Point(pos, "CharPos x", "CharPos y");
      if (step == Step::Range) return;
      // A y the file does not hold reads as 0, so an x below 0 before the end is still refused.
      if (pos.x < 0 || pos.y < 0) {
        result_.error = LevelMapError::NegativeCharPos;
        result_.detail = "character " + std::to_string(k) + " at (" + std::to_string(pos.x) + ", " +
                         std::to_string(pos.y) + ")";
        return;
      }
      if (step == Step::End) return;
    }

    if (Int(0, 65535, count, "ItemCount") != Step::Ok) return;
    if (count > kMaxMapItems) {
      Fail(LevelMapError::OutOfRange, "ItemCount " + std::to_string(count) + " is above 256");
      return;
    }
    map.ItemType.assign(static_cast<std::size_t>(count), 0);
    map.ItemPos.assign(static_cast<std::size_t>(count), MapPoint{});
    for (uint8_t& kind : map.ItemType) {
      int64_t v;
      if (Int(0, 255, v, "ItemType") != Step::Ok) return;
      kind = static_cast<uint8_t>(v);
    }
    for (MapPoint& pos : map.ItemPos) {
      if (Point(pos, "ItemPos x", "ItemPos y") != Step::Ok) return;
    }
  }

  // The whole file is read before it is parsed, so a file too long to hold, or one that ends
  // inside a value, fails on reading whatever its values say; values after the items are ignored.
  void CheckWholeFile() {
    values_.SkipRest(kMaxMapValues);
    std::string found = result_.ok() ? "" : " (" + result_.detail + ")";
    if (values_.Count() > kMaxMapValues) {
      result_.error = LevelMapError::TooManyValues;
      result_.detail = "more than " + std::to_string(kMaxMapValues) + " values" + found;
    } else if (values_.PartialTail()) {
      result_.error = LevelMapError::PartialValue;
      result_.detail = "the file length is not a multiple of 4 bytes" + found;
    }
  }

 private:
  FloatStream values_;
  LevelMapRead& result_;
};

void PutFloat(std::vector<uint8_t>& out, double value) {
  uint32_t bits = std::bit_cast<uint32_t>(static_cast<float>(value));
  out.push_back(static_cast<uint8_t>(bits));
  out.push_back(static_cast<uint8_t>(bits >> 8));
  out.push_back(static_cast<uint8_t>(bits >> 16));
  out.push_back(static_cast<uint8_t>(bits >> 24));
}

bool ExactInFloat(int32_t v) {
  constexpr int32_t kExact = 1 << 24;
  return v >= -kExact && v <= kExact;
}

}  // namespace

uint8_t LevelMapFile::Cell(int cx, int cy) const {
  if (cx < 0 || cy < 0 || cx >= Columns() || cy >= Rows()) return 0;
  std::size_t index = static_cast<std::size_t>(cx) * static_cast<std::size_t>(Rows()) +
                      static_cast<std::size_t>(cy);
  return index < Cells.size() ? Cells[index] : 0;
}

void LevelMapFile::Resize(int32_t width, int32_t height) {
  Width = width;
  Height = height;
  Cells.assign(static_cast<std::size_t>(Columns()) * static_cast<std::size_t>(Rows()), 0);
}

void LevelMapFile::SetCell(int cx, int cy, uint8_t value) {
  if (cx < 0 || cy < 0 || cx >= Columns() || cy >= Rows()) return;
  Cells[static_cast<std::size_t>(cx) * static_cast<std::size_t>(Rows()) +
        static_cast<std::size_t>(cy)] = value;
}

LevelMapRead ReadLevelMap(std::istream& in) {
  LevelMapRead result;
  Parser parser(in, result);
  parser.Run();
  parser.CheckWholeFile();
  return result;
}

namespace {
// Why a map file could not be opened, from what its status said and the open's errno.
std::string WhyNotOpened(const std::filesystem::file_status& status, bool regular,
                         const std::error_code& ec) {
  if (regular) return errno != 0 ? std::strerror(errno) : "it cannot be opened";
  if (std::filesystem::is_directory(status)) return "is a folder";
  if (std::filesystem::exists(status)) return "not a regular file";
  return ec ? ec.message() : "no such file";
}
}  // namespace

LevelMapRead ReadLevelMapFile(const std::filesystem::path& path) {
  // Only a regular file is opened: a FIFO in its place would keep the open waiting for ever.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  const bool regular = std::filesystem::is_regular_file(status);
  std::ifstream in;
  errno = 0;
  if (regular) in.open(path, std::ios::binary);
  if (!regular || !in) {
    LevelMapRead result;
    result.error = LevelMapError::Unreadable;
    result.detail = WhyNotOpened(status, regular, ec);
    return result;
  }
  return ReadLevelMap(in);
}

std::string ValidateLevelMap(const LevelMapFile& map) {
  if (map.Width < 1 || map.Width > kMaxMapWidth || map.Height < 1 || map.Height > kMaxMapHeight) {
    return "the size " + std::to_string(map.Width) + " x " + std::to_string(map.Height) +
           " screens is outside 1..25 x 1..16";
  }
  if (map.Cells.size() != static_cast<std::size_t>(map.Columns()) * map.Rows()) {
    return "the grid holds " + std::to_string(map.Cells.size()) + " cells, not " +
           std::to_string(map.Columns() * map.Rows());
  }
  if (map.CharActivation.size() != map.CharType.size() ||
      map.CharPos.size() != map.CharType.size()) {
    return "the character runs differ in length";
  }
  if (map.ItemPos.size() != map.ItemType.size()) return "the item runs differ in length";
  if (map.CharCount() > kMaxMapCharacters) return "more than 256 characters";
  if (map.ItemCount() > kMaxMapItems) return "more than 256 items";
  for (std::size_t k = 0; k < map.CharPos.size(); ++k) {
    const MapPoint& p = map.CharPos[k];
    if (p.x < 0 || p.y < 0) return "character " + std::to_string(k) + " has a negative position";
    if (!ExactInFloat(p.x) || !ExactInFloat(p.y)) {
      return "character " + std::to_string(k) + " lies too far out for a float";
    }
  }
  for (std::size_t k = 0; k < map.ItemPos.size(); ++k) {
    if (!ExactInFloat(map.ItemPos[k].x) || !ExactInFloat(map.ItemPos[k].y)) {
      return "item " + std::to_string(k) + " lies too far out for a float";
    }
  }
  return {};
}

std::vector<LevelMapProblem> FindUnplayable(const LevelMapFile& map) {
  using About = LevelMapProblem::About;
  std::vector<LevelMapProblem> found;
  if (map.Width * map.Height > 100) {
    found.push_back({About::Level, 0,
                     std::to_string(map.Width) + " x " + std::to_string(map.Height) +
                         " screens, more than 100"});
  }
  if (map.CharCount() == 0 || map.CharType[0] != 0) {
    found.push_back({About::Level, 0, "the first character must be the player (kind 0)"});
  }
  // A start far outside the map is drawn billions of pixels off the screen.
  const int64_t wide = int64_t{map.Width} * kScreenWidthPx;
  const int64_t high = int64_t{map.Height} * kScreenHeightPx;
  auto outside = [&](const MapPoint& p) {
    return p.x < 0 || p.y < 0 || p.x >= wide || p.y >= high;
  };
  auto at = [](const MapPoint& p) { return std::to_string(p.x) + ", " + std::to_string(p.y); };
  for (std::size_t k = 0; k < map.CharCount(); ++k) {
    if (map.CharType[k] > 9) {
      found.push_back({About::Character, k,
                       "character " + std::to_string(k) + " has kind " +
                           std::to_string(map.CharType[k]) + ", above 9"});
    }
    if (k < map.CharPos.size() && outside(map.CharPos[k])) {
      found.push_back(
          {About::Character, k,
           "character " + std::to_string(k) + " starts outside the map, at " + at(map.CharPos[k])});
    }
  }
  if (map.ItemCount() > 100) {
    found.push_back({About::Level, 0, std::to_string(map.ItemCount()) + " items, more than 100"});
  }
  for (std::size_t k = 0; k < map.ItemCount(); ++k) {
    if (map.ItemType[k] > 7) {
      found.push_back(
          {About::Item, k, "an item of kind " + std::to_string(map.ItemType[k]) + ", above 7"});
    }
    if (k < map.ItemPos.size() && outside(map.ItemPos[k])) {
      found.push_back(
          {About::Item, k,
           "item " + std::to_string(k) + " lies outside the map, at " + at(map.ItemPos[k])});
    }
  }
  return found;
}

std::vector<uint8_t> EncodeLevelMap(const LevelMapFile& map) {
  std::vector<uint8_t> out;
  out.reserve(4 * (4 + map.Cells.size() + 4 * map.CharCount() + 3 * map.ItemCount()));
  PutFloat(out, map.Width);
  PutFloat(out, map.Height);
  for (uint8_t cell : map.Cells) PutFloat(out, cell);
  PutFloat(out, static_cast<double>(map.CharCount()));
  for (uint8_t kind : map.CharType) PutFloat(out, kind);
  for (uint8_t rule : map.CharActivation) PutFloat(out, rule);
  for (const MapPoint& p : map.CharPos) {
    PutFloat(out, p.x);
    PutFloat(out, p.y);
  }
  PutFloat(out, static_cast<double>(map.ItemCount()));
  for (uint8_t kind : map.ItemType) PutFloat(out, kind);
  for (const MapPoint& p : map.ItemPos) {
    PutFloat(out, p.x);
    PutFloat(out, p.y);
  }
  return out;
}
