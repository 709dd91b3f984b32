#pragma once

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "platform/canvas/Canvas.h"

class QTimer;

namespace platform {
class QtImage;
}

namespace symbols {

// Horizontal placement of each line of a title panel.
enum class TAlignment : uint8_t { paCenter, paLeft, paRight };

// Look of a panel bevel.
enum class TBevelCut : uint8_t { bvNone, bvLowered, bvRaised };

// A panel that, on request, rolls its lines through its inner area like film
// credits: one pass from one blank view to the next, then done() and back to
// an ordinary panel. The whole text is drawn once into an off-screen image at
// the start of the pass; each tick moves the view 3 pixels over that image and
// repaints only the inner area, as one block copy.
class TTitle : public QWidget {
    Q_OBJECT
    // False: the text moves up; true: down. Read at the start and on every tick.
    Q_PROPERTY(bool ScrollDown READ ScrollDown WRITE setScrollDown)
    // Placement of each line; takes effect at the next pass.
    Q_PROPERTY(symbols::TAlignment Alignment READ Alignment WRITE setAlignment)
    // The lines, copied in; a running pass keeps its image.
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    // Tick length in milliseconds.
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    // The panel: outer and inner bevel, bevel width, face colour.
    Q_PROPERTY(symbols::TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(symbols::TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)

public:
    explicit TTitle(QWidget* parent = nullptr);
    // A running pass ends here, raising done().
    ~TTitle() override;

    bool ScrollDown() const { return scrollDown_; }
    void setScrollDown(bool down);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment alignment);
    const QStringList& Items() const { return items_; }
    void setItems(const QStringList& items);
    int Interval() const { return interval_; }
    void setInterval(int ms);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void setBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    platform::TColor Color() const { return color_; }
    void setColor(platform::TColor color);
    // The lines' font, colour included.
    const platform::FontSpec& Font() const { return font_; }
    void setFont(const platform::FontSpec& font);
    using QWidget::setFont;

    // Starts a pass (when idle and there is at least one line) or ends it
    // (when running). Anything else does nothing.
    void Scroll(bool active);

    bool Running() const { return running_; }
    // Geometry of the pass under way (of the last one once it has ended).
    int ScrollPos() const { return scrollPos_; }
    int LineHeight() const { return lineHeight_; }
    platform::Rect ViewRect() const { return viewRect_; }
    platform::Rect ImageRect() const { return imageRect_; }
    // The off-screen image of the pass; null while idle.
    const platform::Image* ScrollImage() const;
    const QTimer& ScrollTimer() const { return *scrollTimer_; }

    // While running, the block of the image at ScrollPos; otherwise the panel.
    void Paint(platform::Canvas& canvas);

public slots:
    // One step of the pass: 3 pixels, then a repaint of the inner area.
    void ScrollTimerTick();

signals:
    void done();  // OnDone: once per pass, however it ends

protected:
    // Measures the lines and draws the whole pass into the image.
    virtual void PrepareImage();
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();
    void paintPanel(platform::Canvas& canvas) const;
    static void drawBevel(platform::Canvas& canvas, platform::Rect& rect, TBevelCut cut, int width);

    std::unique_ptr<platform::QtImage> scrollImage_;
    platform::Rect viewRect_;
    QStringList items_;
    TAlignment alignment_ = TAlignment::paCenter;
    bool scrollDown_ = false;
    int lineHeight_ = 0;
    int scrollPos_ = 0;
    platform::Rect imageRect_;
    QTimer* scrollTimer_;
    int interval_ = 50;
    bool running_ = false;
    // Lines of the pass under way: the end test follows the image, not later edits.
    int passLines_ = 0;

    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 3;
    platform::TColor color_ = platform::kBtnFace;
    platform::FontSpec font_;
};

}  // namespace symbols
