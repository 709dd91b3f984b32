#include "plant/JournalTexts.h"

#include "plant/Plant.h"

namespace plant {

namespace {

constexpr const char* kBreak = "\r\t";

// " " + name + heading + CR TAB + event.
std::string DeviceEntry(const std::string& name, const char* heading, const std::string& event) {
    std::string body;
    body.reserve(name.size() + event.size() + 64);
    body += ' ';
    body += name;
    body += heading;
    body += kBreak;
    body += event;
    return body;
}

std::string Quoted(const char* word) {
    return std::string("\"") + word + "\"";
}

const char* CommandWord(int32_t kind, int32_t command) {
    const bool valve = kind == kKindValve;
    switch (command) {
        case kCmdOpen:
            return valve ? "ОТКРЫТЬ" : "ВКЛЮЧИТЬ";
        case kCmdClose:
            return valve ? "ЗАКРЫТЬ" : "ВЫКЛЮЧИТЬ";
        case kCmdStop:
            return "ОСТАНОВИТЬ";
        case kCmdReset:
            return "СБРОСИТЬ ФЛАГ АВАРИИ";
        case kCmdLocal:
            return "Установить МЕСТНЫЙ режим управления";
        case kCmdRemote:
            return "Установить ДИСТАНЦИОННЫЙ режим\r\tуправления";
        case kCmdAuto:
            return "Установить АВТОМАТИЧЕСКИЙ режим\r\tуправления";
        case kCmdRepair:
            return "Установить РЕМОНТНЫЙ режим";
        default:
            return "";
    }
}

}  // namespace

std::string StateChangeText(const std::string& name, DeviceEvent event) {
    const char* word = "";
    switch (event) {
        case DeviceEvent::Opened:
            word = "ОТКРЫТО";
            break;
        case DeviceEvent::Intermediate:
            word = "ПРОМЕЖУТОЧНОЕ ПОЛОЖЕНИЕ";
            break;
        case DeviceEvent::Closed:
            word = "ЗАКРЫТО";
            break;
        case DeviceEvent::SwitchedOn:
            word = "ВКЛЮЧЕНО";
            break;
        case DeviceEvent::SwitchedOff:
            word = "ВЫКЛЮЧЕНО";
            break;
        case DeviceEvent::Fault:
            word = "АВАРИЯ";
            break;
        case DeviceEvent::FaultCleared:
            word = "НЕИСПРАВНОСТЬ УСТРАНЕНА";
            break;
    }
    return DeviceEntry(name, " Изменение состояния - ", Quoted(word));
}

std::string CommandReceivedText(const std::string& name, int32_t kind, int32_t command) {
    return DeviceEntry(name, " Получена команда - ", Quoted(CommandWord(kind, command)));
}

std::string ModeSetText(const std::string& name, int32_t mode) {
    switch (mode) {
        case kModeLocal:
            return DeviceEntry(name, " Установлен ", "МЕСТНЫЙ режим управления");
        case kModeRemote:
            return DeviceEntry(name, " Установлен", "ДИСТАНЦИОННЫЙ режим управления");
        case kModeAuto:
            return DeviceEntry(name, " Установлен", "АВТОМАТИЧЕСКИЙ режим управления");
        default:
            return DeviceEntry(name, " Установлен", "РЕМОНТНЫЙ режим");
    }
}

std::string RefusalText(const std::string& name, int32_t mode) {
    switch (mode) {
        case kModeLocal:
            return DeviceEntry(name, " Команда управления ",
                               "отклонена - устройство в местном режиме\r\tуправления");
        case kModeAuto:
            return DeviceEntry(name, " Команда управления",
                               "отклонена - устройство в автоматическом\r\tрежиме управления");
        default:
            return DeviceEntry(name, " Команда управления",
                               "отклонена - устройство в ремонтном\r\tрежиме");
    }
}

std::string FaultRefusalText(const std::string& name, FaultRefusal what) {
    if (what == FaultRefusal::SwitchOn) {
        return DeviceEntry(name, " Команда управления",
                           "отклонена - устройство в аварийном\r\tсостоянии");
    }
    return DeviceEntry(name, " Команда управления", "отклонена - неисправность не\r\tустранена");
}

std::string FaultErrorText(int32_t fault) {
    switch (fault) {
        case kFaultTrip:
            return "Авария: отключение привода";
        case kFaultJam:
            return "Авария: заклинивание";
        default:
            return "";
    }
}

std::string RouteCommandText(int route, bool start) {
    return std::string(" Технологическое событие \r\t") +
           (start ? " Получена команда на запуск" : " Получена команда на останов") +
           "\r\tмаршрута №" + std::to_string(route);
}

std::string RouteResultText(int route, bool started) {
    return " Технологическое событие \r\t Маршрут №" + std::to_string(route) +
           (started ? " запущен" : " остановлен");
}

std::string RouteStartRefusedText(int route) {
    return " Технологическое событие \r\t Запуск маршрута №" + std::to_string(route) +
           " отклонен -\r\tмаршрут запрещен";
}

std::string RouteFaultStopText(int route, const std::string& name) {
    return " Технологическое событие \r\t Аварийный останов маршрута №" + std::to_string(route) +
           " -\r\tавария: " + name;
}

std::string LevelZoneText(int silo, LevelZone zone) {
    const char* text = "";
    switch (zone) {
        case LevelZone::UpperAlarm:
            text = " Параметр вошел в верхнюю аварийную зону";
            break;
        case LevelZone::Maximum:
            text = " Параметр вошел в зону максимума";
            break;
        case LevelZone::Working:
            text = " Параметр вошел в рабочую зону";
            break;
        case LevelZone::Minimum:
            text = " Параметр вошел в зону минимума";
            break;
        case LevelZone::LowerAlarm:
            text = " Параметр вошел в нижнюю аварийную зону";
            break;
    }
    return " Уровень в силосе №" + std::to_string(silo) + " -\r\t" + text;
}

}  // namespace plant
