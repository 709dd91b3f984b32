#include "archive/Names.h"

#include "plant/Plant.h"

namespace archive {

std::string_view KindName(Kind kind) {
    switch (kind) {
        case Kind::CommandTaken:
            return "Команда принята";
        case Kind::CommandRefused:
            return "Команда отклонена";
        case Kind::StateChange:
            return "Изменение состояния";
        case Kind::RouteEvent:
            return "Маршрут";
        case Kind::SiloZone:
            return "Уровень в силосе";
        case Kind::TemperatureAlarm:
            return "Температура в силосе";
        case Kind::Wagon:
            return "Вагоны";
        case Kind::TrainerFault:
            return "Неисправность";
        case Kind::ModbusClient:
            return "Клиент Modbus";
        case Kind::System:
            break;
    }
    return "Система";
}

std::string SubjectName(Subject subject) {
    if (subject.IsDevice()) {
        static const plant::Plant named = [] {
            plant::Plant plant;
            plant::FillDefinitions(plant);
            return plant;
        }();
        return named.Dev[subject.Number()].Name;
    }
    if (subject.IsRoute()) return "Маршрут №" + std::to_string(subject.Number());
    if (subject.IsSilo()) return "Силос №" + std::to_string(subject.Number());
    return {};
}

std::string_view ColourName(plant::JournalColour colour) {
    switch (colour) {
        case plant::JournalColour::Red:
            return "красный";
        case plant::JournalColour::Blue:
            return "синий";
        case plant::JournalColour::Default:
            break;
    }
    return "обычный";
}

}  // namespace archive
