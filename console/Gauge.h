#pragma once

#include <QWidget>

namespace console {

// A vertical bar gauge without text: a blue bar rising from the bottom over a
// white ground, Progress 0..100 percent.
class TGauge : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Progress READ Progress WRITE setProgress)

public:
    explicit TGauge(QWidget* parent = nullptr);

    int Progress() const { return progress_; }
    void setProgress(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int progress_ = 0;
};

}  // namespace console
