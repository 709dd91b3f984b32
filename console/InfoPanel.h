#pragma once

#include <QObject>
#include <memory>
#include <span>

#include "console/ArchiveViewServices.h"
#include "console/Layout.h"
#include "console/Services.h"

namespace platform {
class MessageBoxes;
}

namespace console {

class EquipmentWindow;
class TrendWindow;

// The left section of the lower band, "Окно информации": the alarm board
// (fire, silo temperature, emergency stop; grey while inactive), the buttons
// that switch between the diagram and the silo page, and the two block
// buttons, which open the trend and equipment windows over the event archive
// while it is on. Its buttons are wired to its handlers here; the wagon timer
// recolours the temperature line, the controller the emergency stop line.
class InfoPanel : public QObject {
    Q_OBJECT

public:
    // `diagram` and `silos` are the two upper pages the buttons switch between.
    InfoPanel(QWidget& section, const RegionServices& services, QWidget& diagram, QWidget& silos,
              const ArchiveServices& archive);
    ~InfoPanel() override;

    static std::span<const Control> Layout();

public slots:
    // "Силосы": the silo page instead of the diagram.
    void BtnSilosDetailClick();
    // "Визуализация": the diagram instead of the silo page.
    void BtnVisualizationClick();
    // "Силосный парк": the trend window beside the console (raised when it
    // shows already); while the archive is off, the not-available notice.
    void BtnBlockSilosClick();
    // "Трансп. оборудование": the equipment window, likewise.
    void BtnBlockMoveClick();
    // Blocking the console blocks both windows too.
    void SetBlocked(bool blocked);

private:
    ArchiveViewServices ViewServices() const;

    QWidget& section_;
    platform::MessageBoxes& messages_;
    QWidget& diagram_;
    QWidget& silos_;
    ArchiveServices archive_;
    char decimalSeparator_;
    bool blocked_ = false;
    std::unique_ptr<TrendWindow> trendWindow_;
    std::unique_ptr<EquipmentWindow> equipmentWindow_;
};

}  // namespace console
