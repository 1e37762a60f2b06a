#include "app/file_queue.h"

#include <new>
#include <stdexcept>

#include "settings/app_options.h"

namespace quilla {

int FileQueue::Start(size_t count, int destination) {
  // Cleared before saving, so a queue started over an active one keeps the user's value.
  Clear();
  try {
    names_.reserve(count);
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
  capacity_ = count;
  savedDropTo_ = Options().DropTo();
  Options().SetDropTo(destination);
  active_ = true;
  return 1;
}

int FileQueue::Add(const std::string& name) {
  if (names_.size() < capacity_) {
    try {
      names_.push_back(name);
      return 1;
    } catch (const std::bad_alloc&) {
    }
  }
  Clear();
  return 0;
}

void FileQueue::Clear() {
  std::vector<std::string>().swap(names_);
  capacity_ = 0;
  // Only an active queue holds "DropTo"; otherwise the user's value stands.
  if (active_) Options().SetDropTo(savedDropTo_);
  active_ = false;
}

const std::string& FileQueue::Name(size_t index) const {
  static const std::string kNone;
  return index < names_.size() ? names_[index] : kNone;
}

FileQueue& CurrentFileQueue() {
  static FileQueue queue;
  return queue;
}

int QueueNames(const std::vector<std::string>& names, int destination) {
  if (!QueueStart(names.size(), destination)) return 0;
  for (const std::string& name : names)
    if (!QueueAdd(name)) return 0;
  return 1;
}

}  // namespace quilla
