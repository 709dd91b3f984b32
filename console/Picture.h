#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

namespace console {

// A picture from the program's resources, stretched to the control. A picture
// that cannot be loaded shows nothing.
class TPicture : public QWidget {
    Q_OBJECT

public:
    TPicture(const QString& resource, QWidget* parent = nullptr);

    bool Loaded() const { return renderer_.isValid(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer renderer_;
    // The picture drawn once at the control's size; repaints copy it.
    QPixmap cache_;
};

}  // namespace console
