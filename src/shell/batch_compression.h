// Batch compression, destination 112 of a list of files: each one read and written again
// as a JPEG beside it, with the JPEG options.
#pragma once
#include <string>
#include <vector>

namespace quilla {

// Runs inside the batch of the drop handling; stops as soon as the batch is cancelled, and
// cancels it when a write fails. The files read are left as they were.
void RunBatchCompression(const std::vector<std::string>& names);

}  // namespace quilla
