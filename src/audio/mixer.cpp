// The mixer: stream table, play state and the sum of the playing streams.
#include "audio/mixer.hpp"

#include <algorithm>
#include <cmath>

#include "base/messages.hpp"

namespace {
constexpr size_t kBytesPerSample = 2;
constexpr size_t kPreparedFrames = 4096;

uint64_t FrameBytes(const SoundSource& source) {
  return static_cast<uint64_t>(source.Channels()) * kBytesPerSample;
}

int16_t ToSample(float v) {
  v = std::clamp(v, -32768.0f, 32767.0f);
  return static_cast<int16_t>(std::lrint(v));
}

}  // namespace

Mixer::Mixer() {
  accumulator_.resize(kPreparedFrames * 2);
}

uint32_t Mixer::Open(const std::string& path, const std::vector<std::string>& files) {
  // Opening reads the file (a short MP3 is decoded whole); it happens before the lock is taken,
  // so the audio thread never waits for it.
  std::string firstWhy;
  for (const std::string& file : files) {
    std::string why;
    std::optional<std::unique_ptr<SoundSource>> decoded = prefetch_.Take(file, why);
    std::unique_ptr<SoundSource> source =
        decoded ? std::move(*decoded) : OpenSoundSource(file, &why);
    if (source) {
      if (source->CutShort()) {
        NoteMessageUtf8("Sound", "File \"" + Cp1257ToUtf8(path) +
                                     "\" ends early: it plays shorter than its header says.");
      }
      return Add(path, std::move(source));
    }
    if (firstWhy.empty()) firstWhy = why;
  }
  // The game goes on with the sound silent; the line says which file to mend or put back.
  if (firstWhy.empty()) firstWhy = "no such file";
  NoteMessageUtf8("Sound", "Couldn't play file \"" + Cp1257ToUtf8(path) + "\": " + firstWhy + ".");
  return 0;
}

uint32_t Mixer::Open(const std::string& path, const std::string& file) {
  return Open(path, file.empty() ? std::vector<std::string>{} : std::vector<std::string>{file});
}

uint32_t Mixer::Add(const std::string& path, std::unique_ptr<SoundSource> source) {
  if (!source) return 0;
  auto s = std::make_unique<Stream>();
  s->path = path;
  s->length = source->Frames();
  s->source = std::move(source);
  std::lock_guard lock(mutex_);
  streams_.push_back(std::move(s));
  return static_cast<uint32_t>(streams_.size());
}

void Mixer::Clear() {
  std::vector<std::unique_ptr<Stream>> old;
  {
    std::lock_guard lock(mutex_);
    old.swap(streams_);
    // What was mixed but not yet heard goes too: after this the device is silent at once.
    limiter_ = Limiter();
  }
  // The sources (and their open files) go here, outside the lock.
}

Mixer::Stream* Mixer::Find(uint32_t handle) {
  if (handle == 0 || handle > streams_.size()) return nullptr;
  return streams_[handle - 1].get();
}

const Mixer::Stream* Mixer::Find(uint32_t handle) const {
  if (handle == 0 || handle > streams_.size()) return nullptr;
  return streams_[handle - 1].get();
}

bool Mixer::Play(uint32_t handle, bool restart) {
  Stream* s = Find(handle);
  if (!s) return false;
  PlayStream(*s, restart);
  return true;
}

void Mixer::PlayStream(Stream& s, bool restart) {
  // Playing on, as the game asks of a sound every frame while it plays: nothing changes.
  if (!restart && s.playing && s.sounding) return;
  // Outside the lock: a sound's first play may read its file.
  s.source->Prepare();
  std::lock_guard lock(mutex_);
  if (restart) {
    s.position = s.playhead = 0;
    s.source->Expect(0);
  }
  s.playing = s.position < s.source->Frames();
  // A device that got to the end first stays silent; one behind plays on to the end.
  s.sounding = s.playhead < s.source->Frames();
}

ChannelProgress Mixer::PlayOn(uint32_t handle, int volume, bool loop) {
  Stream* s = Find(handle);
  if (!s) return {};
  // The volume is set before the stream starts: the audio thread may mix it at any moment, and
  // must never hear a new sound at the volume of its previous use.
  s->volume = std::clamp(volume, 0, 100);
  // Starting a stream does not move it, so one look serves both tests.
  const ChannelProgress progress = ProgressOf(*s);
  if (progress.position < progress.length) PlayStream(*s, false);
  if (loop && progress.AtEnd()) MoveStream(*s, 0);
  return progress;
}

bool Mixer::Stop(uint32_t handle) {
  std::lock_guard lock(mutex_);
  Stream* s = Find(handle);
  if (!s) return false;
  s->playing = s->sounding = false;
  return true;
}

uint64_t Mixer::Position(uint32_t handle) const {
  return Progress(handle).position;
}

uint64_t Mixer::Length(uint32_t handle) const {
  return Progress(handle).length;
}

ChannelProgress Mixer::Progress(uint32_t handle) const {
  const Stream* s = Find(handle);
  return s ? ProgressOf(*s) : ChannelProgress{};
}

ChannelProgress Mixer::ProgressOf(const Stream& s) {
  const uint64_t frameBytes = FrameBytes(*s.source);
  return {s.position * frameBytes, s.length * frameBytes};
}

bool Mixer::SetPosition(uint32_t handle, uint64_t bytes) {
  Stream* s = Find(handle);
  return s && MoveStream(*s, bytes);
}

bool Mixer::MoveStream(Stream& s, uint64_t bytes) {
  std::lock_guard lock(mutex_);
  uint64_t frame = bytes / FrameBytes(*s.source);
  if (frame > s.source->Frames()) return false;
  s.position = s.playhead = frame;
  s.source->Expect(frame);
  // A playing stream moved to its very end has ended; the device plays what the game plays.
  if (s.position == s.source->Frames()) s.playing = false;
  s.sounding = s.playing.load();
  return true;
}

bool Mixer::SetVolume(uint32_t handle, int volume) {
  Stream* s = Find(handle);
  if (!s) return false;
  s->volume = std::clamp(volume, 0, 100);
  return true;
}

std::vector<StreamInfo> Mixer::Streams() const {
  std::lock_guard lock(mutex_);
  std::vector<StreamInfo> out;
  out.reserve(streams_.size());
  for (const auto& s : streams_) {
    uint64_t frameBytes = FrameBytes(*s->source);
    out.push_back(StreamInfo{s->path, s->position * frameBytes, s->source->Frames() * frameBytes,
                             s->playing, s->volume});
  }
  return out;
}

size_t Mixer::MemoryBytes() const {
  std::lock_guard lock(mutex_);
  size_t total = 0;
  for (const auto& s : streams_) total += s->source->MemoryBytes();
  return total;
}

void Mixer::MixStream(Stream& s, size_t frames) {
  SoundSource& source = *s.source;
  uint64_t left = source.Frames() - s.playhead;
  size_t todo = static_cast<size_t>(std::min<uint64_t>(frames, left));
  float gain = static_cast<float>(s.volume) / 100.0f;
  int channels = source.Channels();
  float* out = accumulator_.data();
  size_t done = 0;
  // A silent stream still moves on, but need not be decoded.
  while (gain > 0.0f && done < todo) {
    size_t count = todo - done;
    uint64_t at = s.playhead + done;
    const int16_t* p = realTime_ ? source.TryPeek(at, count) : source.Peek(at, count);
    // A decoder that gives out early (the file changed under us) has shortened the source to
    // where it stopped; the stream ends there below. Music not decoded in time (in real time
    // only) is silence, and the stream moves on as the device's clock does.
    if (!p) break;
    float* o = out + done * 2;
    if (channels == 1) {
      for (size_t i = 0; i < count; ++i) {
        float v = p[i] * gain;
        o[2 * i] += v;
        o[2 * i + 1] += v;
      }
    } else {
      // Beyond stereo only the front pair is heard.
      for (size_t i = 0; i < count; ++i) {
        o[2 * i] += p[i * channels] * gain;
        o[2 * i + 1] += p[i * channels + 1] * gain;
      }
    }
    done += count;
  }
  s.playhead += todo;
  // A source may have found itself shorter while it was read.
  s.length = source.Frames();
  if (s.playhead >= source.Frames()) {
    s.playhead = source.Frames();
    s.sounding = false;
  }
  if (!frameClock_) {
    s.position = s.playhead;
    s.playing = s.sounding.load();
  }
}

void Mixer::Mix(int16_t* out, size_t frames) {
  std::lock_guard lock(mutex_);
  // Grows only if the device asks for more than ever before; normally never in the audio thread.
  if (accumulator_.size() < frames * 2) accumulator_.resize(frames * 2);
  std::fill_n(accumulator_.begin(), frames * 2, 0.0f);
  for (const auto& s : streams_) {
    if (s->sounding) MixStream(*s, frames);
  }
  limiter_.Process(accumulator_.data(), frames);
  for (size_t i = 0; i < frames * 2; ++i) out[i] = ToSample(accumulator_[i]);
}

void Mixer::SetRealTime(bool realTime) {
  std::lock_guard lock(mutex_);
  realTime_ = realTime;
}

void Mixer::Skip(uint64_t frames) {
  std::lock_guard lock(mutex_);
  for (const auto& s : streams_) {
    if (!s->playing) continue;
    s->position = std::min(s->position + frames, s->source->Frames());
    if (s->position == s->source->Frames()) s->playing = false;
    if (!frameClock_) {
      s->playhead = s->position;
      s->sounding = s->playing.load();
    }
  }
}

void Mixer::FollowFrameClock(bool on) {
  std::lock_guard lock(mutex_);
  frameClock_ = on;
}
