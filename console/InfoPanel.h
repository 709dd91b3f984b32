#pragma once

#include <QObject>
#include <span>

#include "console/Layout.h"

namespace platform {
class MessageBoxes;
}

namespace console {

struct RegionServices;

// The left section of the lower band, "Окно информации": the alarm board
// (fire, silo temperature, emergency stop; grey while inactive), the buttons
// that switch between the diagram and the silo page, and the two block
// buttons. Its buttons are wired to its handlers here; the wagon timer
// recolours the temperature line, the controller the emergency stop line.
class InfoPanel : public QObject {
    Q_OBJECT

public:
    // `diagram` and `silos` are the two upper pages the buttons switch between.
    InfoPanel(QWidget& section, const RegionServices& services, QWidget& diagram, QWidget& silos);

    static std::span<const Control> Layout();

public slots:
    // "Силосы": the silo page instead of the diagram.
    void BtnSilosDetailClick();
    // "Визуализация": the diagram instead of the silo page.
    void BtnVisualizationClick();
    // "Силосный парк", "Трансп. оборудование": not in the demonstration.
    void BtnNotWorklClick();

private:
    platform::MessageBoxes& messages_;
    QWidget& diagram_;
    QWidget& silos_;
};

}  // namespace console
