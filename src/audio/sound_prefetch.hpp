// Sound files decoded ahead on a thread of their own while a load goes on with its pictures: the
// opener takes each file's result when it comes to it, decodes a file the thread has not started
// on itself, and while it waits for one being decoded, decodes the last file nobody started. What a
// file decodes to, and every message about it, does not depend on which thread decoded it.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound_source.hpp"

class SoundPrefetch {
 public:
  SoundPrefetch() = default;
  ~SoundPrefetch();
  SoundPrefetch(const SoundPrefetch&) = delete;
  SoundPrefetch& operator=(const SoundPrefetch&) = delete;

  // Starts decoding `files` in their order; what an earlier batch left untaken is dropped.
  void Start(std::vector<std::string> files);
  // When `file` is in the batch and not taken yet: its decoded source (null, and why, when it
  // holds no sound), decoded here or waited for. Nothing for any other file.
  std::optional<std::unique_ptr<SoundSource>> Take(const std::string& file, std::string& why);

 private:
  struct Item {
    std::string file;
    std::unique_ptr<SoundSource> source;
    std::string why;
    bool started = false;
    bool done = false;
    bool taken = false;
  };
  void Decode();
  // Decodes an item this thread has marked started, outside the lock.
  void DecodeItem(Item& item);
  void Finish();

  std::mutex mutex_;
  std::condition_variable decoded_;
  std::vector<Item> items_;  // set before the thread starts; each item's result under the lock
  bool stop_ = false;
  std::thread worker_;
};
