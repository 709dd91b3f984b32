#pragma once

#include <QString>
#include <QWidget>
#include <initializer_list>
#include <vector>

class QLabel;

namespace console {

// The status bar along the bottom of the window: sunken text panels of fixed
// widths, left to right.
class TStatusBar : public QWidget {
    Q_OBJECT

public:
    struct PanelSpec {
        QString text;
        int width;
    };

    TStatusBar(std::initializer_list<PanelSpec> panels, QWidget* parent = nullptr);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int index) const;
    void setPanelText(int index, const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<QLabel*> panels_;
};

}  // namespace console
