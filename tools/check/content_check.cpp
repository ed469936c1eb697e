// The checks, one per kind of file.
#include "check/content_check.hpp"

#include <fcntl.h>
#include <sndfile.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "base/content_paths.hpp"
#include "content/content_manifest.hpp"
#include "formats/character_record.hpp"
#include "formats/jpeg.hpp"
#include "formats/level_map_file.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"
#include "game/kinds.hpp"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool CheckContainer(const std::string& path, std::string& note, std::size_t* dataBytes = nullptr) {
  std::vector<uint8_t> bytes = ReadAll(path);
  ContainerParse parse = ParseTextureContainer(bytes);
  if (!parse.container) {
    note = parse.error;
    return false;
  }
  const TextureContainer& c = *parse.container;
  if (dataBytes) *dataBytes += c.data.size();
  if (!CompressedImageSize(c.internalFormat, c.width, c.height)) {
    note = "format 0x" + std::to_string(c.internalFormat) + " is no S3TC format";
    return false;
  }
  const char* names[] = {"DXT1", "DXT1 with alpha", "DXT3", "DXT5"};
  note = std::to_string(c.width) + " x " + std::to_string(c.height) + " " +
         names[c.internalFormat - kFormatDxt1Rgb];
  return true;
}

bool CheckTarga(const std::string& path, std::string& note) {
  std::vector<uint8_t> bytes = ReadAll(path);
  TargaParse parse = ParseTarga(bytes);
  if (!parse.image) {
    note = "not a usable Targa: " + parse.detail;
    return false;
  }
  if (bytes.size() > 16 && bytes[16] != 32) {
    note = "a " + std::to_string(bytes[16]) + "-bit Targa; the game takes 32 bits";
    return false;
  }
  // The game takes the rows in stored order and reads the first as the bottom of the picture.
  if (bytes[17] & 0x20) {
    note = "stored top row first; the game would show it upside down";
    return false;
  }
  note =
      std::to_string(parse.image->width) + " x " + std::to_string(parse.image->height) + " 32-bit";
  return true;
}

bool CheckJpeg(const std::string& path, std::string& note) {
  JpegDecode decode = DecodeJpeg(ReadAll(path));
  if (!decode.image) {
    note = "not a JPEG: " + decode.error;
    return false;
  }
  if (decode.endedEarly) {
    note = "damaged: the data ends early, the game would make up the rest of the picture";
    return false;
  }
  note = std::to_string(decode.image->width) + " x " + std::to_string(decode.image->height);
  if (!decode.warning.empty()) note += " (" + decode.warning + ")";
  return true;
}

bool CheckSound(const std::string& path, bool mp3, std::string& note) {
  SF_INFO info{};
  // libsndfile refuses long names (a deep content folder); it closes the descriptor.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  SNDFILE* file = fd < 0 ? nullptr : sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
  if (!file) {
    note = std::string("cannot be decoded: ") + sf_strerror(nullptr);
    return false;
  }
  sf_close(file);
  int major = info.format & SF_FORMAT_TYPEMASK;
  if (mp3 ? major != SF_FORMAT_MPEG : major != SF_FORMAT_WAV) {
    note = mp3 ? "not an MP3" : "not a WAV";
    return false;
  }
  if (info.frames <= 0) {
    note = "holds no sound";
    return false;
  }
  // Every stream is played at 44100 samples a second whatever its file says.
  if (info.samplerate != 44100) {
    note = std::to_string(info.samplerate) + " Hz: it would play at the wrong speed";
    return false;
  }
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.2f s, %d channel%s",
                static_cast<double>(info.frames) / info.samplerate, info.channels,
                info.channels == 1 ? "" : "s");
  note = buf;
  return true;
}

// Frame folders: numbered containers from 0 with no gaps; the count must cover `needed`.
bool CheckFrames(const std::string& dir, int needed, std::string& note, int& count) {
  std::set<int> numbers;
  count = 0;
  std::size_t dataBytes = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = Lower(it->path().filename().string());
    if (it->is_directory() || name.size() < 5 || name.substr(name.size() - 4) != ".dxt") continue;
    ++count;
    std::string stem = name.substr(0, name.size() - 4);
    if (stem.empty() || !std::all_of(stem.begin(), stem.end(), ::isdigit) ||
        (stem.size() > 1 && stem[0] == '0')) {
      note = "\"" + name + "\" is not named by a frame number";
      return false;
    }
    numbers.insert(std::stoi(stem));
    std::string inner;
    if (!CheckContainer(it->path().string(), inner, &dataBytes)) {
      note = name + ": " + inner;
      return false;
    }
    if (dataBytes > kMaxFrameFolderBytes) {
      note = "more than " + std::to_string(kMaxFrameFolderBytes >> 20) +
             " MiB of pictures: the game stops loading the folder there";
      return false;
    }
  }
  if (count == 0) {
    note = "no frames";
    return false;
  }
  if (*numbers.rbegin() != count - 1) {
    note = "frames are not numbered 0.." + std::to_string(count - 1) + " without gaps";
    return false;
  }
  if (count < needed) {
    note = std::to_string(count) + " frames, " + std::to_string(needed) + " are used";
    return false;
  }
  note = std::to_string(count) + " frames";
  return true;
}

struct Context {
  ContentPaths paths;
  std::map<std::string, int> frameCounts;  // by lower-case folder game path
  std::optional<LevelMapFile> map;
  std::array<std::optional<CharacterRecord>, kKindSlots> defs;
};

bool Contains(const AnimEntry& e, int frame) {
  return frame >= e.firstFrame && frame < e.firstFrame + e.frameCount;
}

bool CheckDefinition(Context& ctx, int kind, const std::string& path, std::string& note) {
  CharacterRecordParse parse = ParseCharacterRecord(ReadAll(path));
  if (!parse.record) {
    note = parse.error;
    return false;
  }
  const CharacterRecord& r = *parse.record;
  if (r.kind != kind) {
    note = "its kind field is " + std::to_string(r.kind) + ", not " + std::to_string(kind);
    return false;
  }
  if (r.spriteSize <= 0 || r.life < 1 || r.speed <= 0 || r.boxLeft >= r.boxRight ||
      r.boxTop >= r.boxBottom) {
    note = "sprite size, life, speed or body box make no sense";
    return false;
  }
  const KindRow& row = KindOf(kind);
  for (int slot : row.animations) {
    const AnimEntry& e = r.anims[slot];
    if (e.firstFrame < 0 || e.frameCount < 1 || e.firstFrame + e.frameCount > 513 || e.rate < 0) {
      note = "animation " + std::to_string(slot) + " is outside the frame table";
      return false;
    }
  }
  // The blows land on fixed pictures, which their animations must show.
  for (const BlowFrame& blow : row.blowFrames) {
    if (!Contains(r.anims[blow.animation], blow.frame)) {
      note = "animation " + std::to_string(blow.animation) + " does not contain frame " +
             std::to_string(blow.frame) + ", so its blow never lands";
      return false;
    }
  }
  ctx.defs[static_cast<std::size_t>(kind)] = r;
  note = "life " + std::to_string(r.life) + ", damage " + std::to_string(r.damage) + ", sprite " +
         std::to_string(r.spriteSize);
  return true;
}

bool CheckMap(Context& ctx, const std::string& path, std::string& note) {
  LevelMapRead read = ReadLevelMapFile(path);
  if (!read.ok()) {
    note = read.error == LevelMapError::Unreadable ? "cannot be read: " + read.detail : read.detail;
    return false;
  }
  const LevelMapFile& m = read.map;
  const std::vector<LevelMapProblem> unplayable = FindUnplayable(m);
  if (!unplayable.empty()) {
    note = unplayable.front().message;
    return false;
  }
  ctx.map = m;
  note = std::to_string(m.Width) + " x " + std::to_string(m.Height) + " screens, " +
         std::to_string(m.CharCount()) + " characters, " + std::to_string(m.ItemCount()) + " items";
  return true;
}

int NeededFrames(const Context& ctx, const std::string& folder) {
  std::string lower = Lower(folder);
  if (lower == Lower(kLevelFolder)) return ctx.map ? ctx.map->Width * ctx.map->Height : 1;
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (lower != Lower(kKinds[kind].frames) || !ctx.defs[kind]) continue;
    int needed = 1;
    for (int slot : kKinds[kind].animations) {
      const AnimEntry& e = ctx.defs[kind]->anims[slot];
      needed = std::max(needed, e.firstFrame + e.frameCount);
    }
    return needed;
  }
  return 1;
}

}  // namespace

std::vector<CheckResult> CheckContent(const fs::path& root) {
  Context ctx{ContentPaths(root), {}, {}, {}};
  std::vector<CheckResult> results;
  for (const Asset& asset : GameAssets()) {
    CheckResult r{asset.gamePath, true, {}};
    std::optional<std::string> path = ctx.paths.Resolve(asset.gamePath);
    if (!path) {
      r.ok = false;
      r.note = "missing";
      results.push_back(r);
      continue;
    }
    // A FIFO or a device in a file's place would keep the check waiting at the open.
    if (asset.kind != AssetKind::FrameFolder && !ctx.paths.IsFile(asset.gamePath)) {
      r.ok = false;
      r.note = "not a regular file";
      results.push_back(r);
      continue;
    }
    int kind = -1;
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
      if (Lower(asset.gamePath) == Lower(kKinds[k].definition)) kind = static_cast<int>(k);
    }
    switch (asset.kind) {
      case AssetKind::Container:
        r.ok = CheckContainer(*path, r.note);
        break;
      case AssetKind::Targa:
        r.ok = CheckTarga(*path, r.note);
        break;
      case AssetKind::Jpeg:
        r.ok = CheckJpeg(*path, r.note);
        break;
      case AssetKind::Wave:
        r.ok = CheckSound(*path, false, r.note);
        break;
      case AssetKind::Mp3:
        r.ok = CheckSound(*path, true, r.note);
        break;
      case AssetKind::LevelMap:
        r.ok = CheckMap(ctx, *path, r.note);
        break;
      case AssetKind::Definition:
        r.ok = CheckDefinition(ctx, kind, *path, r.note);
        break;
      case AssetKind::FrameFolder: {
        int count = 0;
        r.ok = CheckFrames(*path, std::max(asset.minFrames, NeededFrames(ctx, asset.gamePath)),
                           r.note, count);
        break;
      }
    }
    results.push_back(r);
  }
  return results;
}
