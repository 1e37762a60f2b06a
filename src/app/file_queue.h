// The list of file names handed to the drop handling as if they had been dropped: filled
// by Multiple open or the command line, read by the drop handling, then cleared. While it
// is active, "DropTo" holds its destination; clearing puts the user's value back.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quilla {

class FileQueue {
 public:
  // Room for count names, going to destination (one of cmd::kDropSlideshow...). Any
  // previous queue is cleared first. 0 when the room cannot be had.
  int Start(size_t count, int destination);
  // 0 when the queue is full or the copy cannot be had; the whole queue is cleared then.
  int Add(const std::string& name);
  void Clear();

  bool IsActive() const { return active_; }
  size_t Count() const { return names_.size(); }
  // The name at index; empty past the end.
  const std::string& Name(size_t index) const;

 private:
  std::vector<std::string> names_;
  size_t capacity_ = 0;
  bool active_ = false;
  int savedDropTo_ = 0;
};

// The program's one queue and its interface for the dialog, the command line and the
// drop handling.
FileQueue& CurrentFileQueue();
inline int QueueStart(size_t count, int destination) { return CurrentFileQueue().Start(count, destination); }
inline int QueueAdd(const std::string& name) { return CurrentFileQueue().Add(name); }
inline void QueueClear() { CurrentFileQueue().Clear(); }
inline bool QueueIsActive() { return CurrentFileQueue().IsActive(); }
inline size_t QueueCount() { return CurrentFileQueue().Count(); }
inline const std::string& QueueName(size_t index) { return CurrentFileQueue().Name(index); }

// Starts the queue for destination and adds every name in order. 0 on any failure (the
// caller shows the not-enough-memory message); the queue is left cleared then.
int QueueNames(const std::vector<std::string>& names, int destination);

}  // namespace quilla
