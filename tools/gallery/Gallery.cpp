#include "tools/gallery/Gallery.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kMargin = 12;
constexpr int kGap = 16;
constexpr int kLabelHeight = 16;
constexpr int kTitleHeight = 24;
constexpr QRgb kSheet = 0xFFFFFFFF;
// The form colour behind each symbol, so unpainted parts read as the diagram.
constexpr QRgb kFormFace = 0xFFD4D0C8;

QImage Snapshot(QWidget& widget, qreal ratio) {
    // A symbol of no area still gets a one-pixel cell.
    const QSize size = widget.size().expandedTo(QSize(1, 1));
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor::fromRgba(kFormFace));
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

}  // namespace

Gallery::Line& Gallery::Current() {
    if (lines_.empty()) lines_.emplace_back();
    return lines_.back();
}

void Gallery::Section(const QString& title) {
    lines_.emplace_back();
    lines_.back().title = title;
}

void Gallery::Row() {
    if (!Current().shots.empty()) lines_.emplace_back();
}

void Gallery::Add(const QString& label, QWidget& widget) {
    // The first render lets size rules applied while painting settle.
    QImage settle(std::max(widget.width(), 1), std::max(widget.height(), 1),
                  QImage::Format_ARGB32_Premultiplied);
    widget.render(&settle);
    Current().shots.push_back({label, Snapshot(widget, 1.0), Snapshot(widget, 2.0)});
}

QImage Gallery::Render() const {
    // Measure: each row is as tall as its tallest doubled snapshot.
    int sheetWidth = 0;
    int sheetHeight = kMargin;
    for (const Line& line : lines_) {
        int rowWidth = kMargin;
        int rowHeight = 0;
        for (const Shot& shot : line.shots) {
            const QSize big = shot.doubled.size();
            rowWidth += shot.normal.width() + kGap / 2 + big.width() + kGap;
            rowHeight = std::max(rowHeight, big.height());
        }
        sheetWidth = std::max(sheetWidth, rowWidth + kMargin);
        if (!line.title.isEmpty()) sheetHeight += kTitleHeight;
        if (!line.shots.empty()) sheetHeight += rowHeight + kLabelHeight + kGap;
    }
    sheetWidth = std::max(sheetWidth, 400);

    QImage sheet(sheetWidth, sheetHeight + kMargin, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor::fromRgba(kSheet));
    QPainter painter(&sheet);
    QFont labelFont = painter.font();
    labelFont.setPixelSize(11);
    QFont titleFont = labelFont;
    titleFont.setPixelSize(15);
    titleFont.setBold(true);

    int y = kMargin;
    for (const Line& line : lines_) {
        if (!line.title.isEmpty()) {
            painter.setFont(titleFont);
            painter.setPen(Qt::black);
            painter.drawText(QRect(kMargin, y, sheetWidth - 2 * kMargin, kTitleHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, line.title);
            y += kTitleHeight;
        }
        if (line.shots.empty()) continue;
        int rowHeight = 0;
        int x = kMargin;
        painter.setFont(labelFont);
        painter.setPen(QColor(60, 60, 60));
        for (const Shot& shot : line.shots) {
            const QSize big = shot.doubled.size();
            painter.drawImage(QPoint(x, y + kLabelHeight), shot.normal);
            const int bigX = x + shot.normal.width() + kGap / 2;
            // Draw the doubled snapshot pixel for pixel, as a 2x screen shows it.
            QImage raw = shot.doubled;
            raw.setDevicePixelRatio(1.0);
            painter.drawImage(QPoint(bigX, y + kLabelHeight), raw);
            const int cellWidth = shot.normal.width() + kGap / 2 + big.width();
            painter.drawText(QRect(x, y, std::max(cellWidth, 60), kLabelHeight),
                             Qt::AlignLeft | Qt::AlignTop, shot.label);
            x = bigX + big.width() + kGap;
            rowHeight = std::max(rowHeight, big.height());
        }
        y += rowHeight + kLabelHeight + kGap;
    }
    return sheet;
}
