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
    items_.push_back(Item{std::move(file), nullptr, {}, false, false, false});
  if (!items_.empty()) worker_ = std::thread([this] { Decode(); });
}

void SoundPrefetch::Decode() {
  for (Item& item : items_) {
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      if (item.started) continue;
      item.started = true;
    }
    DecodeItem(item);
  }
}

void SoundPrefetch::DecodeItem(Item& item) {
  std::string why;
  std::unique_ptr<SoundSource> source = OpenSoundSource(item.file, &why);
  std::lock_guard lock(mutex_);
  item.source = std::move(source);
  item.why = std::move(why);
  item.done = true;
  decoded_.notify_all();
}

std::optional<std::unique_ptr<SoundSource>> SoundPrefetch::Take(const std::string& file,
                                                                std::string& why) {
  auto it =
      std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return i.file == file; });
  if (it == items_.end()) return std::nullopt;
  std::unique_lock lock(mutex_);
  if (it->taken) return std::nullopt;
  if (!it->started) {
    // Rather than wait behind the files before it, decode this one here.
    it->started = true;
    lock.unlock();
    DecodeItem(*it);
    lock.lock();
  }
  // While the thread is at this one, the waiting is spent on the last file nobody started.
  while (!it->done) {
    auto spare =
        std::find_if(items_.rbegin(), items_.rend(), [](const Item& i) { return !i.started; });
    if (spare == items_.rend()) break;
    spare->started = true;
    lock.unlock();
    DecodeItem(*spare);
    lock.lock();
  }
  decoded_.wait(lock, [&] { return it->done; });
  it->taken = true;
  why = std::move(it->why);
  return std::move(it->source);
}
