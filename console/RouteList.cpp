#include "console/RouteList.h"

#include "plant/Plant.h"
#include "platform/MessageBoxes.h"

namespace console {

namespace {

// The captions come from the plant's route table.
constexpr Control Entry(const char* name, int y, int route) {
    return {.name = name,
            .kind = Kind::RouteEntry,
            .box = {229, y, 255, 17},
            .tag = route,
            .hint = "Маршрут остановлен"};
}

constexpr Control kLayout[] = {
    {"Label45", Kind::Label, {277, 80, 0, 0}, "Маршруты движения зерна", Look().Bold()},
    Entry("Route1", 96, 1),
    Entry("Route2", 113, 2),
    Entry("Route3", 130, 3),
    Entry("Route4", 147, 4),
    Entry("Route5", 164, 5),
    Entry("Route6", 181, 6),
    Entry("Route7", 198, 7),
    Entry("Route8", 215, 8),
    Entry("Route9", 232, 9),
    Entry("Route10", 249, 10),
    Entry("Route11", 266, 11),
    Entry("Route12", 283, 12),
};

const std::string kQuestionTitle = "Запуск маршрута";

std::string StartQuestion(const std::string& caption) {
    return "Вы действительно хотите запустить маршрут\r№" + caption + "?" + "\r" + "\r" +
           "ВНИМАНИЕ !" + "\r" + "Убедитесь, что все устройства входящие в маршрут находятся в" +
           "\r" + "дистанционном режиме управления." + "\r" +
           "В демонстрационной версии программы проверка готовности оборудования" + "\r" +
           "перед запуском маршрута не производится.";
}

std::string StopQuestion(const std::string& caption) {
    return "Вы действительно хотите остановить маршрут\r№" + caption + "?";
}

}  // namespace

RouteList::RouteList(QWidget& page, plant::Plant& plant, platform::MessageBoxes& messages)
    : plant_(plant), messages_(messages) {
    const Controls made = BuildControls(page, Layout());
    for (const Control& row : Layout()) {
        if (row.kind != Kind::RouteEntry) continue;
        auto* entry = qobject_cast<TPanel*>(made.value(row.name));
        entry->setText(QString::fromStdString(plant::RouteCaption(row.tag)));
    }
}

std::span<const Control> RouteList::Layout() {
    return kLayout;
}

void RouteList::Click(const TPanel& entry) {
    const int r = entry.Tag();
    if (!plant_.Route.Contains(r)) return;

    const plant::TRoute& route = plant_.Route[r];
    if (!route.Permitted) return;
    const int32_t askedState = route.State;
    if (askedState != plant::kRouteStopped && askedState != plant::kRouteRunning) return;

    const std::string caption = entry.text().trimmed().toStdString();
    const bool start = askedState == plant::kRouteStopped;
    const platform::MsgResult answer =
        messages_.Show(kQuestionTitle, start ? StartQuestion(caption) : StopQuestion(caption),
                       platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    if (answer != platform::MsgResult::Yes) return;

    // The controller ran on while the question was open: the route may have
    // changed state or been forbidden by another route meanwhile. Posting the
    // command then could run two conflicting routes on shared devices, so the
    // answer counts only for the situation it was asked about.
    plant::TRoute& now = plant_.Route[r];
    if (now.State != askedState || !now.Permitted) return;
    now.Command = start ? plant::kRouteCmdStart : plant::kRouteCmdStop;
}

}  // namespace console
