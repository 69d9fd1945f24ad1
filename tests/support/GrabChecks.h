#pragma once

// What a person would notice first in a screenshot: a blank or one-colour
// picture, or a text that was never drawn.

#include <QImage>
#include <QRect>
#include <QSet>
#include <QWidget>

#include <gtest/gtest.h>

namespace slabwise::test {

// Pixels dark enough to be text or lines.
inline int InkPixels(const QImage& image, const QRect& area) {
    const QRect r = area.intersected(image.rect());
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

// Distinct colours, counted up to `enough`.
inline int DistinctColours(const QImage& image, int enough = 16) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            seen.insert(image.pixel(x, y) & 0xFFFFFF);
            if (seen.size() >= enough) return enough;
        }
    return static_cast<int>(seen.size());
}

// A grab that shows something: several colours and some ink.
inline void ExpectDrawn(const QImage& image, const char* what) {
    ASSERT_FALSE(image.isNull()) << what;
    EXPECT_GE(DistinctColours(image), 4) << what << ": the picture is nearly one colour";
    EXPECT_GT(InkPixels(image, image.rect()), image.width() / 4) << what << ": no text or lines";
}

// The text of a visible child widget appears in a grab of `top`, at the
// child's place.
inline void ExpectTextDrawn(const QImage& grab, const QWidget& top, const QWidget& child, const char* what) {
    const QRect at(child.mapTo(&top, QPoint(0, 0)), child.size());
    const qreal ratio = grab.devicePixelRatio();
    const QRect inGrab(at.topLeft() * ratio, at.size() * ratio);
    EXPECT_GT(InkPixels(grab, inGrab), 5) << what << ": no text drawn where it stands";
}

} // namespace slabwise::test
