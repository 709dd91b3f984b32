#pragma once

#include <QSize>
#include <QWidget>

#include "platform/canvas/Canvas.h"

namespace symbols {

// Base of every symbol: a lightweight control that draws itself through the
// GDI-style canvas in its own pixel coordinates. It carries the integer Tag the
// console uses to tell devices apart, and reports clicks on its whole client
// rectangle. A symbol with a size rule (a pump's height follows its width)
// keeps it wherever its size changes.
class TGraphicControl : public QWidget {
    Q_OBJECT
    // The number of the device the symbol stands for, as the console sets it.
    Q_PROPERTY(int Tag READ Tag WRITE setTag)

public:
    explicit TGraphicControl(QWidget* parent = nullptr);

    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Draws the symbol (Draw) at the size its rule settled. paintEvent() calls
    // it with a canvas over a QPainter; tests call it with a recording canvas.
    virtual void Paint(platform::Canvas& canvas);

    // Request a redraw at the next paint cycle / redraw now.
    void Invalidate() { update(); }
    void Repaint() { repaint(); }

signals:
    void clicked();  // OnClick
    void changed();  // OnChange

protected:
    // The figure, in drawing order, at the current size.
    virtual void Draw(platform::Canvas& canvas) = 0;

    // The size the symbol takes when given `size`; without a rule, `size`.
    virtual QSize SizeFor(QSize size) const { return size; }
    // Applies the size rule to the current size: on every resize, and from the
    // setters of properties the rule depends on (a pipe's Diameter).
    void KeepSizeRule();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int tag_ = 0;
    bool pressed_ = false;
};

}  // namespace symbols
