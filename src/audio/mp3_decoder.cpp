// MP3 decoding through libmpg123, with the length counted from the frame headers when opened.
#include <fcntl.h>
#include <mpg123.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "audio/decoder.hpp"

namespace {

// The length scan visits every frame header; read in blocks, so that it costs one system call
// per block instead of two per frame. Small enough to keep a streamed track's buffers light.
constexpr size_t kReadBlock = 16 * 1024;
// Consecutive reads that give nothing before the decoder counts as stuck.
constexpr int kEmptyReadLimit = 16;

// The file under the decoder, read in blocks; seeks inside the current block are free.
class BlockReader {
 public:
  explicit BlockReader(int fd) : fd_(fd), block_(kReadBlock) {}
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

  off_t Seek(off_t offset, int whence) {
    off_t blockStart = fileAt_ - static_cast<off_t>(end_);
    off_t target = offset;
    if (whence == SEEK_CUR) target = blockStart + static_cast<off_t>(next_) + offset;
    if (whence == SEEK_END) target = lseek(fd_, offset, SEEK_END);
    if (target < 0) return -1;
    if (whence != SEEK_END && target >= blockStart && target <= fileAt_) {
      next_ = static_cast<size_t>(target - blockStart);
      return target;
    }
    if (whence != SEEK_END && lseek(fd_, target, SEEK_SET) < 0) return -1;
    fileAt_ = target;
    next_ = end_ = 0;
    return target;
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
  size_t next_ = 0;   // first unread byte of the block
  size_t end_ = 0;    // bytes in the block
  off_t fileAt_ = 0;  // file offset just after the block
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

  bool Open(const std::string& file, std::string& why);

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

bool Mp3Decoder::Open(const std::string& file, std::string& why) {
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
  reader_ = std::make_unique<BlockReader>(fd);
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

}  // namespace

std::unique_ptr<Decoder> OpenMp3Decoder(const std::string& file, std::string& why) {
  auto decoder = std::make_unique<Mp3Decoder>();
  if (!decoder->Open(file, why)) return nullptr;
  return decoder;
}

bool LooksLikeMpegAudio(const std::string& file) {
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char head[3] = {};
  ssize_t got;
  do {
    got = read(fd, head, sizeof head);
  } while (got < 0 && errno == EINTR);
  close(fd);
  if (got < 2) return false;
  if (got == 3 && std::memcmp(head, "ID3", 3) == 0) return true;
  // Eleven sync bits.
  return head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
}
