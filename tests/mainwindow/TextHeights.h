#pragma once

#include <QImage>
#include <QRect>

#include <algorithm>
#include <numeric>
#include <vector>

namespace slabwise::test {

// Text found in a picture by its ink: neutral dark pixels in connected
// pieces that carry the grey of smoothed glyph edges (the drawings' lines
// are aliased black), pieces close to each other taken as one label.
struct TTextScan {
    int Labels = 0;
    // The shorter side of the smallest label: the height of its glyphs for
    // a label that reads across, their width turned for one that reads up.
    int SmallestHeight = 0;
    QRect Smallest;
};

// A label whose largest piece is shorter than `punctuation` (a quote mark
// or a point standing alone) is not counted.
inline TTextScan ScanText(const QImage& picture, int punctuation = 0) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const auto luma = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        const int r = qRed(c), g = qGreen(c), b = qBlue(c);
        if (std::max({r, g, b}) - std::min({r, g, b}) > 30) return 255;
        return (r + g + b) / 3;
    };
    std::vector<int> piece(static_cast<size_t>(w * h), -1);
    const auto at = [w](int x, int y) {
        return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
    };
    struct TBox {
        int Left, Top, Right, Bottom;
        bool Smooth;
    };
    std::vector<TBox> boxes;
    std::vector<QPoint> stack;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (piece[at(x, y)] >= 0 || luma(x, y) >= 160) continue;
            const int id = int(boxes.size());
            TBox box{x, y, x, y, false};
            stack = {QPoint(x, y)};
            piece[at(x, y)] = id;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                const int l = luma(p.x(), p.y());
                box.Smooth = box.Smooth || (l > 30 && l < 160);
                box.Left = std::min(box.Left, p.x()), box.Right = std::max(box.Right, p.x());
                box.Top = std::min(box.Top, p.y()), box.Bottom = std::max(box.Bottom, p.y());
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx, ny = p.y() + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        int& seen = piece[at(nx, ny)];
                        if (seen >= 0 || luma(nx, ny) >= 160) continue;
                        seen = id;
                        stack.push_back(QPoint(nx, ny));
                    }
            }
            boxes.push_back(box);
        }
    // Pieces small beside the picture; a hinted glyph may be all black, so
    // smoothness is asked of the label they make up.
    std::vector<TBox> glyphs;
    for (const TBox& b : boxes)
        if (b.Right - b.Left < w / 5 && b.Bottom - b.Top < h / 5) glyphs.push_back(b);
    std::vector<size_t> parent(glyphs.size());
    std::iota(parent.begin(), parent.end(), size_t(0));
    const auto root = [&](size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    for (size_t i = 0; i < glyphs.size(); ++i)
        for (size_t j = i + 1; j < glyphs.size(); ++j) {
            const TBox &a = glyphs[i], &b = glyphs[j];
            const int size =
                std::max({a.Bottom - a.Top, b.Bottom - b.Top, a.Right - a.Left, b.Right - b.Left});
            const int gap = std::max(3, size);
            if (a.Left - gap <= b.Right && b.Left - gap <= a.Right && a.Top - gap <= b.Bottom &&
                b.Top - gap <= a.Bottom)
                parent[root(i)] = root(j);
        }
    std::vector<TBox> labels(glyphs.size(), TBox{w, h, -1, -1, false});
    std::vector<int> largest(glyphs.size(), 0);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        TBox& l = labels[root(i)];
        l.Smooth = l.Smooth || glyphs[i].Smooth;
        largest[root(i)] = std::max(
            {largest[root(i)], glyphs[i].Right - glyphs[i].Left + 1, glyphs[i].Bottom - glyphs[i].Top + 1});
        l.Left = std::min(l.Left, glyphs[i].Left), l.Right = std::max(l.Right, glyphs[i].Right);
        l.Top = std::min(l.Top, glyphs[i].Top), l.Bottom = std::max(l.Bottom, glyphs[i].Bottom);
    }
    TTextScan scan;
    for (size_t i = 0; i < labels.size(); ++i) {
        const TBox& l = labels[i];
        if (l.Right < 0 || !l.Smooth || largest[i] < punctuation) continue;
        const int side = std::min(l.Right - l.Left, l.Bottom - l.Top) + 1;
        if (scan.Labels == 0 || side < scan.SmallestHeight) {
            scan.SmallestHeight = side;
            scan.Smallest = QRect(QPoint(l.Left, l.Top), QPoint(l.Right, l.Bottom));
        }
        ++scan.Labels;
    }
    return scan;
}

} // namespace slabwise::test
