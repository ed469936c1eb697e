// Sound sources over the file decoders: short sounds decoded whole, music decoded ahead.
// Either way the length is what the decoder delivers, found when the file is opened.
#include "audio/sound_source.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "audio/decoder.hpp"
#include "audio/streamed_source.hpp"

namespace {

constexpr int kMaxChannels = 8;
// The piece a whole decode reads at a time.
constexpr size_t kChunkFrames = 4096;
// Frames read at the stated end of a streamed file, where a cut file is found out.
constexpr uint64_t kTailFrames = 1152;

class WholeSource : public SoundSource {
 public:
  // `samples` holds `held` values, the first `frames` x `channels` of them decoded.
  WholeSource(int channels, std::unique_ptr<int16_t[]> samples, size_t held, uint64_t frames)
      : samples_(std::move(samples)), held_(held) {
    channels_ = channels;
    frames_ = frames;
  }
  const int16_t* Peek(uint64_t at, size_t& count) override {
    if (at >= frames_) return nullptr;
    count = static_cast<size_t>(std::min<uint64_t>(count, frames_ - at));
    return samples_.get() + at * static_cast<uint64_t>(channels_);
  }
  size_t MemoryBytes() const override { return held_ * sizeof(int16_t); }
  bool Streamed() const override { return false; }

 private:
  std::unique_ptr<int16_t[]> samples_;
  size_t held_;
};

// Decodes up to `frames` frames into `out`; returns how many arrived.
uint64_t DecodeInto(Decoder& decoder, int16_t* out, uint64_t frames) {
  const auto channels = static_cast<size_t>(decoder.Channels());
  uint64_t done = 0;
  while (done < frames) {
    size_t wanted = static_cast<size_t>(std::min<uint64_t>(kChunkFrames, frames - done));
    size_t got = decoder.Read(out + done * channels, wanted);
    if (got == 0) break;
    done += got;
  }
  return done;
}

// Decodes up to `stated` frames; the sound is as long as what arrives.
std::unique_ptr<SoundSource> DecodeWhole(Decoder& decoder, uint64_t stated, std::string& why) {
  auto channels = static_cast<size_t>(decoder.Channels());
  // Decoded straight into the buffer that plays, never filled first.
  size_t held = stated * channels;
  auto samples = std::make_unique_for_overwrite<int16_t[]>(held);
  const uint64_t done = DecodeInto(decoder, samples.get(), stated);
  if (done == 0) {
    why = "no audio could be decoded";
    return nullptr;
  }
  if (done < stated) {
    // A file shorter than its header says keeps only what it delivered.
    held = done * channels;
    auto kept = std::make_unique_for_overwrite<int16_t[]>(held);
    std::copy_n(samples.get(), held, kept.get());
    samples = std::move(kept);
  }
  return std::make_unique<WholeSource>(decoder.Channels(), std::move(samples), held, done);
}

// Whether at least one frame can be decoded at `at`.
bool Readable(Decoder& decoder, uint64_t at, std::vector<int16_t>& buffer) {
  return decoder.Seek(at) && decoder.Read(buffer.data(), 1) == 1;
}

// The frame after the last one the decoder delivers, at most `stated`: read from shortly before
// the stated end, or, when even that cannot be reached (a file cut short of what its header
// says), narrowed down by seeks. 0 when nothing can be decoded.
uint64_t DeliveredEnd(Decoder& decoder, uint64_t stated) {
  std::vector<int16_t> buffer(kTailFrames * static_cast<size_t>(decoder.Channels()));
  uint64_t from = stated - std::min(stated, kTailFrames);
  if (!Readable(decoder, from, buffer)) {
    if (!Readable(decoder, 0, buffer)) return 0;
    uint64_t readable = 0;       // frames from here on still decode...
    uint64_t unreadable = from;  // ...and from here on do not
    while (unreadable - readable > 1) {
      uint64_t middle = readable + (unreadable - readable) / 2;
      (Readable(decoder, middle, buffer) ? readable : unreadable) = middle;
    }
    from = readable;
  }
  if (!decoder.Seek(from)) return 0;
  uint64_t end = from;
  while (end < stated) {
    size_t got = decoder.Read(buffer.data(), std::min<uint64_t>(kTailFrames, stated - end));
    if (got == 0) break;
    end += got;
  }
  return end;
}

// `mpeg`, when given, says whether the file was opened as MPEG audio.
std::unique_ptr<Decoder> OpenDecoder(const std::string& file, std::string& why,
                                     bool* mpeg = nullptr) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    why = "not a file";
    return nullptr;
  }
  if (std::filesystem::file_size(file, ec) == 0 || ec) {
    why = "the file is empty";
    return nullptr;
  }
  const std::optional<uint64_t> mp3 = MpegAudioStart(file);
  if (mpeg) *mpeg = mp3.has_value();
  return mp3 ? OpenMp3Decoder(file, why, *mp3) : OpenSndFileDecoder(file, why);
}

// A short sound read from its file the first time it plays: its length is found when the file is
// opened, from the frames its end delivers, but its samples wait, so the sounds of a level that
// never play take no memory. A file changed in between gives what it delivers up to that length
// and silence after.
class HeldSource : public SoundSource {
 public:
  HeldSource(std::string file, int channels, uint64_t frames) : file_(std::move(file)) {
    channels_ = channels;
    frames_ = frames;
  }
  const int16_t* Peek(uint64_t at, size_t& count) override {
    if (at >= frames_) return nullptr;
    Prepare();
    count = static_cast<size_t>(std::min<uint64_t>(count, frames_ - at));
    return samples_.get() + at * static_cast<uint64_t>(channels_);
  }
  void Prepare() override {
    if (samples_) return;
    const uint64_t values = frames_ * static_cast<uint64_t>(channels_);
    samples_ = std::make_unique_for_overwrite<int16_t[]>(values);
    std::string why;
    std::unique_ptr<Decoder> decoder = OpenDecoder(file_, why);
    uint64_t done = 0;
    if (decoder && decoder->Channels() == channels_) {
      done = DecodeInto(*decoder, samples_.get(), frames_);
    }
    std::fill(samples_.get() + done * static_cast<uint64_t>(channels_), samples_.get() + values,
              int16_t{0});
    if (done < frames_) {
      std::fprintf(stderr,
                   "morva: %s gave %llu of its %llu frames when read again; the rest is "
                   "silent\n",
                   file_.c_str(), static_cast<unsigned long long>(done),
                   static_cast<unsigned long long>(frames_));
    }
  }
  size_t MemoryBytes() const override {
    return samples_ ? frames_ * static_cast<size_t>(channels_) * sizeof(int16_t) : 0;
  }
  bool Streamed() const override { return false; }

 private:
  std::string file_;
  std::unique_ptr<int16_t[]> samples_;
};

// The source over an opened decoder: a short sound decoded whole, or held back until it plays
// when `heldFile` names the file it can be read again from; a long one streamed.
std::unique_ptr<SoundSource> SourceOver(std::unique_ptr<Decoder> decoder, std::string& why,
                                        const std::string* heldFile) {
  int channels = decoder->Channels();
  if (channels < 1 || channels > kMaxChannels) {
    why = std::to_string(channels) + " channels";
    return nullptr;
  }
  uint64_t stated = decoder->StatedFrames();
  if (stated == 0) {
    why = "holds no audio frames";
    return nullptr;
  }
  // Decoded 16-bit lengths are reported in 32 bits; longer streams are not supported.
  if (stated * static_cast<uint64_t>(channels) * 2 > UINT32_MAX) {
    why = "longer than 4 GB of decoded audio";
    return nullptr;
  }
  const bool whole = stated <= kWholeDecodeMaxFrames;
  if (whole && !heldFile) return DecodeWhole(*decoder, stated, why);
  uint64_t frames = DeliveredEnd(*decoder, stated);
  if (frames == 0) {
    why = "no audio could be decoded";
    return nullptr;
  }
  if (whole) return std::make_unique<HeldSource>(*heldFile, channels, frames);
  return MakeStreamedSource(std::move(decoder), frames);
}

std::unique_ptr<SoundSource> SourceFrom(std::unique_ptr<Decoder> decoder, std::string& why,
                                        const std::string* heldFile) {
  const bool cut = decoder->CutShort();
  std::unique_ptr<SoundSource> source = SourceOver(std::move(decoder), why, heldFile);
  if (source) source->SetCutShort(cut);
  return source;
}
}  // namespace

std::unique_ptr<SoundSource> SourceFromDecoder(std::unique_ptr<Decoder> decoder, std::string& why) {
  return SourceFrom(std::move(decoder), why, nullptr);
}

std::unique_ptr<SoundSource> OpenSoundSource(const std::string& file, std::string* why) {
  std::string problem;
  std::unique_ptr<SoundSource> source;
  std::error_code ec;
  // A missing file is no fault of the file: the caller knows the name it asked for.
  if (!file.empty() && std::filesystem::exists(file, ec)) {
    bool mpeg = false;
    std::unique_ptr<Decoder> decoder = OpenDecoder(file, problem, &mpeg);
    // Files libsndfile reads seek to the frame, so where a short one ends is found without
    // decoding it; an MP3 is decoded whole.
    if (decoder) source = SourceFrom(std::move(decoder), problem, mpeg ? nullptr : &file);
  }
  if (why) *why = source ? std::string() : problem;
  return source;
}
