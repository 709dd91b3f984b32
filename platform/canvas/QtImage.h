#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/QtCanvas.h"

namespace platform {

// An off-screen image in memory with a canvas over it. The image starts
// transparent; the canvas lives as long as the image.
class QtImage : public Image {
public:
    QtImage(int width, int height);
    ~QtImage() override;
    QtImage(const QtImage&) = delete;
    QtImage& operator=(const QtImage&) = delete;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    Canvas& canvas() override { return *canvas_; }

    // The pixels drawn so far (the canvas is flushed first).
    const QImage& image() const;

    // Drops the canvas and resizes to width x height, transparent again.
    void Resize(int width, int height);

private:
    void Open();

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtCanvas> canvas_;
};

}  // namespace platform
