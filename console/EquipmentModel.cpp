#include "console/EquipmentModel.h"

#include <QDateTime>

#include "plant/Plant.h"

namespace console {

namespace {

// Column headings; a line break where the heading takes two lines on screen.
const char* const kHeaders[EquipmentModel::ColumnCount] = {
    "№",
    "Устройство",
    "Наработка,\nч:мм:сс",
    "Пуски",
    "Полные\nходы",
    "Открыта,\n%",
    "Команд\nпринято",
    "Команд\nотклонено",
    "Неисправ-\nности",
    "В аварии,\nч:мм:сс",
    "Последнее\nизменение",
    "Состояние",
};

const char* const kToolTips[EquipmentModel::ColumnCount] = {
    "",
    "",
    "Время в работе, приводы",
    "Включения приводов",
    "Полные ходы задвижек: из одного крайнего положения в другое",
    "Доля времени периода, в которую задвижка открыта полностью",
    "Принятые команды управления",
    "Отклоненные команды управления",
    "Неисправности тренажера: отключения защитой и заклинивания",
    "Время в аварии: от неисправности до принятого сброса аварии",
    "Последнее изменение состояния до конца периода",
    "Состояние после последнего изменения",
};

// The state an entry changed to, in the journal's words.
QString StateName(const archive::StateSeen& seen, bool valve) {
    if (seen.kind == archive::Kind::TrainerFault) return "АВАРИЯ";
    switch (seen.detail) {
        case plant::kStateOpen:
            return valve ? "ОТКРЫТО" : "ВКЛЮЧЕНО";
        case plant::kStateIntermediate:
            return valve ? "ПРОМЕЖУТОЧНОЕ ПОЛОЖЕНИЕ" : "РАЗГОН";
        default:
            return valve ? "ЗАКРЫТО" : "ВЫКЛЮЧЕНО";
    }
}

}  // namespace

EquipmentModel::EquipmentModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), decimalSeparator_(decimalSeparator) {
    plant::Plant plant;
    plant::FillDefinitions(plant);
    for (int dev = 1; dev <= plant::kDeviceCount; ++dev) {
        names_ << QString::fromStdString(plant.Dev[dev].Name);
        archive::DeviceFigures& device = figures_.devices[static_cast<std::size_t>(dev - 1)];
        device.device = dev;
        device.valve = plant.Dev[dev].Kind == plant::kKindValve;
    }
}

void EquipmentModel::SetFigures(const archive::EquipmentFigures& figures) {
    beginResetModel();
    figures_ = figures;
    endResetModel();
}

int EquipmentModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : plant::kDeviceCount;
}

int EquipmentModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EquipmentModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= plant::kDeviceCount) return {};
    const archive::DeviceFigures& device = figures_.devices[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return Text(device, index.column());
        case kValueRole:
            return Value(device, index.column());
        case Qt::TextAlignmentRole:
            return index.column() == Name || index.column() == LastState
                       ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                       : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant EquipmentModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(kHeaders[section]);
    if (role == Qt::ToolTipRole) return QString::fromUtf8(kToolTips[section]);
    return {};
}

QString EquipmentModel::Heading(int column) {
    QString heading = QString::fromUtf8(kHeaders[column]);
    return heading.replace("-\n", "").replace('\n', ' ');
}

QString EquipmentModel::Duration(int64_t ms) {
    const int64_t seconds = (ms + 500) / 1000;
    return QString("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QChar('0'))
        .arg(seconds % 60, 2, 10, QChar('0'));
}

QVariant EquipmentModel::Value(const archive::DeviceFigures& device, int column) const {
    const bool drive = !device.valve;
    switch (column) {
        case Number:
            return device.device;
        case Name:
            return names_.value(device.device - 1);
        case Running:
            return drive ? qlonglong(device.runningMs) : qlonglong(-1);
        case Starts:
            return drive ? device.starts : -1;
        case Strokes:
            return drive ? -1 : device.strokes;
        case OpenShare:
            return drive ? -1.0 : figures_.OpenShare(device);
        case Taken:
            return device.commandsTaken;
        case Refused:
            return device.commandsRefused;
        case Faults:
            return device.faults;
        case Alarm:
            return qlonglong(device.alarmMs);
        case LastChange:
            return device.lastChange ? qlonglong(device.lastChange->utcMs) : qlonglong(-1);
        case LastState:
            return device.lastChange ? StateName(*device.lastChange, device.valve) : QString();
        default:
            return {};
    }
}

QString EquipmentModel::Text(const archive::DeviceFigures& device, int column) const {
    const QVariant value = Value(device, column);
    switch (column) {
        case Name:
        case LastState:
            return value.toString();
        case Running:
        case Alarm:
            return value.toLongLong() < 0 ? QString() : Duration(value.toLongLong());
        case OpenShare:
            return value.toDouble() < 0 ? QString()
                                        : QString::number(value.toDouble() * 100.0, 'f', 1)
                                              .replace('.', QChar(decimalSeparator_));
        case LastChange:
            return value.toLongLong() < 0 ? QString()
                                          : QDateTime::fromMSecsSinceEpoch(value.toLongLong())
                                                .toString("dd.MM.yyyy HH:mm:ss");
        default:
            return value.toLongLong() < 0 ? QString() : value.toString();
    }
}

}  // namespace console
