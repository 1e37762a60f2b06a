#pragma once

namespace quilla {

class DIBImage;

// Nearest-neighbour resampling to width x height into a new image of the same kind (true
// colour, or palette with the same colour table); the old image becomes the undo image.
// Returns 0 when memory runs out (the document is unchanged).
int ResizeImage(DIBImage& document, int width, int height);

}  // namespace quilla
