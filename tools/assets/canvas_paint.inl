// The coverage painter of canvas.h, kept apart because it is a template.
#pragma once

namespace assets {

template <typename Inside>
void paintShape(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour, int samples, Inside inside) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    if (inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)) ++hits;
            if (hits > 0) c.blendPixel(x, y, colour, double(hits) / (samples * samples));
        }
}

}  // namespace assets
