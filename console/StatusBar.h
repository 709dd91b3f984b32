#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QLabel;

namespace console {

// The status bar along the bottom of the window: sunken text panels of fixed
// widths, left to right.
class TStatusBar : public QWidget {
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // A panel of `width` (its gap to the next included) right of the others.
    void AddPanel(const QString& text, int width);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int index) const;
    void setPanelText(int index, const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<QLabel*> panels_;
    int nextX_ = 0;
};

}  // namespace console
