#pragma once

#include <QWidget>

#include "platform/canvas/Canvas.h"

namespace symbols {

// Base of every symbol: a lightweight control that draws itself through the
// GDI-style canvas in its own pixel coordinates. It carries the integer Tag the
// console uses to tell devices apart, and reports clicks on its whole client
// rectangle.
class TGraphicControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE setTag)

public:
    explicit TGraphicControl(QWidget* parent = nullptr);

    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Draws the symbol. paintEvent() calls it with a canvas over a QPainter;
    // tests call it with a recording canvas.
    virtual void Paint(platform::Canvas& canvas) = 0;

    // Request a redraw at the next paint cycle / redraw now.
    void Invalidate() { update(); }
    void Repaint() { repaint(); }

    // True while the symbol is edited in a form designer; never in the console.
    bool Designing() const { return false; }

signals:
    void clicked();  // OnClick
    void changed();  // OnChange

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Size rules applied at paint time; unchanged sizes do nothing.
    void SetWidth(int w);
    void SetHeight(int h);

private:
    int tag_ = 0;
    bool pressed_ = false;
};

}  // namespace symbols
