// The process-wide tables of the engine: the colour quantizer's and the GIF coder's. The
// program, quilla-cli and the tests set them up once before any image work and release
// them at the end.
#pragma once

namespace quilla {

// Sets up every table; false when memory runs out (nothing is kept then).
bool StartEngine();
// Releases them; may run more than once.
void StopEngine();

// The engine started for a scope and stopped at its end.
class Engine {
 public:
  Engine() : started_(StartEngine()) {}
  ~Engine() {
    if (started_) StopEngine();
  }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  explicit operator bool() const { return started_; }

 private:
  bool started_;
};

}  // namespace quilla
