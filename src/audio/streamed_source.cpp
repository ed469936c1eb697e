// The decode-ahead ring of a streamed sound and the one thread that fills the rings of all of
// them. The reader (the mixer) and the decoding thread share each ring under a lock held only
// to read or move its bounds; decoding and copying happen outside it. The reader owns the
// frames it holds in the ring, the thread writes only into the free part.
#include "audio/streamed_source.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/decoder.hpp"

namespace {

constexpr size_t kDecodeFrames = 4096;
// The thread looks at the rings this often even when nobody wakes it (the audio callback never
// does: waking takes a lock it must not wait for).
constexpr auto kIdlePoll = std::chrono::milliseconds(5);

struct Ring {
  std::mutex mutex;
  std::condition_variable filled;  // frames arrived, or the file gave out
  std::unique_ptr<Decoder> decoder;
  int channels = 1;
  std::vector<int16_t> samples;  // kAheadFrames frames
  // Guarded by `mutex`.
  uint64_t start = 0;  // the frame held at `head`
  size_t head = 0;     // ring index of `start`
  size_t count = 0;    // frames held from `start` on
  uint64_t frames = 0;
  uint64_t generation = 0;  // moved on by every jump, so a decode that a jump overtook is dropped
  bool jumped = false;      // the decoder must seek before the next read
  bool abandoned = false;
  // Used by the decoding thread alone.
  uint64_t decoderAt = UINT64_MAX;
};

// The decoding thread: fills every live ring, one piece at a time, round robin.
class DecodeThread {
 public:
  static DecodeThread& Get() {
    static DecodeThread thread;
    return thread;
  }
  void Add(std::shared_ptr<Ring> ring) {
    {
      std::lock_guard lock(mutex_);
      rings_.push_back(std::move(ring));
    }
    Wake();
  }
  void Wake() {
    {
      std::lock_guard lock(mutex_);
      work_ = true;
    }
    wake_.notify_one();
  }
  ~DecodeThread() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

 private:
  DecodeThread() : thread_([this] { Run(); }) {}

  void Run() {
    std::vector<std::shared_ptr<Ring>> rings;
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        if (!work_) wake_.wait_for(lock, kIdlePoll, [this] { return work_ || stop_; });
        if (stop_) return;
        work_ = false;
        std::erase_if(rings_, [](const std::shared_ptr<Ring>& r) {
          std::lock_guard ringLock(r->mutex);
          return r->abandoned;
        });
        rings = rings_;
      }
      // Each ring as full as it goes; a wake-up (a jump, a new ring) starts a new round at once.
      for (const auto& ring : rings) {
        while (!work_ && !stop_ && Fill(*ring)) {
        }
      }
      rings.clear();
    }
  }

  // Decodes one piece into the free part of the ring; false when the ring is full, ended or
  // abandoned.
  static bool Fill(Ring& ring) {
    uint64_t from = 0, generation = 0;
    size_t at = 0, wanted = 0;
    bool seek = false;
    {
      std::lock_guard lock(ring.mutex);
      uint64_t end = ring.start + ring.count;
      if (ring.abandoned || end >= ring.frames || ring.count == kAheadFrames) return false;
      at = (ring.head + ring.count) % kAheadFrames;
      wanted = std::min<uint64_t>(
          {kDecodeFrames, kAheadFrames - ring.count, kAheadFrames - at, ring.frames - end});
      from = end;
      generation = ring.generation;
      seek = ring.jumped || ring.decoderAt != from;
      ring.jumped = false;
    }
    size_t got = 0;
    if (!seek || ring.decoder->Seek(from)) {
      got =
          ring.decoder->Read(ring.samples.data() + at * static_cast<size_t>(ring.channels), wanted);
    }
    ring.decoderAt = got > 0 ? from + got : UINT64_MAX;
    {
      std::lock_guard lock(ring.mutex);
      if (ring.generation != generation) return true;  // a jump came in meanwhile
      // The file gave out before the end found when it was opened (it was changed or damaged
      // since): the sound ends there.
      if (got == 0) ring.frames = from;
      ring.count += got;
    }
    ring.filled.notify_all();
    return true;
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::shared_ptr<Ring>> rings_;
  std::atomic<bool> work_ = false;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

class StreamedSource : public SoundSource {
 public:
  StreamedSource(std::unique_ptr<Decoder> decoder, uint64_t frames)
      : ring_(std::make_shared<Ring>()) {
    channels_ = decoder->Channels();
    frames_ = frames;
    decoderBytes_ = decoder->MemoryBytes();
    ring_->channels = channels_;
    ring_->frames = frames;
    ring_->samples.resize(kAheadFrames * static_cast<size_t>(channels_));
    // The end was read when the file was opened, so the decoder is not at the start.
    ring_->jumped = true;
    ring_->decoder = std::move(decoder);
    DecodeThread::Get().Add(ring_);
  }
  ~StreamedSource() override {
    std::lock_guard lock(ring_->mutex);
    ring_->abandoned = true;
  }

  const int16_t* Peek(uint64_t at, size_t& count) override { return Take(at, count, true); }
  const int16_t* TryPeek(uint64_t at, size_t& count) override { return Take(at, count, false); }
  void Expect(uint64_t at) override {
    bool jumped = false;
    {
      std::lock_guard lock(ring_->mutex);
      jumped = MoveTo(*ring_, at);
    }
    if (jumped) DecodeThread::Get().Wake();
  }
  size_t MemoryBytes() const override {
    return ring_->samples.capacity() * sizeof(int16_t) + decoderBytes_;
  }
  bool Streamed() const override { return true; }

 private:
  // The ring starts over at `at` unless that frame is held or comes next; true when it did.
  static bool MoveTo(Ring& r, uint64_t at) {
    if (at < r.start || at > r.start + r.count) {
      r.start = at;
      r.head = 0;
      r.count = 0;
      r.jumped = true;
      ++r.generation;
      return true;
    }
    // The frames before `at` are done with: the decoding thread may fill their place.
    auto used = static_cast<size_t>(at - r.start);
    r.head = (r.head + used) % kAheadFrames;
    r.count -= used;
    r.start = at;
    return false;
  }

  // Frames from `at` on. Without `wait` (the audio callback) frames not decoded yet are simply
  // missing; with it the call waits for the decoding thread.
  const int16_t* Take(uint64_t at, size_t& count, bool wait) {
    std::unique_lock lock(ring_->mutex);
    Ring& r = *ring_;
    MoveTo(r, at);
    if (wait && r.count == 0 && at < r.frames) {
      lock.unlock();
      DecodeThread::Get().Wake();
      lock.lock();
      r.filled.wait(lock, [&] { return r.count > 0 || at >= r.frames || r.start != at; });
    }
    frames_ = r.frames;
    if (at >= r.frames || r.count == 0 || r.start != at) return nullptr;
    count = std::min({count, r.count, static_cast<size_t>(kAheadFrames) - r.head});
    return r.samples.data() + r.head * static_cast<size_t>(channels_);
  }

  std::shared_ptr<Ring> ring_;
  size_t decoderBytes_ = 0;
};

}  // namespace

std::unique_ptr<SoundSource> MakeStreamedSource(std::unique_ptr<Decoder> decoder, uint64_t frames) {
  return std::make_unique<StreamedSource>(std::move(decoder), frames);
}
