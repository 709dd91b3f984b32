// The silo information page: one table of the four silos' product, filling,
// mass, level zone and errors, and the total stock below it.
#include <QLabel>
#include <array>

#include "console/MainFrm.h"
#include "console/MainFrmControls.h"
#include "console/Panel.h"
#include "console/Shape.h"
#include "symbols/SCADAType.h"
#include "symbols/Silo.h"

namespace console {

namespace {

constexpr platform::TColor kNavy = 0x800000;
constexpr platform::TColor kTableTitle = 0xA00000;
constexpr platform::TColor kTableTitleBack = 0xE2E1D6;

// Table geometry inside Panel1: a label column, then one column per silo.
constexpr int kLabelX = 110, kLabelWidth = 130;
constexpr int kColumnX = 242, kColumnWidth = 57, kColumnStep = 58;

struct Row {
    const char* label;
    const char* caption;
    int y, height;
    // Cell names: a prefix with the silo number, or the first of four numbered labels.
    const char* cellPrefix;
    int firstNumber;
    const char* initial;
};

constexpr std::array<Row, 5> kRows = {{
    {"Label24", "Продукт", 84, 32, "Label", 25, "Пшеница\nфуражная"},
    {"Label10", "Заполнение, %", 118, 24, "FillingR", 1, "0.0"},
    {"Label12", "Масса, т", 144, 24, "MassaR", 1, "0.0"},
    {"Label13", "Сигнальный уровень", 170, 24, "IndR", 1, "НОРМА"},
    {"Label14", "Ошибки", 196, 24, "Label", 56, "Ok"},
}};

}  // namespace

void TFrmMain::BuildPanelTanks() {
    QWidget* page = PanelTanks;
    AddLabel(page, "Label7", "Информация по силосам", QRect(2, 2, page->width() - 4, 20),
             TextLook().Size(13).Bold().Font(kNavy).Back(0xBEC47D).Centre());

    TPanel* table = AddPanel(page, "Panel1", "", QRect(267, 110, 482, 281));
    table->setBevel(TPanel::Bevel::Lowered);
    AddLabel(
        table, "Label8", "Силосный парк", QRect(2, 2, 478, 20),
        TextLook().Size(13).Bold().Font(kTableTitle).Back(kTableTitleBack).Centre().Underline());

    auto* silo = new symbols::TSilo(table);
    silo->setObjectName("Silo9");
    silo->setGeometry(22, 92, 65, 73);
    silo->setCover(20);
    silo->setColor(symbols::clBlack);

    // Column headings.
    const TextLook heading = TextLook().Bold().Back(symbols::clSilver).Centre();
    AddLabel(table, "Label15", "Силосы", QRect(kColumnX, 36, 4 * kColumnStep - 1, 20), heading);
    for (int n = 1; n <= 4; ++n) {
        AddLabel(table, QString("Label%1").arg(15 + n).toLatin1().constData(),
                 QString("№%1").arg(n),
                 QRect(kColumnX + (n - 1) * kColumnStep, 58, kColumnWidth, 24), heading);
    }

    // Rows: the label on the left, one white cell per silo.
    for (const Row& row : kRows) {
        AddLabel(table, row.label, row.caption, QRect(kLabelX, row.y, kLabelWidth, row.height),
                 TextLook().Bold().Back(symbols::clSilver).Centre());
        for (int n = 1; n <= 4; ++n) {
            const QString name = QString("%1%2").arg(row.cellPrefix).arg(row.firstNumber + n - 1);
            AddLabel(table, name.toLatin1().constData(), row.initial,
                     QRect(kColumnX + (n - 1) * kColumnStep, row.y, kColumnWidth, row.height),
                     TextLook().Back(symbols::clWhite).Centre());
        }
    }
    auto* grid = new TShape(TShape::Kind::Rectangle, table);
    grid->setObjectName("Shape9");
    grid->setGeometry(kLabelX - 2, 34, kColumnX + 4 * kColumnStep - kLabelX + 3, 188);
    grid->setPen(0x808080);
    grid->setNoBrush();
    grid->lower();

    AddLabel(page, "Label33", "Всего зерна, м.т", QRect(400, 400, 140, 20),
             TextLook().Size(13).Bold().Align(Qt::AlignRight | Qt::AlignVCenter));
    AddLabel(
        page, "Sum1_4", "0.0", QRect(548, 400, 100, 20),
        TextLook().Size(13).Bold().Back(symbols::clWhite).Align(Qt::AlignRight | Qt::AlignVCenter));
}

}  // namespace console
