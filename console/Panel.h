#pragma once

#include <QLabel>
#include <cstdint>

#include "platform/canvas/Canvas.h"
#include "platform/core/Palette.h"

namespace console {

// A panel of the window: a coloured box with an optional bevel and a caption,
// able to hold other controls. It carries the Tag that click handlers use, a
// hint shown on hover only when ShowHint is on, and reports clicks.
class TPanel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    Q_PROPERTY(QString Hint READ Hint WRITE setHint)

public:
    enum class Bevel { None, Raised, Lowered };

    explicit TPanel(QWidget* parent = nullptr);

    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    platform::TColor Color() const { return color_; }
    void setColor(platform::TColor color);
    platform::TColor FontColor() const { return fontColor_; }
    void setFontColor(platform::TColor color);

    void setBevel(Bevel bevel, int width = 1);

    QString Hint() const { return hint_; }
    void setHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool show);

signals:
    void clicked();  // OnClick

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyHint();

    int tag_ = 0;
    platform::TColor color_ = palette::BtnFace;
    platform::TColor fontColor_ = palette::Black;
    QString hint_;
    bool showHint_ = false;
    bool pressed_ = false;
};

}  // namespace console
