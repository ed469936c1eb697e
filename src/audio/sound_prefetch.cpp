// The decoding thread of the sound prefetch.
#include "audio/sound_prefetch.hpp"

#include <algorithm>

SoundPrefetch::~SoundPrefetch() {
  Finish();
}

void SoundPrefetch::Finish() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  if (worker_.joinable()) worker_.join();
  items_.clear();
  stop_ = false;
}

void SoundPrefetch::Start(std::vector<std::string> files) {
  Finish();
  for (std::string& file : files)
    items_.push_back(Item{std::move(file), nullptr, {}, false, false});
  if (!items_.empty()) worker_ = std::thread([this] { Decode(); });
}

void SoundPrefetch::Decode() {
  for (Item& item : items_) {
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
    }
    std::string why;
    std::unique_ptr<SoundSource> source = OpenSoundSource(item.file, &why);
    std::lock_guard lock(mutex_);
    item.source = std::move(source);
    item.why = std::move(why);
    item.done = true;
    decoded_.notify_all();
  }
}

std::optional<std::unique_ptr<SoundSource>> SoundPrefetch::Take(const std::string& file,
                                                                std::string& why) {
  auto it =
      std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return i.file == file; });
  if (it == items_.end()) return std::nullopt;
  std::unique_lock lock(mutex_);
  if (it->taken) return std::nullopt;
  decoded_.wait(lock, [&] { return it->done; });
  it->taken = true;
  why = std::move(it->why);
  return std::move(it->source);
}
