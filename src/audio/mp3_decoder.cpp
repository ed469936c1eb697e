// MP3 decoding through libmpg123, with the length counted from the frame headers when opened.
#include <fcntl.h>
#include <mpg123.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "audio/decoder.hpp"

namespace {

// The length scan visits every frame header; read in blocks, so that it costs one system call
// per block instead of two per frame. Small enough to keep a streamed track's buffers light.
constexpr size_t kReadBlock = 16 * 1024;
// Consecutive reads that give nothing before the decoder counts as stuck.
constexpr int kEmptyReadLimit = 16;

// The file under the decoder, read in blocks; seeks inside the current block are free. The decoder
// sees the file from `start` on, as if that were its first byte: zero padding before the first
// frame is never shown to it, however long.
class BlockReader {
 public:
  BlockReader(int fd, off_t start) : fd_(fd), block_(kReadBlock), start_(start), fileAt_(start) {}
  ~BlockReader() { close(fd_); }
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  mpg123_ssize_t Read(void* out, size_t bytes) {
    auto* to = static_cast<unsigned char*>(out);
    size_t done = 0;
    while (done < bytes) {
      if (next_ == end_ && !Refill()) {
        if (done == 0 && failed_) return -1;
        break;
      }
      size_t n = std::min(bytes - done, end_ - next_);
      std::memcpy(to + done, block_.data() + next_, n);
      next_ += n;
      done += n;
    }
    return static_cast<mpg123_ssize_t>(done);
  }

  // Offsets are the decoder's, counted from `start`.
  off_t Seek(off_t offset, int whence) {
    off_t blockStart = fileAt_ - static_cast<off_t>(end_);
    off_t target = start_ + offset;
    if (whence == SEEK_CUR) target = blockStart + static_cast<off_t>(next_) + offset;
    if (whence == SEEK_END) target = lseek(fd_, offset, SEEK_END);
    if (target < start_) {
      // The descriptor stays where the next refill expects it.
      if (whence == SEEK_END) lseek(fd_, fileAt_, SEEK_SET);
      return -1;
    }
    if (whence != SEEK_END && target >= blockStart && target <= fileAt_) {
      next_ = static_cast<size_t>(target - blockStart);
      return target - start_;
    }
    if (whence != SEEK_END && lseek(fd_, target, SEEK_SET) < 0) return -1;
    fileAt_ = target;
    next_ = end_ = 0;
    return target - start_;
  }

  size_t MemoryBytes() const { return block_.capacity(); }

 private:
  bool Refill() {
    ssize_t got;
    do {
      got = read(fd_, block_.data(), block_.size());
    } while (got < 0 && errno == EINTR);
    failed_ = got < 0;
    if (got <= 0) return false;
    fileAt_ += got;
    next_ = 0;
    end_ = static_cast<size_t>(got);
    return true;
  }

  int fd_;
  std::vector<unsigned char> block_;
  off_t start_;      // the file offset the decoder's offset 0 stands for
  size_t next_ = 0;  // first unread byte of the block
  size_t end_ = 0;   // bytes in the block
  off_t fileAt_;     // file offset just after the block
  bool failed_ = false;
};

mpg123_ssize_t ReadCallback(void* reader, void* out, size_t bytes) {
  return static_cast<BlockReader*>(reader)->Read(out, bytes);
}
off_t SeekCallback(void* reader, off_t offset, int whence) {
  return static_cast<BlockReader*>(reader)->Seek(offset, whence);
}

class Mp3Decoder : public Decoder {
 public:
  ~Mp3Decoder() override {
    if (handle_) mpg123_delete(handle_);
  }

  bool Open(const std::string& file, uint64_t start, std::string& why);

  size_t Read(int16_t* out, size_t frames) override {
    size_t frameBytes = static_cast<size_t>(channels_) * sizeof(int16_t);
    auto* to = reinterpret_cast<unsigned char*>(out);
    size_t wanted = frames * frameBytes;
    size_t total = 0;
    int empty = 0;
    while (total < wanted && empty < kEmptyReadLimit) {
      size_t done = 0;
      int result = mpg123_read(handle_, to + total, wanted - total, &done);
      total += done;
      empty = done > 0 ? 0 : empty + 1;
      // The output format is fixed when the file is opened, so a new-format notice changes
      // nothing; the end, an error, or a change of stream (refused) ends the sound.
      if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
    }
    return total / frameBytes;
  }

  bool Seek(uint64_t frame) override {
    return mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET) == static_cast<off_t>(frame);
  }

  size_t MemoryBytes() const override { return reader_ ? reader_->MemoryBytes() : 0; }

 private:
  std::string Problem(const char* what) const {
    return std::string(what) + " (" + mpg123_strerror(handle_) + ")";
  }

  std::unique_ptr<BlockReader> reader_;
  mpg123_handle* handle_ = nullptr;
};

bool Mp3Decoder::Open(const std::string& file, uint64_t start, std::string& why) {
  int error = MPG123_OK;
  handle_ = mpg123_new(nullptr, &error);
  if (!handle_) {
    why = std::string("the MP3 decoder cannot start (") + mpg123_plain_strerror(error) + ")";
    return false;
  }
  // Without Frankenstein streams a stream that changes its rate or channels midway ends there,
  // and decoding stops at the frame count a LAME tag announces: what is played is what the
  // scan below counted.
  mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_NO_FRANKENSTEIN,
               0.0);
  mpg123_param(handle_, MPG123_REMOVE_FLAGS, MPG123_AUTO_RESAMPLE, 0.0);
  // 16-bit output at the file's own rate and channel count.
  mpg123_format_none(handle_);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i) {
    mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }

  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = std::string("cannot be read (") + std::strerror(errno) + ")";
    return false;
  }
  if (start > 0 && lseek(fd, static_cast<off_t>(start), SEEK_SET) < 0) {
    why = std::string("cannot be read (") + std::strerror(errno) + ")";
    close(fd);
    return false;
  }
  reader_ = std::make_unique<BlockReader>(fd, static_cast<off_t>(start));
  if (mpg123_replace_reader_handle(handle_, ReadCallback, SeekCallback, nullptr) != MPG123_OK ||
      mpg123_open_handle(handle_, reader_.get()) != MPG123_OK) {
    why = Problem("cannot be opened");
    return false;
  }
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK) {
    why = Problem("holds no MPEG audio");
    return false;
  }
  // From here on the format cannot change.
  mpg123_format_none(handle_);
  mpg123_format(handle_, rate, channels, MPG123_ENC_SIGNED_16);
  // A LAME tag (which also gives the encoder's delay) announces the length; without one it
  // would be a guess from the file size. The scan counts the frames (and finds where a cut file
  // ends), so a tagged file that delivers less than it announces was cut.
  long encoderDelay = -1;
  mpg123_getstate(handle_, MPG123_ENC_DELAY, &encoderDelay, nullptr);
  const off_t announced = encoderDelay >= 0 ? mpg123_length(handle_) : -1;
  if (mpg123_scan(handle_) != MPG123_OK) {
    why = Problem("cannot be scanned");
    return false;
  }
  off_t length = mpg123_length(handle_);
  if (length <= 0) {
    why = "holds no audio frames";
    return false;
  }
  channels_ = channels;
  statedFrames_ = static_cast<uint64_t>(length);
  cutShort_ = length < announced;
  return true;
}

// Zero padding before the first frame is looked through this far; the first frame must begin
// within it.
constexpr size_t kPaddingScan = 64 * 1024;
// Longer than any MPEG audio frame whose header gives its length (MPEG-2 layer II at 160 kbit/s
// and 8 kHz, 2,881 bytes), so the second header is always within what is read.
constexpr size_t kLongestFrame = 4096;

// The length in bytes of the frame whose header is at `h`, or 0 when those four bytes are not a
// frame header that gives one: reserved values, a bad bit rate, or free format (whose length
// only the next header shows).
size_t FrameBytes(const unsigned char* h) {
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return 0;
  const int version = (h[1] >> 3) & 3;      // 0 MPEG-2.5, 1 reserved, 2 MPEG-2, 3 MPEG-1
  const int layer = 4 - ((h[1] >> 1) & 3);  // 4 is reserved
  const int bitrateIndex = h[2] >> 4;
  const int rateIndex = (h[2] >> 2) & 3;
  if (version == 1 || layer == 4 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 ||
      (h[3] & 3) == 2) {
    return 0;
  }
  // kbit/s by MPEG-1 or not, layer, and index.
  static constexpr int kBitrates[2][3][15] = {
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  static constexpr long kRates[3] = {44100, 48000, 32000};
  const bool mpeg1 = version == 3;
  const long rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  const long bitrate = kBitrates[mpeg1 ? 0 : 1][layer - 1][bitrateIndex] * 1000L;
  const long padding = (h[2] >> 1) & 1;
  if (layer == 1) return static_cast<size_t>((12 * bitrate / rate + padding) * 4);
  // MPEG-2 and 2.5 layer III frames hold half as many samples.
  const long perSlot = layer == 3 && !mpeg1 ? 72 : 144;
  return static_cast<size_t>(perSlot * bitrate / rate + padding);
}

// Version, layer and sample rate stay the same from frame to frame of one stream.
bool SameStream(const unsigned char* a, const unsigned char* b) {
  return (a[1] & 0xFE) == (b[1] & 0xFE) && (a[2] & 0x0C) == (b[2] & 0x0C);
}

// Reads up to `bytes` from the start of `file`; empty when it cannot be read.
std::vector<unsigned char> ReadHead(const std::string& file, size_t bytes) {
  std::vector<unsigned char> head;
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return head;
  head.resize(bytes);
  size_t done = 0;
  while (done < bytes) {
    ssize_t got = read(fd, head.data() + done, bytes - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  close(fd);
  head.resize(done);
  return head;
}
}  // namespace

std::unique_ptr<Decoder> OpenMp3Decoder(const std::string& file, std::string& why, uint64_t start) {
  auto decoder = std::make_unique<Mp3Decoder>();
  if (!decoder->Open(file, start, why)) return nullptr;
  return decoder;
}

std::optional<uint64_t> MpegAudioStart(const std::string& file) {
  // Most files tell by their first bytes; only one that begins with a zero is read further (every
  // sound the game opens passes here, and a level opens dozens).
  std::vector<unsigned char> head = ReadHead(file, 3);
  if (head.size() < 2) return std::nullopt;
  if (head.size() >= 3 && std::memcmp(head.data(), "ID3", 3) == 0) return 0;
  // Eleven sync bits.
  if (head[0] == 0xFF && (head[1] & 0xE0) == 0xE0) return 0;
  if (head[0] != 0) return std::nullopt;
  head = ReadHead(file, kPaddingScan + kLongestFrame);
  const size_t size = head.size();
  // Some tools write zeros before the first frame. Only zeros are passed over, so a file that
  // begins with anything else (a RIFF header, say) is never searched for sync bytes; and two
  // frames in a row must agree, as they would not by chance in other data.
  size_t at = 0;
  while (at < size && at < kPaddingScan && head[at] == 0) ++at;
  if (at == 0 || at >= kPaddingScan || at + 4 > size) return std::nullopt;
  const size_t first = FrameBytes(&head[at]);
  const size_t next = at + first;
  if (first == 0 || next + 4 > size) return std::nullopt;
  if (FrameBytes(&head[next]) == 0 || !SameStream(&head[at], &head[next])) return std::nullopt;
  return at;
}
