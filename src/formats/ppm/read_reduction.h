// The colour reduction a freshly read true-colour image gets under the program's
// quantizing options ("NeedQuantizeRead" and the rest), for the PPM and TIFF readers.
#pragma once

namespace quilla {

class DIBImage;

// A QuantizeAfterReadResult: 0 when memory ran out (the caller tells the user).
int ReduceAfterRead(DIBImage& document, bool withProgress);

}  // namespace quilla
