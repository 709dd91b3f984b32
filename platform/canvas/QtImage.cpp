#include "platform/canvas/QtImage.h"

#include <algorithm>

namespace platform {

QtImage::QtImage(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied) {
    Open();
}

QtImage::~QtImage() {
    canvas_.reset();
    painter_.reset();
}

void QtImage::Open() {
    image_.fill(Qt::transparent);
    painter_ = std::make_unique<QPainter>(&image_);
    canvas_ = std::make_unique<QtCanvas>(*painter_);
}

const QImage& QtImage::image() const {
    return image_;
}

void QtImage::Resize(int width, int height) {
    canvas_.reset();
    painter_.reset();
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    Open();
}

}  // namespace platform
